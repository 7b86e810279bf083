#include "compiler/memorizza_dati.h"

void leggi_sorgente_treno(Tabelle&, const Ambiente&, int32_t) {}
