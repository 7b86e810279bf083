#ifndef SB_COMPILER_MEMORIZZA_PERCORSO_H_
#define SB_COMPILER_MEMORIZZA_PERCORSO_H_

// The builder's compile, from files. A compile runs four stages over the
// working tables, each in its own folder: lettura/ reads the two source
// texts (placing every feature through posa/), finitura/ sweeps, checks and
// stamps the grid, and uscita/ encodes and writes the three files. The
// stages themselves touch no file (see compila_testo.h for the compile on
// text); this driver does the file work between them, in the order a run
// requires: it reads each source, deletes it once its half has read it,
// and writes the line table (when j is non-zero), the station table and
// the grid next to the executable.

#include <cstdint>

#include "compiler/ambiente.h"
#include "compiler/esito_compilazione.h"
#include "compiler/tabelle.h"
#include "platform/status.h"

EsitoCompilazione memorizza_percorso(Tabelle& t, const Ambiente& a, int32_t& j);

// The two halves of the reading with their file work, as memorizza_percorso
// runs them; `*guasto` keeps the first file operation that failed. The line
// half returns true when the train half is to follow, and leaves in
// `*indice_cartello` the entry of the lowest text board minus one.
bool leggi_sorgente_linea(Tabelle& t, const Ambiente& a, int32_t* indice_cartello,
                          Status* guasto = nullptr);
void leggi_sorgente_treno(Tabelle& t, const Ambiente& a, int32_t indice_cartello,
                          Status* guasto = nullptr);

// Everything the driver does once the sources are read: the finishing stage
// and the output files. Fails without writing anything when there is no grid,
// naming `guasto` (the first file that failed while reading) when there is one.
EsitoCompilazione finisci_percorso(Tabelle& t, const Ambiente& a,
                                   const Status& guasto = Status::Ok());

#endif  // SB_COMPILER_MEMORIZZA_PERCORSO_H_
