#ifndef SB_TOOL_ANTEPRIMA_PROVENIENZE_H_
#define SB_TOOL_ANTEPRIMA_PROVENIENZE_H_

// The rows of an author's sources that placed what a compile holds, read
// from the account the compile kept (the same account `check` reports
// from): the row of each cell's feature, the row whose value each cell's
// speed limit, gradient, adhesion and tunnel style came from, and the row of
// each station, text board and kilometre change.

#include "tool/diagnosi/analisi.h"
#include "tool/ispezione/elementi.h"

Provenienze provenienze(const Analisi &a);

#endif  // SB_TOOL_ANTEPRIMA_PROVENIENZE_H_
