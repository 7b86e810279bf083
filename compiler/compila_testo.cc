#include "compiler/compila_testo.h"

#include <string>

#include "compiler/finitura/finitura.h"
#include "compiler/lettura/memorizza_dati.h"
#include "compiler/registra_codice.h"

void prepara_tabelle(Tabelle& t, int32_t j) {
  t.scrivi_linea = j;
  azzera_codice(t);
  for (auto& s : t.stazioni) s = record_stazione{};
  // Only the line reader creates the grid and the line table; a grid left by
  // an earlier compile must not pass for this one's.
  t.percorso.clear();
  t.rallentamenti_in_una_cella.clear();
  // The table's memory is kept for the next line read (see svuota).
  t.tabella_linea.svuota();
  t.numero_celle = 0;
  t.limite_tabella = 0;
}

EsitoCompilazione finisci_tabelle(Tabelle& t) {
  if (!t.ha_percorso())
    return EsitoCompilazione::fallita(
        Status::Error("cannot compile: the line source gave no track grid (error code " +
                      std::to_string(t.codice_errore) + ")"));
  if (t.percorso.size() < 2)
    return EsitoCompilazione::fallita(
        Status::Error("cannot compile: the track grid has no header cell (error code " +
                      std::to_string(t.codice_errore) + ")"));
  if (const int32_t numero = finisci_griglia(t); numero != 0)
    return EsitoCompilazione::fatale(numero);
  return {};
}

EsitoCompilazione compila_testo(Tabelle& t, const SorgenteTesto& linea, const SorgenteTesto& treno,
                                int32_t j) {
  prepara_tabelle(t, j);
  leggi_sorgenti(t, linea, treno);
  return finisci_tabelle(t);
}
