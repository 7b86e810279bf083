#include "compiler/memorizza_dati.h"

bool leggi_sorgente_linea(Tabelle&, const Ambiente&, int32_t*) { return false; }
