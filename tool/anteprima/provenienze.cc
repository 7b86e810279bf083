#include "tool/anteprima/provenienze.h"

#include <map>

#include "compiler/arrotonda.h"
#include "tool/diagnosi/contesto.h"

namespace {

class Costruttore {
 public:
  Costruttore(const Analisi &a, Provenienze *p)
      : c_(*a.compilazione, a.linea, a.treno, 1), p_(*p), t_(a.compilazione->tabelle) {}

  void tutto() {
    const Registro &r = c_.registro();
    const size_t n = t_.percorso.size();
    p_.celle.assign(n, -1);
    p_.aggiunte.assign(n, false);
    for (size_t i = 0; i < n && i < r.celle.size(); ++i) {
      p_.celle[i] = indice(r.celle[i]);
      p_.aggiunte[i] = i < r.aggiunta.size() && r.aggiunta[i];
    }
    p_.velocita.assign(n, -1);
    p_.pendenza.assign(n, -1);
    p_.aderenza.assign(n, -1);
    p_.montagna.assign(n, -1);
    tratti(TipoRiga::kPendenza, &p_.pendenza);
    tratti(TipoRiga::kVelocita, &p_.velocita);
    tratti(TipoRiga::kAderenza, &p_.aderenza);
    gallerie_e_voci();
  }

 private:
  // The index in p_.righe of account row `r`, added the first time.
  int32_t indice(int64_t r) {
    const RigaLetta *riga = c_.riga(r);
    if (riga == nullptr) return -1;
    auto [it, nuova] = indici_.try_emplace(r, static_cast<int32_t>(p_.righe.size()));
    if (!nuova) return it->second;
    const TestoSorgente &s = c_.sorgente(riga->sorgente);
    const CampoLetto &campo = c_.campi(riga->sorgente)[riga->campo];
    RigaSorgente rs;
    rs.file = s.nome();
    rs.riga = s.riga(campo.inizio);
    std::string_view testo = s.testo_riga(rs.riga);
    while (!testo.empty() && (testo.back() == ' ' || testo.back() == '\t')) testo.remove_suffix(1);
    constexpr size_t kMassimo = 240;  // a row is shown on one line of a hover box
    rs.testo = utf8_da_1252(testo.substr(0, kMassimo));
    if (testo.size() > kMassimo) rs.testo += "\xE2\x80\xA6";
    p_.righe.push_back(std::move(rs));
    return it->second;
  }

  // Whether position p passed the readers' grid test.
  bool in_griglia(int64_t p, int64_t margine = 100) const {
    return p + margine <= 50 * int64_t{t_.numero_celle};
  }

  // The cells a stretch row fills, as the readers fill them: each row's
  // value holds from the cell of its position on, the cells before it,
  // back to where the previous row took effect, keep the previous row's.
  void tratti(TipoRiga tipo, std::vector<int32_t> *celle) {
    const int64_t n = static_cast<int64_t>(celle->size());
    const int64_t ultima = int64_t{t_.numero_celle} - 2;
    int64_t cursore = 0;
    int32_t precedente = -1;
    const auto &righe = c_.registro().righe;
    for (size_t k = 0; k < righe.size(); ++k) {
      const RigaLetta &r = righe[k];
      if (c_.tipo(r) != tipo) continue;
      const auto p = c_.numero(r, 1);
      if (!p || !c_.numero(r, 2)) continue;
      if (!in_griglia(*p)) break;  // the reading of that source ended there
      const int64_t fino = dividi_arrotonda(*p, 50);
      if (fino > 0) {
        do {
          if (cursore >= n) break;
          (*celle)[static_cast<size_t>(cursore++)] = precedente;
        } while (cursore < fino);
      }
      precedente = indice(static_cast<int64_t>(k));
    }
    do {
      if (cursore >= n) break;
      (*celle)[static_cast<size_t>(cursore++)] = precedente;
    } while (cursore < ultima);
  }

  void gallerie_e_voci() {
    const auto &righe = c_.registro().righe;
    int stazione = 1, cartello = kPrimoCartello;
    std::vector<std::pair<int64_t, int32_t>> progressive;  // position, row
    for (size_t k = 0; k < righe.size(); ++k) {
      const RigaLetta &r = righe[k];
      const TipoRiga tipo = c_.tipo(r);
      const auto p = c_.numero(r, 1);
      if (tipo == TipoRiga::kProgressiva && p) {
        progressive.emplace_back(*p, indice(static_cast<int64_t>(k)));
      } else if (tipo == TipoRiga::kMontagna && p && c_.numero(r, 2)) {
        if (!in_griglia(*p)) continue;
        const int64_t da = dividi_arrotonda(*p, 50), a = dividi_arrotonda(*c_.numero(r, 2), 50) - 1;
        const int32_t i = indice(static_cast<int64_t>(k));
        for (int64_t c = std::max<int64_t>(da, 0);
             c <= a && c < static_cast<int64_t>(p_.montagna.size()); ++c)
          p_.montagna[static_cast<size_t>(c)] = i;
      } else if (tipo == TipoRiga::kCartello && p) {
        if (cartello > 0 && cartello < kNumeroStazioni)
          p_.stazioni[static_cast<size_t>(cartello)] = indice(static_cast<int64_t>(k));
        --cartello;
      } else if (tipo == TipoRiga::kStazione && p) {
        if (stazione > 0 && stazione <= kPrimoCartello)
          p_.stazioni[static_cast<size_t>(stazione)] = indice(static_cast<int64_t>(k));
        ++stazione;
      }
    }
    // The kilometre changes are reordered after reading: each entry is
    // known by its position.
    for (size_t e = kVoceProgressivaTre; e <= kVoceProgressivaUno; ++e)
      for (const auto &[pos, riga] : progressive)
        if (t_.stazioni[e].inizio != 0 && pos == t_.stazioni[e].inizio) p_.stazioni[e] = riga;
  }

  const Contesto c_;
  Provenienze &p_;
  const Tabelle &t_;
  std::map<int64_t, int32_t> indici_;
};

}  // namespace

Provenienze provenienze(const Analisi &a) {
  Provenienze p;
  Costruttore(a, &p).tutto();
  return p;
}
