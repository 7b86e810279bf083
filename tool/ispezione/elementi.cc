#include "tool/ispezione/elementi.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "sources/windows1252.h"

namespace {

std::string utf8(const std::string &testo) { return DecodeWindows1252ToUtf8(testo); }

std::string nome_voce(const TabellaStazioni &st, int16_t voce) {
  if (voce < 0 || voce >= kNumeroStazioni) return "entry " + std::to_string(voce) + " (none)";
  return utf8(st[static_cast<size_t>(voce)].nome);
}

// A speed board value holds 20 times the left speed plus a fifth of the
// right one; the speeds being multiples of 5, that is the left speed's
// fifth in the hundreds and the right one's in the units.
std::string coppia_tabelle(int16_t v) {
  return std::to_string(v / 100 * 5) + "/" + std::to_string(v % 100 * 5);
}

// A signal value holds 10 times the left value plus the right one.
std::string coppia_segnale(int16_t v) {
  if (v < 0 || v > 99) return std::to_string(v);
  return std::to_string(v / 10) + "/" + std::to_string(v % 10);
}

bool e_fermata(const std::vector<cella> &celle, size_t k) {
  return k < celle.size() && celle[k].tipo == tipo_cella::kFermata;
}

}  // namespace

std::string cita_riga(const RigaSorgente &r) {
  return r.file + ":" + std::to_string(r.riga) + ": " + r.testo;
}

const RigaSorgente *Provenienze::di(const std::vector<int32_t> &v, size_t indice) const {
  if (indice >= v.size() || v[indice] < 0 || static_cast<size_t>(v[indice]) >= righe.size())
    return nullptr;
  return &righe[static_cast<size_t>(v[indice])];
}

std::string km(double metri) {
  char b[48];
  std::snprintf(b, sizeof b, "km %.3f", metri / 1000.0);
  return b;
}

std::string ora(int32_t secondi) {
  char b[48];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", secondi / 3600, secondi / 60 % 60, secondi % 60);
  return b;
}

std::vector<Rallentamento> rallentamenti(const std::vector<cella> &celle, const Provenienze *p,
                                         double larghezza_etichetta) {
  std::vector<Rallentamento> out;
  // The end cell of each row, when the rows are known.
  std::map<int32_t, size_t> fine_della_riga;
  const bool con_righe = p != nullptr && p->celle.size() == celle.size();
  if (con_righe)
    for (size_t i = 0; i < celle.size(); ++i)
      if (celle[i].tipo == tipo_cella::kFineRallentamento && p->celle[i] >= 0)
        fine_della_riga[p->celle[i]] = i;

  std::set<int32_t> accoppiate;  // rows whose start found its end through the row
  std::vector<size_t> aperti;    // indices in `out` of the starts still open
  for (size_t i = 0; i < celle.size(); ++i) {
    const cella &c = celle[i];
    if (c.tipo == tipo_cella::kInizioRallentamento) {
      Rallentamento r;
      r.inizio = r.fine = i;
      r.velocita = c.dato1;
      if (con_righe && p->celle[i] >= 0) {
        auto f = fine_della_riga.find(p->celle[i]);
        if (f != fine_della_riga.end() && f->second > i) r.fine = f->second;
        accoppiate.insert(p->celle[i]);
        out.push_back(r);
        continue;
      }
      aperti.push_back(out.size());
      out.push_back(r);
    } else if (c.tipo == tipo_cella::kFineRallentamento && !aperti.empty()) {
      // An end whose start was paired through their row closes nothing here.
      if (con_righe && p->celle[i] >= 0 && accoppiate.count(p->celle[i]) != 0) continue;
      // The latest open start that carries the same values, else the latest.
      auto uguale = [&](size_t k) {
        const cella &s = celle[out[k].inizio];
        return s.dato1 == c.dato1 && s.dato2 == c.dato2 && s.dato3 == c.dato3;
      };
      auto it = std::find_if(aperti.rbegin(), aperti.rend(), uguale);
      const size_t k = it != aperti.rend() ? *it : aperti.back();
      out[k].fine = i;
      aperti.erase(std::find(aperti.begin(), aperti.end(), k));
    }
  }

  // Lanes: each slow-down, with its label after its end, on the lowest lane
  // where it overlaps nothing.
  std::vector<double> occupata_fino;  // per lane, the last cell taken
  for (Rallentamento &r : out) {
    const double fine = static_cast<double>(r.fine) + larghezza_etichetta;
    size_t corsia = 0;
    while (corsia < occupata_fino.size() && occupata_fino[corsia] >= static_cast<double>(r.inizio))
      ++corsia;
    if (corsia == occupata_fino.size()) occupata_fino.push_back(fine);
    occupata_fino[corsia] = fine;
    r.corsia = static_cast<int>(corsia);
  }
  return out;
}

