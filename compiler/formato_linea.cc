#include "compiler/formato_linea.h"

#include "compiler/codifica.h"

std::string codifica_linea(const Tabelle& t) {
  size_t dimensione = 0;
  for (const valore& v : t.tabella_linea) dimensione += DimensioneValore(v);
  std::string out(dimensione, '\0');
  char* p = out.data();
  for (const valore& v : t.tabella_linea) p = PutValore(p, v);
  return out;
}
