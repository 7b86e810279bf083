#include "tool/diagnosi/analisi.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>
#include <utility>

#include "tool/diagnosi/avvisi.h"
#include "tool/diagnosi/contesto.h"
#include "tool/diagnosi/controlli.h"
#include "tool/diagnosi/messaggi.h"

bool Analisi::pulita() const {
  return compilazione->esito.tipo == EsitoCompilazione::Tipo::kCompletato &&
         compilazione->tabelle.codice_errore == 0;
}

nlohmann::ordered_json Analisi::documento() const {
  const StatoFinale stato{compilazione->tabelle.codice_errore,
                          compilazione->tabelle.posizione_errore};
  return documento_diagnostiche(diagnostiche, sorgenti, stato);
}

std::string Analisi::json() const { return testo_json(documento()); }

std::unique_ptr<Analisi> analizza(const std::string& nome_linea, std::string linea,
                                  const std::string& nome_treno, std::string treno,
                                  const std::string& nome, const std::string& numero, int32_t j,
                                  Tabelle* memoria, bool senza_tabella) {
  auto a = std::make_unique<Analisi>(nome_linea, std::move(linea), nome_treno, std::move(treno));
  a->compilazione =
      compila_sorgenti(a->linea.testo(), a->treno.testo(), nome, numero, j, memoria, senza_tabella);
  const Contesto contesto(*a->compilazione, a->linea, a->treno, j);
  a->diagnostiche = avvisi(contesto);
  std::vector<Diagnostica> controlli;
  controllo_trattini(contesto, &controlli);
  // A keyword made a comment explains everything else said of its line.
  std::set<std::pair<int, size_t>> spiegate;
  for (const Diagnostica& t : controlli)
    spiegate.emplace(t.sorgente, a->sorgenti[t.sorgente]->riga(t.inizio));
  std::erase_if(a->diagnostiche, [&](const Diagnostica& d) {
    return d.ha_riga && spiegate.count({d.sorgente, a->sorgenti[d.sorgente]->riga(d.inizio)}) > 0;
  });
  controlli_ordine(contesto, &controlli);
  controlli_posizioni(contesto, &controlli);
  controlli_testi(contesto, &controlli);
  controllo_nomi(contesto, nome, &controlli);
  for (Diagnostica& d : controlli) a->diagnostiche.push_back(std::move(d));
  // A fix replaces bytes of one line: one that would reach past its line
  // end (a quoted field runs over line ends) is not offered.
  for (Diagnostica& d : a->diagnostiche) {
    const TestoSorgente& s = *a->sorgenti[d.sorgente];
    std::erase_if(d.correzioni, [&](const Correzione& f) {
      return f.fine > s.fine_riga(s.riga(f.inizio)) && f.fine > f.inizio;
    });
  }
  std::stable_sort(a->diagnostiche.begin(), a->diagnostiche.end(),
                   [](const Diagnostica& x, const Diagnostica& y) {
                     return x.sorgente != y.sorgente ? x.sorgente < y.sorgente
                                                     : x.inizio < y.inizio;
                   });
  for (Diagnostica& d : diagnostiche_codici(contesto)) a->diagnostiche.push_back(std::move(d));
  return a;
}
