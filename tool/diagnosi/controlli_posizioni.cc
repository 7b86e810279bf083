// Where features land: past the line's end, a slow-down whose end is not
// where its length says, and station stops, which are written on their
// cell whatever stood there.
#include <map>
#include <string>

#include "compiler/arrotonda.h"
#include "tool/diagnosi/controlli.h"

namespace {

std::string m(int64_t v) { return std::to_string(v) + " m"; }

// Rows that place something at the position of their first number.
bool posizionata(TipoRiga t) {
  switch (t) {
    case TipoRiga::kPendenza:
    case TipoRiga::kCurva:
    case TipoRiga::kMontagna:
    case TipoRiga::kIndicatori:
    case TipoRiga::kCartello:
    case TipoRiga::kVelocita:
    case TipoRiga::kAderenza:
    case TipoRiga::kSegnale:
    case TipoRiga::kRallentamento:
    case TipoRiga::kAbbattimento:
    case TipoRiga::kStazione:
      return true;
    default:
      return false;
  }
}

void oltre_la_linea(const Contesto& c, std::vector<Diagnostica>* out) {
  const int64_t l = c.lunghezza();
  if (l <= 0) return;
  for (const RigaLetta& r : c.registro().righe) {
    const TipoRiga t = c.tipo(r);
    if (!posizionata(t) || (t == TipoRiga::kCurva && c.j() == 0)) continue;
    const auto p = c.numero(r, 1);
    // Past the end of the track the row already has its code 15.
    if (!p || *p + 100 > c.fine_griglia()) continue;
    const std::string cosa = Contesto::nome(t);
    if (*p > l) {
      out->push_back(c.avviso(
          r, 1,
          "the " + cosa + " at " + m(*p) + " lies beyond the end of the line, at " + m(l) +
              ": the compile places it all the same, in the 7000 m of run-out the track has "
              "after the line's end (up to " +
              m(c.fine_griglia()) +
              "); did you mean a "
              "position within the line?"));
    } else if (t == TipoRiga::kRallentamento) {
      const auto lung = c.numero(r, 3);
      if (lung && *p + *lung > l)
        out->push_back(c.avviso(r, 3,
                                "the slow-down at " + m(*p) + ", " + m(*lung) + " long, ends at " +
                                    m(*p + *lung) + ", beyond the end of the line at " + m(l) +
                                    ": its end is placed in the run-out after the line's end"));
    }
  }
}

void rallentamenti(const Contesto& c, std::vector<Diagnostica>* out) {
  for (const RigaLetta* r : c.righe_di(TipoRiga::kRallentamento, 3)) {
    const int64_t x = c.numero(*r, 1).value_or(0), l = c.numero(*r, 3).value_or(0);
    if (x + 100 > c.fine_griglia()) continue;
    if (l < 0) {
      Diagnostica d =
          c.avviso(*r, 3,
                   "the slow-down at " + m(x) + " has a negative length, " + m(l) +
                       ": its end is placed at " + m(x + l) +
                       ", before its start, and the finishing "
                       "pass, which walks forward from the start to an end, runs on past it; the "
                       "length counts forward from the start (did you mean " +
                       m(-l) + "?)");
      d.correzioni.push_back(Correzione{d.inizio, d.fine, std::to_string(-l)});
      out->push_back(std::move(d));
    } else if (cella_di(x, 1) == cella_di(x + l, 1)) {
      out->push_back(c.avviso(*r, 3,
                              "the slow-down at " + m(x) + " is " + m(l) +
                                  " long, so its start and its end fall on one cell, which "
                                  "keeps only the start: the slow-down has no end of its own; "
                                  "give it a length of at least 50 m"));
    }
  }
}

// The finishing pass walks from a slow-down's start to the first end cell
// ahead, whichever slow-down it belongs to. When that is another one's end
// (one slow-down inside or across another), the rest of this one gets no
// cuts along it and the signal after its own end none in front of it.
void annidati(const Contesto& c, std::vector<Diagnostica>* out) {
  const auto& percorso = c.tabelle().percorso;
  const auto& celle = c.registro().celle;
  const int64_t ultima = static_cast<int64_t>(percorso.size()) - 1;
  for (const RigaLetta* r : c.righe_di(TipoRiga::kRallentamento, 3)) {
    const int64_t x = c.numero(*r, 1).value_or(0), l = c.numero(*r, 3).value_or(0);
    const int64_t ks = cella_di(x, 1), ke = cella_di(x + l, 1);
    if (l < 0 || ke <= ks || ks < 0 || ke > ultima) continue;
    if (percorso[static_cast<size_t>(ks)].tipo != tipo_cella::kInizioRallentamento ||
        percorso[static_cast<size_t>(ke)].tipo != tipo_cella::kFineRallentamento)
      continue;  // not placed as written (a code stopped it, or a later row took a cell)
    int64_t w = ks + 1;
    while (w < ke && percorso[static_cast<size_t>(w)].tipo != tipo_cella::kFineRallentamento) ++w;
    if (w == ke) continue;
    const RigaLetta* altra =
        static_cast<size_t>(w) < celle.size() ? c.riga(celle[static_cast<size_t>(w)]) : nullptr;
    if (altra == nullptr || altra == r) continue;
    const int64_t xa = c.numero(*altra, 1).value_or(0);
    const int64_t fine_altra = xa + c.numero(*altra, 3).value_or(0);
    std::string frase = "the slow-down at " + m(x) + ", to " + m(x + l) +
                        ", has the end of the slow-down at " + m(xa) + " (line " +
                        std::to_string(c.linea(*altra)) + ") inside it, at " + m(fine_altra) +
                        ": the finishing pass walks from a start to the first end it meets, so ";
    if (c.numero(*r, 2).value_or(0) < 110)
      frase += "from " + m(fine_altra) + " to " + m(x + l) +
               " this slow-down gets no code cuts "
               "every 400 m, and ";
    frase += "the first signal after its end at " + m(x + l) + " gets no cut in front of it";
    Diagnostica d = c.avviso(*r, 1, std::move(frase));
    d.collegate.push_back(c.collegata(*altra, 1, "the slow-down whose end the walk meets"));
    out->push_back(std::move(d));
  }
}

// The cells each placing row claims, replayed in reading order, to know
// what stood on a station's stop cell before the stop was written there.
void fermate(const Contesto& c, std::vector<Diagnostica>* out) {
  std::map<int64_t, const RigaLetta*> occupate;
  size_t indice = 0;  // stations read so far
  for (const RigaLetta& r : c.registro().righe) {
    const TipoRiga t = c.tipo(r);
    const auto p = c.numero(r, 1);
    if (!p) continue;
    switch (t) {
      case TipoRiga::kCartello:
      case TipoRiga::kIndicatori:
      case TipoRiga::kSegnale:
        occupate[cella_di(*p, 1)] = &r;
        break;
      case TipoRiga::kAbbattimento:
        occupate[cella_di(*p, 0)] = &r;
        break;
      case TipoRiga::kRallentamento: {
        occupate[cella_di(*p, 1)] = &r;
        occupate[cella_di(*p + c.numero(r, 3).value_or(0), 1)] = &r;
        if (*p > 1500) {
          occupate[cella_di(*p - 1200, 1)] = &r;
          if (c.numero(r, 5).value_or(0) != 0)
            for (int64_t n = 0; n < 4; ++n) occupate[cella_di(*p - 1200, 0) - n] = &r;
        }
        break;
      }
      case TipoRiga::kStazione: {
        if (c.campo_riga(r, 17) == nullptr) break;
        ++indice;
        if (indice > 80) break;
        const record_stazione& s = c.tabelle().stazioni[indice];
        if (s.tipo >= 25) break;
        const int64_t fermata = dividi_arrotonda(s.fine, 50) - 1;
        auto it = occupate.find(fermata);
        if (it != occupate.end() && it->second != &r) {
          const RigaLetta& persa = *it->second;
          const std::string cosa = Contesto::nome(c.tipo(persa));
          const std::string lei = cosa + " at " + m(c.numero(persa, 1).value_or(0));
          Diagnostica d = c.avviso(
              r, 1,
              "the stop of the station at " + m(*p) + " is written on cell " +
                  std::to_string(fermata) + ", the cell just before the end of its area (at " +
                  m(s.fine) + "), where the " + lei + " (line " + std::to_string(c.linea(persa)) +
                  ") stands: the stop overwrites it, so the " + lei +
                  " is lost; move one of the two");
          d.collegate.push_back(c.collegata(persa, 1, "the " + cosa + " the stop overwrites"));
          out->push_back(std::move(d));
        }
        occupate[fermata] = &r;
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace

void controlli_posizioni(const Contesto& c, std::vector<Diagnostica>* out) {
  if (!c.tabelle().ha_percorso()) return;
  oltre_la_linea(c, out);
  rallentamenti(c, out);
  annidati(c, out);
  fermate(c, out);
}
