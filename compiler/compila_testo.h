#ifndef SB_COMPILER_COMPILA_TESTO_H_
#define SB_COMPILER_COMPILA_TESTO_H_

// The compile on text: the bytes of the line source and of the train source
// (either may be missing or unreadable) through the reading and finishing
// stages, with no file opened, read, written or deleted. It leaves the
// working tables as the builder's compile leaves them before it writes its
// files, `codice_errore` and `posizione_errore` as it records them, and, when
// a Registro hangs on the tables, the account of the compile. The tables'
// `nome_scenario` and `numero_treno` are set by the caller.
//
// Whoever wants the files encodes the finished tables with the output
// stage's encoders (compiler/uscita/).

#include <cstdint>

#include "compiler/esito_compilazione.h"
#include "compiler/sorgente_testo.h"
#include "compiler/tabelle.h"

// `j` non-zero builds the plan of the line (and the line table with it).
EsitoCompilazione compila_testo(Tabelle& t, const SorgenteTesto& linea, const SorgenteTesto& treno,
                                int32_t j);

// What every compile does first: clears the station table, the grid and the
// line table (keeping the table's memory for the next line read), and the
// recorded code.
void prepara_tabelle(Tabelle& t, int32_t j);

// The finishing stage over tables the reading has filled: kFallimento when
// there is no grid, kErroreFatale when a header check fails.
EsitoCompilazione finisci_tabelle(Tabelle& t);

#endif  // SB_COMPILER_COMPILA_TESTO_H_
