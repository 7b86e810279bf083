#ifndef SB_COMPILER_LETTURA_MEMORIZZA_DATI_H_
#define SB_COMPILER_LETTURA_MEMORIZZA_DATI_H_

// The reading stage. Receives the working tables with an empty station table
// and no grid, and the two source texts in the scenario's directory. Leaves
// the track grid `percorso` and the plan of the line `tabella_linea` created
// by the line source's length row, every feature of both sources placed on
// the grid (through the placement stage) or in `stazioni`, the tunnel lists
// filled, and the first problem met recorded in `codice_errore` and
// `posizione_errore`. Both sources are deleted once read.

#include <cstdint>

#include "compiler/ambiente.h"
#include "compiler/tabelle.h"

// Reads the line source and then the train source into the working tables,
// deleting each source once read. Problems are recorded in `codice_errore`
// and `posizione_errore`; nothing is returned.
void memorizza_dati(Tabelle& t, const Ambiente& a);

// The line half. Returns true when the train half is to follow (a normal
// end, or code 15); `*indice_cartello` then holds the index of the lowest
// text board minus one.
bool leggi_sorgente_linea(Tabelle& t, const Ambiente& a, int32_t* indice_cartello);

// The train half, ending with the check of the kilometre changes.
void leggi_sorgente_treno(Tabelle& t, const Ambiente& a, int32_t indice_cartello);

#endif  // SB_COMPILER_LETTURA_MEMORIZZA_DATI_H_
