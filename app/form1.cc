#include "app/form1.h"

#include "compiler/memorizza_percorso.h"
#include "sources/documenti.h"

int Form1::Form_Load() {
  tabelle.nome_scenario = "Lavrano_Cestelle";
  tabelle.numero_treno = "58121";
  finestra_.mostra();
  finestra_.ridisegna();

  const Destinazione dest{&fs_, directory_, tabelle.nome_scenario, tabelle.numero_treno};
  // The sources first, since the compiler reads them back; the notes and the
  // slow-down form come before the timetable sheet.
  using Scrittore = Status (*)(const Destinazione&);
  static constexpr Scrittore kScrittori[] = {dati_linea, dati_treno, dati_note,
                                             dati_rallentamenti, dati_scheda};
  for (Scrittore scrivi : kScrittori) {
    Status s = scrivi(dest);
    if (!s.ok()) return fallito(s.message());
  }

  int32_t j = 1;
  EsitoCompilazione esito = memorizza_percorso(tabelle, Ambiente{&fs_, directory_}, j);
  switch (esito.tipo) {
    case EsitoCompilazione::Tipo::kCompletato:
      return kEsitoNormale;
    case EsitoCompilazione::Tipo::kErroreFatale:
      errore(std::to_string(esito.numero));
      return kEsitoErrore;
    case EsitoCompilazione::Tipo::kFallimento:
      break;
  }
  return fallito(esito.fallimento.message());
}

void Form1::errore(const std::string& a) { finestra_.messaggio(" Errore n. " + a); }

int Form1::fallito(const std::string& messaggio) {
  finestra_.fallimento(messaggio);
  return kEsitoFallimento;
}
