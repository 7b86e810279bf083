#include "compiler/memorizza_percorso.h"

#include <string>

#include "compiler/codice_gara.h"
#include "compiler/codici_errore.h"
#include "compiler/file_uscita.h"
#include "compiler/finitura.h"
#include "compiler/memorizza_dati.h"
#include "compiler/passata_finale.h"

namespace {

// Header values of the grid's cell 1 and of station entry 85.
constexpr int16_t kIntestazioneCella = 5121;
constexpr int16_t kIntestazioneStazioni = 610;

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
  t.tabella_linea.clear();
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

  passata_finale(t);

  record_stazione& intestazione = t.stazioni[85];
  cella& prima = t.percorso[1];
  if (intestazione.d2a != 0 || prima.dato1 != 0) return fatale(codice::kErroreIntestazione);
  intestazione.d2a = kIntestazioneStazioni;
  prima.dato1 = kIntestazioneCella;
  if (intestazione.orario != 0 || prima.dato2 != 0) return fatale(codice::kErroreCodiceGara);
  intestazione.orario = static_cast<int32_t>(codice_gara_st(t).numero());
  prima.dato2 = codice_gara_og(t).intero;

  if (Status s = scrivi_file_uscita(t, a); !s.ok()) {
    EsitoCompilazione e;
    e.tipo = EsitoCompilazione::Tipo::kFallimento;
    e.fallimento = s;
    return e;
  }
  return {};
}
