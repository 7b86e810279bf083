// The fuzz targets' mutator: mostly row mutations of the sources (see
// mutatore_righe.h), now and then libFuzzer's own byte mutations. An input
// with a zero byte is two sources, line and train, each mutated on its own.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include "supporto/fuzz_compila.h"
#include "supporto/mutatore_righe.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t max_size);

namespace {

// A compile costs about as much as its line is long; a length row mutated
// beyond this is mostly brought back under it, so that the runs stay fast
// while long lines still come up now and then.
// Every line's plan has 7000 rows beyond its length, so lines of a few
// kilometres cost about the same.
constexpr int64_t kLunghezzaCorta = 10000;

std::string Accorcia(std::string s, std::mt19937& rng) {
  const int64_t l = LunghezzaLinea(s);
  if (l <= kLunghezzaCorta || rng() % 64 == 0) return s;
  // Mostly a multiple of 50, sometimes just off one.
  return ConLunghezza(s, 50 * std::uniform_int_distribution<int64_t>(10, kLunghezzaCorta / 50)(rng) +
                             static_cast<int64_t>(rng() % 4 == 0 ? rng() % 50 : 0));
}

size_t Copia(const std::string& s, uint8_t* data, size_t max_size) {
  if (s.size() > max_size) return 0;
  std::memcpy(data, s.data(), s.size());
  return s.size();
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size, unsigned int seed) {
  std::mt19937 rng(seed);
  if (rng() % 5 == 0) {
    const size_t n = LLVMFuzzerMutate(data, size, max_size);
    const std::string s = Accorcia(std::string(reinterpret_cast<const char*>(data), n), rng);
    return s.size() <= max_size ? Copia(s, data, max_size) : n;
  }
  const std::string_view ingresso(reinterpret_cast<const char*>(data), size);
  const size_t zero = ingresso.find('\0');
  std::string parti[2] = {std::string(ingresso.substr(0, zero)),
                          zero == ingresso.npos ? std::string() : std::string(ingresso.substr(zero + 1))};
  const bool due = zero != ingresso.npos;
  // The grid's end for positions: the line's own length, or the length of
  // the line the train target compiles against.
  int64_t fine = LunghezzaLinea(parti[0]);
  if (fine < 0) fine = LunghezzaLinea(LineaDelTreno());
  const size_t quale = due ? rng() % 2 : 0;
  const int volte = 1 + static_cast<int>(rng() % 3);
  for (int v = 0; v < volte; ++v) {
    const auto m = static_cast<Mutazione>(rng() % kNumeroMutazioni);
    parti[quale] = Muta(parti[quale], m, fine, rng);
  }
  parti[0] = Accorcia(parti[0], rng);
  std::string s = due ? parti[0] + std::string(1, '\0') + parti[1] : parti[0];
  if (s.size() > max_size || s == ingresso) return LLVMFuzzerMutate(data, size, max_size);
  return Copia(s, data, max_size);
}