std::vector<int> velocita_effettiva(const std::vector<cella> &celle,
                                    const std::vector<Rallentamento> &r) {
  std::vector<int> v(celle.size());
  for (size_t i = 0; i < celle.size(); ++i) v[i] = celle[i].velocita * 5;
  for (const Rallentamento &x : r)
    for (size_t i = x.inizio; i <= x.fine && i < v.size(); ++i)
      v[i] = std::min(v[i], std::max(x.velocita, 0));
  return v;
}

std::string testo_cella(const std::vector<cella> &celle, size_t i, const TabellaStazioni &st) {
  const cella &c = celle[i];
  switch (c.tipo) {
    case tipo_cella::kSegnale:
      return "signal: s1/d1 " + coppia_segnale(c.dato1) + ", s2/d2 " + coppia_segnale(c.dato2) +
             ", s3/d3 " + coppia_segnale(c.dato3) +
             ", 10\xC3\x97rapp + 3\xC3\x97sx + dx = " + std::to_string(c.dato4) + ", time " +
             std::to_string(c.tempo);
    case tipo_cella::kInizioRallentamento:
    case tipo_cella::kFineRallentamento: {
      std::string s =
          c.tipo == tipo_cella::kInizioRallentamento ? "slow-down start: " : "slow-down end: ";
      s += std::to_string(c.dato1) + " km/h";
      if (c.dato2 != 0) s += ", d_v " + std::to_string(c.dato2);
      if (c.dato3 != 0) s += ", f_tt " + std::to_string(c.dato3);
      return s;
    }
    case tipo_cella::kAvvisoRallentamento:
      return "slow-down warning board: " + std::to_string(c.dato1) + " km/h" +
             (c.dato2 != 0 ? ", d_v " + std::to_string(c.dato2) : "");
    case tipo_cella::kPrimaDellAvviso:
      return "cell " + std::to_string(c.dato1) + " of 4 before a slow-down's warning board";
    case tipo_cella::kIndicatoriVmax:
      return "speed boards (left/right): A " + coppia_tabelle(c.dato1) + " km/h, B " +
             coppia_tabelle(c.dato2) + " km/h, C " + coppia_tabelle(c.dato3) + " km/h, stripes " +
             std::to_string(c.dato4 / 10) + "/" + std::to_string(c.dato4 % 10);
    case tipo_cella::kFermata: {
      std::string s = "station stop: " + nome_voce(st, c.dato1);
      if (c.dato1 >= 0 && c.dato1 < kNumeroStazioni && st[static_cast<size_t>(c.dato1)].orario != 0)
        s += ", time " + ora(st[static_cast<size_t>(c.dato1)].orario);
      return s;
    }
    case tipo_cella::kMontagna:
      return "tunnel marker, style " + std::to_string(c.montagna);
    case tipo_cella::kAbbattimento:
      return "code cut: " + std::to_string(c.dato1);
    case tipo_cella::kAbbattimentoNullo:
      return "code cut without a value";
    case tipo_cella::kCartello:
      return "text board: " + nome_voce(st, c.dato1);
    case tipo_cella::kNiente:
      return "";
    default:
      return "unknown feature " + std::to_string(c.tipo);
  }
}

std::string testo_avviso(const std::vector<cella> &celle, size_t i, const TabellaStazioni &st,
                         size_t *annunciata) {
  const int v = celle[i].avviso;
  if (v == 0) return "";
  const std::string s = "approach mark " + std::to_string(v);
  // A signal marks the cells 2, 4, 6 and 8 before it with 30 sx + 10 dx + n;
  // a stop the 4 cells before it with 80 + k.
  const int n = v % 10;
  if (n >= 1 && n <= 4 && i + 2 * static_cast<size_t>(n) < celle.size() &&
      celle[i + 2 * static_cast<size_t>(n)].tipo == tipo_cella::kSegnale) {
    if (annunciata != nullptr) *annunciata = i + 2 * static_cast<size_t>(n);
    return s + ": " + std::to_string(n) + " of 4 before the signal at " +
           km(static_cast<double>(i + 2 * static_cast<size_t>(n)) * 50);
  }
  if (v >= 81 && v <= 84 && e_fermata(celle, i + static_cast<size_t>(v - 80))) {
    const size_t k = i + static_cast<size_t>(v - 80);
    if (annunciata != nullptr) *annunciata = k;
    return s + ": " + std::to_string(v - 80) + " of 4 before the stop of " +
           nome_voce(st, celle[k].dato1);
  }
  if (annunciata != nullptr) *annunciata = celle.size();
  return s + " (no signal or stop where it points)";
}

std::string testo_stazione(const TabellaStazioni &st, size_t i) {
  const record_stazione &s = st[i];
  std::string t = "station " + utf8(s.nome) + " (kind " + std::to_string(s.tipo) + ", " +
                  (s.tipo < 25 ? "stop" : "passed") + "): at " + std::to_string(s.posizione) +
                  " m, stretch " + std::to_string(s.inizio) + " to " + std::to_string(s.fine) +
                  " m";
  t += s.orario != 0 ? ", time " + ora(s.orario) : ", no time";
  return t;
}
