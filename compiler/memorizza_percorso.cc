#include "compiler/memorizza_percorso.h"

EsitoCompilazione memorizza_percorso(Tabelle& t, const Ambiente&, int32_t& j) {
  t.scrivi_linea = j;
  t.codice_errore = 0;
  for (auto& s : t.stazioni) s = record_stazione{};
  return {};
}
