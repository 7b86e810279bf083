#ifndef SB_SUPPORTO_MUTATORE_RIGHE_H_
#define SB_SUPPORTO_MUTATORE_RIGHE_H_

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// Mutations of a source text that keep it made of rows the readers know,
// so that a fuzzer spends its runs deep in the handlers rather than on
// bytes that break the first keyword.
enum class Mutazione {
  kDuplica,   // a row appears twice in a row
  kElimina,   // a row is dropped
  kScambia,   // two rows change places
  kSposta,    // a row moves behind another section marker
  kConfine,   // a number becomes a boundary value of its field
  kChiave,    // a keyword becomes another keyword of the same section
};
inline constexpr int kNumeroMutazioni = 6;

// Applies `m` once to `sorgente`, choosing rows and values with `rng`.
// `fine_griglia` is the length of the line the source is compiled with, one
// of the boundaries a position is moved to. A source too small for the
// mutation (no row, no number, no keyword) comes back unchanged.
std::string Muta(std::string_view sorgente, Mutazione m, int64_t fine_griglia, std::mt19937& rng);

// The rows of a source text, each with its line end (the last row may
// have none).
std::vector<std::string_view> RigheDi(std::string_view sorgente);

// The length a line source asks for in its length row, or -1.
int64_t LunghezzaLinea(std::string_view sorgente);

// Rewrites the length row of a line source to `lunghezza` metres (no
// change without a length row).
std::string ConLunghezza(std::string_view sorgente, int64_t lunghezza);

#endif  // SB_SUPPORTO_MUTATORE_RIGHE_H_
