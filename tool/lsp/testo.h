#ifndef SB_TOOL_LSP_TESTO_H_
#define SB_TOOL_LSP_TESTO_H_

// The text of a source as the server holds it: the Windows-1252 bytes the
// compiler reads. The client speaks UTF-8 and counts a line's characters in
// UTF-16 code units; every Windows-1252 character is one unit, and a
// character the code page lacks is held as one "?" for each unit it takes,
// so a column of the client is always a byte of the line, whatever letters
// stand before it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The client's UTF-8 text as Windows-1252 bytes, as above. A byte that is
// not UTF-8 becomes one "?".
std::string in_1252(std::string_view utf8);

// A position of the protocol: line and character, both from 0.
struct Posizione {
  int64_t riga = 0;
  int64_t carattere = 0;
};

// Lines end at CR LF, a lone CR or a lone LF, as the compiler's field
// reader sees them. The start and the end (before its line end) of the
// line holding byte `o`, and the start of the line after it (the text's
// size after the last). Every walk over a source's lines goes by these.
size_t inizio_linea(std::string_view testo, size_t o);
size_t fine_linea(std::string_view testo, size_t o);
size_t linea_dopo(std::string_view testo, size_t o);

// The byte offset of `p` in `testo`: a line past the last is the end of the
// text, a character past the line's end is its end (before the line end).
// Lines end at CR LF, a lone CR or a lone LF.
size_t offset_di(std::string_view testo, Posizione p);
// The position of byte offset `o` (the end of the text for anything beyond).
Posizione posizione_di(std::string_view testo, size_t o);

#endif  // SB_TOOL_LSP_TESTO_H_
