#include "supporto/verifica_check.h"

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "supporto/compila_memoria.h"
#include "tool/diagnosi/analisi.h"

namespace {

void Verifica(bool ok, const char* cosa) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", cosa);
    std::abort();
  }
}

}  // namespace

void VerificaCheck(std::string_view data) {
  std::string_view linea, treno;
  DividiIngresso(data, &linea, &treno);
  // The grid and the line table go from one input to the next, as the
  // compile harnesses keep theirs: fresh, they would be mapped and their
  // pages touched anew for every input.
  static Tabelle memoria;
  const auto a = analizza("L_linea.txt", std::string(linea), "L_1-.txt", std::string(treno), "L",
                          "1", 1, &memoria);
  const Compilazione& c = *a->compilazione;
  const Registro& r = c.registro;

  for (int s = 0; s < 2; ++s) {
    const size_t n = a->sorgenti[s]->testo().size();
    for (const CampoLetto& f : r.campi[s])
      Verifica(f.inizio <= f.fine && f.fine <= n, "field inside its source");
  }
  for (const RigaLetta& x : r.righe) {
    const auto& campi = r.campi[static_cast<size_t>(x.sorgente)];
    Verifica(x.campo < campi.size() && x.campo < x.fine && x.fine <= campi.size(),
             "row made of fields read");
  }
  Verifica(r.celle.empty() || r.celle.size() == c.tabelle.percorso.size(), "one entry per cell");

  size_t errori = 0;
  for (const Diagnostica& d : a->diagnostiche) {
    Verifica(d.sorgente == 0 || d.sorgente == 1, "diagnostic of a source");
    Verifica(!d.messaggio.empty(), "diagnostic with a sentence");
    if (d.gravita == Diagnostica::Gravita::kErrore) {
      Verifica(d.codice.has_value(), "an error carries its code");
      ++errori;
    }
    // Related rows and fix-its name bytes of a source, on lines that exist;
    // a fix never spans two lines.
    for (const Collegata& r : d.collegate) {
      Verifica(r.sorgente == 0 || r.sorgente == 1, "related row of a source");
      const TestoSorgente& s = *a->sorgenti[r.sorgente];
      Verifica(r.inizio <= r.fine && r.fine <= s.testo().size(), "related span inside its source");
      Verifica(s.riga(r.inizio) >= 1 && s.riga(r.inizio) <= s.righe(), "related line that exists");
      Verifica(!r.messaggio.empty(), "related row with a sentence");
    }
    if (!d.ha_riga) {
      Verifica(d.correzioni.empty(), "no fix without a row");
      continue;
    }
    const TestoSorgente& s = *a->sorgenti[d.sorgente];
    Verifica(d.inizio <= d.fine && d.fine <= s.testo().size(), "span inside its source");
    const size_t riga = s.riga(d.inizio);
    Verifica(riga >= 1 && riga <= s.righe(), "a line that exists");
    const size_t colonna = s.colonna(d.inizio);
    Verifica(colonna >= 1 && colonna <= s.testo_riga(riga).size() + 1, "a column within the line");
    Verifica(s.colonna_fine(d.inizio, d.fine) >= colonna, "a range that ends after it starts");
    for (const Correzione& f : d.correzioni) {
      Verifica(f.inizio <= f.fine && f.fine <= s.testo().size(), "fix inside its source");
      Verifica(s.riga(f.inizio) >= 1 && s.riga(f.inizio) <= s.righe(), "fix on a line that exists");
      Verifica(f.fine <= s.fine_riga(s.riga(f.inizio)) || f.inizio == f.fine, "fix on one line");
    }
  }
  const bool fatale = c.esito.tipo == EsitoCompilazione::Tipo::kErroreFatale;
  Verifica(errori == r.codici.size() + (fatale ? 1 : 0), "one error for every code");
  Verifica(a->pulita() == (r.codici.empty() && !fatale &&
                           c.esito.tipo == EsitoCompilazione::Tipo::kCompletato),
           "clean exactly when nothing was recorded");
  if (!r.codici.empty())
    Verifica(r.codici.back().codice == c.tabelle.codice_errore, "last code is the final state");

  (void)a->testo();
  // The JSON is checked as the document the tool prints, then printed; the
  // text is that document's dump by the JSON library, which gives it back
  // as it was, so parsing it again would test the library, not the tool.
  const nlohmann::ordered_json j = a->documento();
  (void)testo_json(j);
  const auto& lista = j["diagnostics"];
  Verifica(lista.is_array() && lista.size() == a->diagnostiche.size(),
           "JSON holds every diagnostic");
  for (size_t i = 0; i < a->diagnostiche.size(); ++i) {
    const auto& x = lista[i];
    if (!a->diagnostiche[i].ha_riga) {
      Verifica(x["line"].is_null(), "no line when the row cannot be known");
      continue;
    }
    const size_t righe = a->sorgenti[a->diagnostiche[i].sorgente]->righe();
    Verifica(x["line"].is_number_unsigned() && x["line"] >= 1 && x["line"] <= righe,
             "JSON names a line that exists");
    Verifica(x["end_column"] >= x["column"], "JSON range ends after it starts");
    Verifica(x["fixes"].size() == a->diagnostiche[i].correzioni.size() &&
                 x["related"].size() == a->diagnostiche[i].collegate.size(),
             "JSON holds every fix and related row");
  }
  riprendi_memoria(*a->compilazione, &memoria);
}
