#include "compiler/lettura/memorizza_dati.h"

void memorizza_dati(Tabelle& t, const Ambiente& a) {
  int32_t indice_cartello = 80;
  if (leggi_sorgente_linea(t, a, &indice_cartello)) leggi_sorgente_treno(t, a, indice_cartello);
}
