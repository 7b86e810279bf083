#ifndef SB_COMPILER_FINITURA_MINIMO_H_
#define SB_COMPILER_FINITURA_MINIMO_H_

#include "compiler/valore.h"

// The smaller of two values by numeric comparison; x on equality.
valore minimo(const valore& x, const valore& y);

#endif  // SB_COMPILER_FINITURA_MINIMO_H_
