#ifndef SB_TOOL_LSP_RIGHE_H_
#define SB_TOOL_LSP_RIGHE_H_

// A source's rows as an author sees them in the editor: one line, its
// fields between commas, the first naming the kind of row. The readers
// see a stream of fields that may run on from one line to the next; the
// editor's answers (hover, outline, hints) speak of the line under the
// cursor, and this is how they cut it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/tabelle.h"

struct CampoTesto {
  size_t inizio = 0, fine = 0;  // blanks around left out
};

struct RigaTesto {
  size_t inizio = 0;  // first byte of the line
  size_t fine = 0;    // its end, before the line end
  std::vector<CampoTesto> campi;
  int campo = -1;  // the field the offset falls in, -1 for none
};

// The line holding byte `o` of `t`, cut into fields as the field reader
// cuts them: at commas, a quoted text running to its quote.
RigaTesto riga_a(std::string_view t, size_t o);

// The text of field `i` of `r` (empty past the last).
std::string_view campo_di(std::string_view t, const RigaTesto& r, size_t i);

// The kind of row keyword field `campo` names in source `sorgente` (0 the
// line, 1 the train), or null.
const RigaFormato* formato_riga(std::string_view campo, int sorgente);

// Whether a field of unit "m" is a position along the line (rather than a
// length or a kilometre marking).
bool e_posizione(const CampoFormato& c);

// The cell the compile puts a row of kind `tipo` at position p on: the
// signs and boards stand one cell on.
int64_t cella_posizione(TipoRiga tipo, int64_t p);

// The kilometre marking at position p ("13.80"), with the line's kilometre
// changes as the compile left them in `t`.
std::string km(const Tabelle& t, int64_t p);

// Whether a line of a source (without its line end) is a section marker
// ("[curve]") or a comment row (its first field starts with "-").
bool e_marca(std::string_view riga);
bool e_commento(std::string_view riga);

#endif  // SB_TOOL_LSP_RIGHE_H_
