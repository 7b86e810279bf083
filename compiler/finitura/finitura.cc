#include "compiler/finitura/finitura.h"

#include "compiler/codici_errore.h"
#include "compiler/finitura/codice_gara.h"
#include "compiler/finitura/passata_finale.h"

namespace {

// Header values of the grid's cell 1 and of station entry 85.
constexpr int16_t kIntestazioneCella = 5121;
constexpr int16_t kIntestazioneStazioni = 610;

}  // namespace

int32_t finisci_griglia(Tabelle& t) {
  passata_finale(t);

  record_stazione& intestazione = t.stazioni[kVoceScenario];
  cella& prima = t.percorso[1];
  if (intestazione.d2a != 0 || prima.dato1 != 0) return codice::kErroreIntestazione;
  intestazione.d2a = kIntestazioneStazioni;
  prima.dato1 = kIntestazioneCella;
  if (intestazione.orario != 0 || prima.dato2 != 0) return codice::kErroreCodiceGara;
  intestazione.orario = static_cast<int32_t>(codice_gara_st(t).numero());
  prima.dato2 = codice_gara_og(t).intero;
  return 0;
}
