#ifndef SB_COMPILER_FINITURA_H_
#define SB_COMPILER_FINITURA_H_

#include "compiler/ambiente.h"
#include "compiler/memorizza_percorso.h"
#include "compiler/tabelle.h"

// Everything the driver does once the sources are read: the finishing sweep,
// the two header checks, the header values and competition codes, and the
// output files. Fails without writing anything when there is no grid.
EsitoCompilazione finisci_percorso(Tabelle& t, const Ambiente& a);

#endif  // SB_COMPILER_FINITURA_H_
