#include "tool/documenti/celle.h"

#include "sources/impaginazione.h"

std::u16string numero_testo(int64_t n) { return da_byte(std::to_string(n)); }

// Built by appending: concatenations onto a literal trip a false alarm of
// the compiler's overlap check.
std::u16string km_testo(int64_t metri) {
  const uint64_t assoluti =
      metri < 0 ? 0 - static_cast<uint64_t>(metri) : static_cast<uint64_t>(metri);
  std::string t = metri < 0 ? "-" : "";
  t += std::to_string(assoluti / 1000);
  t += '.';
  const std::string decimali = std::to_string(assoluti % 1000);
  t.append(3 - decimali.size(), '0');
  t += decimali;
  return da_byte(t);
}

size_t cifre_km(int64_t metri) { return km_testo(metri).find(u'.'); }

std::u16string ora_testo(int64_t secondi) {
  constexpr int64_t kGiorno = int64_t{24} * 3600;
  const int64_t s = ((secondi % kGiorno) + kGiorno) % kGiorno;
  const int64_t ore = s / 3600, minuti = s % 3600 / 60;
  std::u16string t;
  for (int64_t v : {ore, minuti}) {
    if (!t.empty()) t += u'.';
    t += static_cast<char16_t>(u'0' + v / 10);
    t += static_cast<char16_t>(u'0' + v % 10);
  }
  return t;
}
