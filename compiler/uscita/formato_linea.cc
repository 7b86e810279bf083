#include "compiler/uscita/formato_linea.h"

#include "compiler/uscita/codifica.h"

std::string codifica_linea(const Tabelle& t) {
  // Values are encoded into a small buffer that stays in cache and appended
  // in blocks, so the large result is written once and never pre-filled.
  constexpr size_t kMassimo = 10;  // bytes of the largest value
  constexpr size_t kBlocco = 4096;
  std::string out;
  out.reserve(kMassimo * t.tabella_linea.size());
  char blocco[kBlocco * kMassimo];
  size_t i = 0;
  const size_t n = t.tabella_linea.size();
  while (i < n) {
    char* p = blocco;
    const size_t fine = n - i < kBlocco ? n : i + kBlocco;
    for (; i < fine; ++i) p = PutValore(p, t.tabella_linea[i]);
    out.append(blocco, static_cast<size_t>(p - blocco));
  }
  return out;
}
