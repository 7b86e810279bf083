#ifndef SB_COMPILER_FINITURA_CODICE_GARA_H_
#define SB_COMPILER_FINITURA_CODICE_GARA_H_

#include "compiler/tabelle.h"
#include "compiler/valore.h"

// Competition codes: two checksums of the scenario's identity that tie the
// compiled files to it. Both build in `riga` the code text (the train number
// of entry 86 and the scenario name of entry 85, in lower case, followed by
// a fixed padding) and sum the byte values of its first 25 characters.

// The position-weighted sum (character i counts i times), 0 to 82875, held
// as a whole number in a double since it exceeds the 16-bit integer.
valore codice_gara_st(Tabelle& t);

// The plain sum, 0 to 6375, as a 16-bit integer.
valore codice_gara_og(Tabelle& t);

#endif  // SB_COMPILER_FINITURA_CODICE_GARA_H_
