#ifndef SB_SOURCES_IMPAGINAZIONE_H_
#define SB_SOURCES_IMPAGINAZIONE_H_

// Cells of the driver's documents: texts set into boxes of a fixed number of
// characters, so that every vertical bar of a form stands in its column
// whatever the text. A text longer than its cell is cut at the cell's end.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sources/text_writer.h"

std::u16string blanchi(size_t n);

// `testo` cut to `larghezza` characters.
std::u16string taglia(std::u16string_view testo, size_t larghezza);

// `testo` followed by blanks up to `larghezza` characters.
std::u16string a_sinistra(std::u16string_view testo, size_t larghezza);

// Blanks, then `testo` ending at `larghezza` characters.
std::u16string a_destra(std::u16string_view testo, size_t larghezza);

// `testo` in the middle of `larghezza` characters; an odd blank goes to the
// right.
std::u16string al_centro(std::u16string_view testo, size_t larghezza);

// ASCII (or Latin-1) bytes as characters, one each.
std::u16string da_byte(std::string_view testo);

// Closes a form whose `testa` ends with the rule under the grid's titles:
// the grid's `righe`, the same `regolo` under them, then `piede` and the
// end marker.
TabellaRighe chiudi_modulo(TabellaRighe testa, const std::vector<std::u16string>& righe,
                           std::u16string_view regolo, const std::vector<std::u16string>& piede);

#endif  // SB_SOURCES_IMPAGINAZIONE_H_
