#ifndef SB_COMPILER_FINITURA_FINITURA_H_
#define SB_COMPILER_FINITURA_FINITURA_H_

#include <cstdint>

#include "compiler/tabelle.h"

// The finishing stage. Receives the grid and station table as the readers
// and the placement left them; runs the finishing sweep (cuts of the signal
// code around slow-downs, conflicts recorded as 11 to 13), then checks that
// the two header slots (cell 1 and station entry 85) are still free and
// stamps them with the header values and the two competition codes.
//
// REQUIRES: the grid has at least its two header cells.
// Returns 0 when the grid is finished and stamped, or the number of the
// failed header check (1250 or 1251), which is fatal: the grid is then not
// to be written.
int32_t finisci_griglia(Tabelle& t);

#endif  // SB_COMPILER_FINITURA_FINITURA_H_
