// Rows whose effect depends on their order. A gradient, speed-limit or
// adhesion row holds from its cell onwards: the reader fills the cells up
// to it with the value of the row before, always at least one, and never
// goes back. A curve is integrated into the plan one metre after another,
// and a curve that starts where the plan already stands loses the metres
// before that point.
#include <algorithm>
#include <string>

#include "compiler/arrotonda.h"
#include "tool/diagnosi/controlli.h"

namespace {

std::string m(int64_t v) { return std::to_string(v) + " m"; }

std::string linea(const Contesto& c, const RigaLetta& r) {
  return "line " + std::to_string(c.linea(r));
}

// Gradients, speed limits, adhesion: where each row really takes effect.
void a_cursore(const Contesto& c, TipoRiga tipo, const char* valore,
               std::vector<Diagnostica>* out) {
  const std::string cosa = Contesto::nome(tipo);
  int64_t cursore = 0;  // next cell still to be filled
  const RigaLetta* prima = nullptr;
  for (const RigaLetta* r : c.righe_di(tipo, 2)) {
    const auto p = c.numero(*r, 1);
    if (!p) continue;
    const int64_t n = cella_di(*p, 0);
    if (n > 0) cursore = std::max(cursore + 1, n);
    const int64_t voluto = std::max<int64_t>(n, 0);
    if (prima != nullptr && cursore != voluto) {
      const int64_t p_prima = c.numero(*prima, 1).value_or(0);
      const int64_t da = 50 * cursore;
      std::string frase;
      if (*p < p_prima) {
        frase = "the " + cosa + " row at " + m(*p) + " comes after the one at " + m(p_prima) +
                " (" + linea(c, *prima) +
                "), and the compile fills the cells in the order of "
                "the rows without going back: its " +
                valore + " takes effect only from " + m(da) + ", and from " + m(50 * voluto) +
                " to " + m(da - 50) + " the " + valore + " of the rows before it stays; put the " +
                cosa + " rows in order along the line";
      } else {
        frase = "the " + cosa + " row at " + m(*p) + " falls on the cell the " + cosa + " row at " +
                m(p_prima) + " (" + linea(c, *prima) + ") already filled: its " + valore +
                " takes effect only from " + m(da) +
                "; rows of one kind need at "
                "least 50 m between them";
      }
      Diagnostica d = c.avviso(*r, 1, std::move(frase));
      d.collegate.push_back(c.collegata(*prima, 1, "the " + cosa + " row before it"));
      out->push_back(std::move(d));
    }
    prima = r;
  }
}

void curve(const Contesto& c, std::vector<Diagnostica>* out) {
  if (c.j() == 0) return;  // without a line table curve rows are not read
  int64_t metro = 2;       // the next metre of the plan to be computed
  const RigaLetta* prima = nullptr;
  for (const RigaLetta* r : c.righe_di(TipoRiga::kCurva, 2)) {
    const std::string_view chiave = c.testo_campo(r->sorgente, r->campo);
    if (chiave.find_first_of("123456") == std::string_view::npos) break;  // code 103
    const int64_t s = c.numero(*r, 1).value_or(0), l = c.numero(*r, 2).value_or(0);
    const int64_t gira_da = std::max(metro, s + 1);  // the first metre turned
    const int64_t fine = s + l;                      // the last metre the row asks for
    if (l <= 0) {
      out->push_back(c.avviso(*r, 2,
                              "the curve from " + m(s) + " is " + m(l) +
                                  " long, so not one metre of it is turned: its length counts "
                                  "forward from its start and must be above 0"));
    } else if (prima != nullptr && gira_da > s + 1) {
      const int64_t p_prima = c.numero(*prima, 1).value_or(0);
      const int64_t fine_prima = p_prima + c.numero(*prima, 2).value_or(0);
      std::string frase = "the curve from " + m(s) +
                          " starts before the plan of the line "
                          "reaches it: the curve from " +
                          m(p_prima) + " (" + linea(c, *prima) + ") ends at " + m(fine_prima) +
                          ", and the plan is built one metre "
                          "after another without going back, so ";
      if (gira_da > fine)
        frase += "this curve is not turned at all";
      else
        frase += "this one turns only from metre " + std::to_string(gira_da) + " and its first " +
                 m(gira_da - (s + 1)) + " are not turned";
      frase += "; curves must follow each other along the line without overlapping";
      Diagnostica d = c.avviso(*r, 1, std::move(frase));
      d.collegate.push_back(c.collegata(*prima, 1, "the curve before it"));
      out->push_back(std::move(d));
    }
    metro = std::max(gira_da, fine + 1);
    prima = r;
  }
}

}  // namespace

void controlli_ordine(const Contesto& c, std::vector<Diagnostica>* out) {
  if (!c.tabelle().ha_percorso()) return;
  a_cursore(c, TipoRiga::kPendenza, "gradient", out);
  curve(c, out);
  a_cursore(c, TipoRiga::kVelocita, "speed limit", out);
  a_cursore(c, TipoRiga::kAderenza, "adhesion", out);
}
