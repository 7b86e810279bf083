#include "compiler/finitura/minimo.h"

valore minimo(const valore& x, const valore& y) { return x.numero() > y.numero() ? y : x; }
