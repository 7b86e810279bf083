#include "compiler/formato_linea.h"

#include "compiler/codifica.h"

std::string codifica_linea(const Tabelle& t) {
  // One pass: room for the largest encoding, then cut to what was written.
  constexpr size_t kMassimo = 10;
  std::string out(kMassimo * t.tabella_linea.size(), '\0');
  char* p = out.data();
  for (const valore& v : t.tabella_linea) p = PutValore(p, v);
  out.resize(static_cast<size_t>(p - out.data()));
  return out;
}
