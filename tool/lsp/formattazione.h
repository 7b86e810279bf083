#ifndef SB_TOOL_LSP_FORMATTAZIONE_H_
#define SB_TOOL_LSP_FORMATTAZIONE_H_

// Formatting a source: the fields of each section's rows aligned into
// columns, without changing one byte the readers keep.
//
// The readers skip the blanks before a field, whether they read it as a
// number or as text, and keep those after it when they read text (a board
// text, a station name); a quoted text runs to its closing quote across
// commas and lines. So the only bytes changed are the blanks between a
// comma (or the start of a row) and the field after it, and only where
// that field has something before the line end: a row keeps its fields,
// its blanks before each comma and its line end, and the stream of fields
// the readers see is the same. Left as they stand: everything up to the
// "[generale]" marker (the readers skip it), section markers, comment
// rows, rows whose first field names no kind of row (free text), and every
// line a quoted text might span.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One line formatted anew: the bytes [inizio, fine) of the text, the line
// `riga` (from 0) without its line end, become `testo`. The same change as
// the runs of blanks it rewrites, each bytes [inizio, fine) of the text
// becoming `spazi` spaces, in order: an editor told only of these never
// rewrites a letter of the row.
struct RigaAllineata {
  struct Blank {
    size_t inizio = 0, fine = 0;
    size_t spazi = 0;
  };
  size_t riga = 0;
  size_t inizio = 0, fine = 0;
  std::string testo;
  std::vector<Blank> blank;
};

// The lines of `testo` (Windows-1252 bytes of source `sorgente`, 0 the line,
// 1 the train) that formatting changes, in order.
std::vector<RigaAllineata> allinea_colonne(std::string_view testo, int sorgente);

// `testo` with `righe` in place.
std::string applica(std::string_view testo, const std::vector<RigaAllineata>& righe);

#endif  // SB_TOOL_LSP_FORMATTAZIONE_H_
