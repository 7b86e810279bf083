#ifndef SB_TOOL_DIAGNOSI_CONTROLLI_H_
#define SB_TOOL_DIAGNOSI_CONTROLLI_H_

// Checks for the mistakes the compile takes without a code: it compiles
// something, but not what the author most likely meant. Each adds warnings
// to `out` (never an error: the compile and its codes stay as they are),
// at the row responsible, saying what the compile does, what the author
// likely meant and what is lost; fix-its where the fix is mechanical.

#include <string>
#include <vector>

#include "tool/diagnosi/contesto.h"
#include "tool/diagnosi/diagnostica.h"

// controlli_ordine.cc: rows whose effect depends on their order along the
// line (gradients, speed limits, adhesion, curves) written out of order or
// on one cell, and curves that overlap the one before.
void controlli_ordine(const Contesto& c, std::vector<Diagnostica>* out);

// controlli_posizioni.cc: features in the run-out after the line's end,
// slow-downs with a negative length or with start and end on one cell,
// slow-downs with another's end inside them, and station stops that
// overwrite a feature placed before them.
void controlli_posizioni(const Contesto& c, std::vector<Diagnostica>* out);

// controlli_testi.cc: text fields with bytes that are not Windows-1252 text
// or that look like UTF-8, a comma inside a board text or a station name,
// a curve keyword whose side or sharpness is not what its words say.
void controlli_testi(const Contesto& c, std::vector<Diagnostica>* out);

// controlli_testi.cc: a keyword field made a comment by a hyphen inside it
// ("cartello-indicatore"). Each warning explains its whole line: the fields
// after the keyword are read as rows of their own, and what other warnings
// say of them follows from it.
void controllo_trattini(const Contesto& c, std::vector<Diagnostica>* out);

// controlli_testi.cc: the scenario name the train source's file name gives
// when it differs from `nome`, the name the files are compiled under.
void controllo_nomi(const Contesto& c, const std::string& nome, std::vector<Diagnostica>* out);

// controlli_numeri.cc: the warning for field i of source s, which is not a
// number and reads as 0, naming what the row then compiles; `riga` is the
// row whose handlers read it, if any.
Diagnostica avviso_numero(const Contesto& c, Sorgente s, size_t i, const RigaLetta* riga);

#endif  // SB_TOOL_DIAGNOSI_CONTROLLI_H_
