#ifndef SB_COMPILER_FINITURA_PASSATA_FINALE_H_
#define SB_COMPILER_FINITURA_PASSATA_FINALE_H_

#include "compiler/tabelle.h"

// The finishing sweep over the track grid: puts cuts of the signal code
// (value 180) in front of signals behind a slow-down's warning board, behind
// every slow-down start, every 400 m along slow slow-downs and in front of
// the first signal after a slow-down's end. Conflicts are recorded as 11, 12
// or 13 and the sweep goes on. Does nothing without a grid.
void passata_finale(Tabelle& t);

#endif  // SB_COMPILER_FINITURA_PASSATA_FINALE_H_
