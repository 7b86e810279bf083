#include "tool/documenti/dati_documenti.h"

#include <algorithm>
#include <string_view>

#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/registro.h"
#include "compiler/tabelle.h"
#include "sources/modulo_rallentamenti.h"
#include "tool/diagnosi/contesto.h"
#include "tool/documenti/celle.h"
#include "tool/documenti/testo_1252.h"

namespace {

// The timetable sheet writes up to five digits of whole kilometres, sign
// included; the order form numbers up to three digits of orders.
constexpr size_t kCifreKmScheda = 5;
constexpr size_t kMassimoOrdini = 999;

// A keyword field may hold several keywords, and the reader then runs each
// of their handlers, in its own order, on the fields that follow. These
// are the numbers the handlers tested before the slow-down's read first.
size_t numeri_prima_del_rallentamento(std::string_view k) {
  size_t n = 0;
  for (const RigaFormato& f : righe_formato()) {
    if (f.tipo == TipoRiga::kRallentamento) break;
    if (f.sezione == Sezione::kTreno && riconosce(f, k)) n += f.campi.size();
  }
  return n;
}

std::string_view senza_blank_finali(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

class Estrazione {
 public:
  Estrazione(const Analisi& a, std::vector<Diagnostica>* problemi)
      : ctx_(*a.compilazione, a.linea, a.treno, 1),
        t_(a.compilazione->tabelle),
        problemi_(problemi) {}

  DatiDocumenti dati() {
    for (const RigaLetta& r : ctx_.registro().righe) {
      if (r.sorgente != Sorgente::kTreno || r.sezione != Sezione::kTreno) continue;
      const std::string_view k = ctx_.testo_campo(Sorgente::kTreno, r.campo);
      if (riconosce(TipoRiga::kMassaFrenata, k))
        d_.massa_frenata = t_.stazioni[kVoceGenerale].inizio;
      if (riconosce(TipoRiga::kRallentamento, k))
        rallentamento(r, numeri_prima_del_rallentamento(k));
      if (riconosce(TipoRiga::kStazione, k)) stazione(r);
    }
    std::stable_sort(d_.rallentamenti.begin(), d_.rallentamenti.end(),
                     [](const RallentamentoDocumento& x, const RallentamentoDocumento& y) {
                       return x.inizio < y.inizio;
                     });
    if (d_.stazioni.empty())
      problema(ctx_.alla_fine(Sorgente::kTreno),
               "the train source has no station: the timetable sheet would list nothing");
    return std::move(d_);
  }

 private:
  void problema(Diagnostica d, std::string messaggio) {
    d.messaggio = std::move(messaggio);
    problemi_->push_back(std::move(d));
  }

  // The station rows fill the station table from entry 1, in their order;
  // a compile without a code accepted every one of them.
  void stazione(const RigaLetta& r) {
    const size_t indice = d_.stazioni.size() + 1;
    if (indice >= kVoceProgressivaTre) return;
    const record_stazione& s = t_.stazioni[indice];
    // The name is the last field the row's handlers read.
    const Diagnostica al_nome =
        r.fine > r.campo + 1 ? ctx_.al_campo(Sorgente::kTreno, r.fine - 1) : ctx_.alla_riga(r);
    const std::string_view nome = senza_blank_finali(s.nome);
    if (const auto perche = nome_non_stampabile(nome))
      problema(al_nome, "this station name cannot go into the driver's documents: " + *perche);
    if (cifre_km(s.posizione) > kCifreKmScheda)
      problema(ctx_.alla_riga(r), "the station at " + std::to_string(s.posizione) +
                                      " m lies beyond the kilometres the timetable sheet can "
                                      "write (five digits before the point)");
    StazioneDocumento st;
    st.nome = da_1252(nome);
    st.posizione = s.posizione;
    st.inizio = s.inizio;
    st.fine = s.fine;
    st.fermata = s.tipo < 25;
    st.orario = s.orario;
    // The limit the grid holds at the station's own cell, in 5 km/h steps.
    const int64_t cella = s.posizione / 50;
    if (cella >= 0 && static_cast<size_t>(cella) < t_.percorso.size())
      st.velocita = 5 * t_.percorso[static_cast<size_t>(cella)].velocita;
    d_.stazioni.push_back(std::move(st));
  }

  void rallentamento(const RigaLetta& r, size_t prima) {
    const auto x = ctx_.numero(r, prima + 1);
    const auto v = ctx_.numero(r, prima + 2);
    const auto l = ctx_.numero(r, prima + 3);
    if (!x || !v || !l) return;
    if (d_.rallentamenti.size() == kMassimoOrdini)
      problema(ctx_.alla_riga(r), "more than " + std::to_string(kMassimoOrdini) +
                                      " slow-downs: the order form numbers them in three digits");
    const struct {
      int64_t valore;
      size_t campo, cella;
      const char* nome;
    } campi[] = {{*x, 1, kOrdineKm, "its start"},
                 {*v, 2, kOrdineVelocita, "its speed"},
                 {*l, 3, kOrdineLunghezza, "its length"}};
    for (const auto& c : campi) {
      const size_t n = c.campo == 1 ? km_testo(c.valore).size() : std::to_string(c.valore).size();
      if (n > c.cella + 1)
        problema(ctx_.alla_riga(r, prima + c.campo),
                 std::string("this slow-down cannot go into the order form: ") + c.nome +
                     " needs more than the " + std::to_string(c.cella + 1) +
                     " characters of its cell");
    }
    d_.rallentamenti.push_back({*x, *v, *l});
  }

  const Contesto ctx_;
  const Tabelle& t_;
  std::vector<Diagnostica>* problemi_;
  DatiDocumenti d_;
};

}  // namespace

DatiDocumenti dati_documenti(const Analisi& a, std::vector<Diagnostica>* problemi) {
  return Estrazione(a, problemi).dati();
}
