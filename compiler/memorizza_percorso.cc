#include "compiler/memorizza_percorso.h"

#include <string>

#include "compiler/finitura/finitura.h"
#include "compiler/lettura/memorizza_dati.h"
#include "compiler/uscita/file_uscita.h"

namespace {

EsitoCompilazione fatale(int32_t numero) {
  EsitoCompilazione e;
  e.tipo = EsitoCompilazione::Tipo::kErroreFatale;
  e.numero = std::to_string(numero);
  return e;
}

EsitoCompilazione fallimento(std::string messaggio) {
  EsitoCompilazione e;
  e.tipo = EsitoCompilazione::Tipo::kFallimento;
  e.fallimento = Status::Error(std::move(messaggio));
  return e;
}

}  // namespace

EsitoCompilazione memorizza_percorso(Tabelle& t, const Ambiente& a, int32_t& j) {
  t.scrivi_linea = j;
  t.codice_errore = 0;
  t.guasto_file = Status::Ok();
  for (auto& s : t.stazioni) s = record_stazione{};
  // Only the line reader creates the grid and the line table; a grid left by
  // an earlier compile must not pass for this one's.
  t.percorso.clear();
  t.rallentamenti_in_una_cella.clear();
  // The table's memory is kept for the next line read (see svuota).
  t.tabella_linea.svuota();
  t.numero_celle = 0;
  t.limite_tabella = 0;

  memorizza_dati(t, a);
  return finisci_percorso(t, a);
}

EsitoCompilazione finisci_percorso(Tabelle& t, const Ambiente& a) {
  if (!t.ha_percorso()) {
    // A file that could not be read or deleted is named first, like any
    // other failure of a file.
    const std::string perche =
        "the line source gave no track grid (error code " + std::to_string(t.codice_errore) + ")";
    if (!t.guasto_file.ok()) return fallimento(t.guasto_file.message() + "; " + perche);
    return fallimento("cannot compile: " + perche);
  }
  if (t.percorso.size() < 2)
    return fallimento("cannot compile: the track grid has no header cell (error code " +
                      std::to_string(t.codice_errore) + ")");

  if (int32_t numero = finisci_griglia(t); numero != 0) return fatale(numero);

  if (Status s = scrivi_file_uscita(t, a); !s.ok()) {
    EsitoCompilazione e;
    e.tipo = EsitoCompilazione::Tipo::kFallimento;
    e.fallimento = s;
    return e;
  }
  return {};
}
