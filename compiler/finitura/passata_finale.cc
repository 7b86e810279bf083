// The finishing sweep. A cut of the signal code is a cell of kind 12 whose
// value caps the code the train receives; the sweep adds cuts of 180 where
// the train must not carry a higher code into or out of a slow-down. Every
// cut goes on a free cell only, and every access stays inside the grid.
#include "compiler/finitura/passata_finale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "compiler/codici_errore.h"
#include "compiler/finitura/minimo.h"
#include "compiler/registra_codice.h"
#include "compiler/registro.h"

namespace {

constexpr int16_t kTaglio = 180;
// Slow-downs at this speed or above get no cuts along their length.
constexpr int16_t kVelocitaLenta = 110;
// A warning board looks back this many cells for signals.
constexpr int64_t kCelleDietroAvviso = 20;
// The first signal after a slow-down's end is looked for in the end cell and
// this many cells beyond.
constexpr int64_t kCelleDopoFine = 12;
// Along a slow slow-down a cut falls every this many cells (400 m).
constexpr int64_t kPassoTagli = 8;

class Passata {
 public:
  explicit Passata(Tabelle& t)
      : t_(t),
        ultima_(static_cast<int64_t>(t.percorso.size()) - 1),
        in_una_cella_(t.rallentamenti_in_una_cella) {
    std::sort(in_una_cella_.begin(), in_una_cella_.end());
  }

  void esegui() {
    for (int64_t c = 1; c <= ultima_ - 2; ++c) {
      switch (at(c).tipo) {
        case tipo_cella::kAvvisoRallentamento:
          segnali_dietro_avviso(c);
          break;
        case tipo_cella::kInizioRallentamento:
          dopo_inizio(c);
          break;
        default:
          break;
      }
    }
  }

 private:
  cella& at(int64_t k) { return t_.percorso[static_cast<size_t>(k)]; }
  bool libera_in(int64_t k) { return k >= 0 && k <= ultima_ && libera(at(k)); }
  bool taglio_in(int64_t k) {
    return k >= 0 && k <= ultima_ && at(k).tipo == tipo_cella::kAbbattimento;
  }
  void taglia(int64_t k) {
    at(k).tipo = tipo_cella::kAbbattimento;
    at(k).dato1 = kTaglio;
    nota_taglio(t_, k, causa_);
  }
  // An existing cut keeps its value when it is 180 or less.
  void limita(int64_t k) {
    at(k).dato1 = minimo(valore::Intero(kTaglio), valore::Intero(at(k).dato1)).intero;
  }
  void registra(int32_t codice, int64_t k) {
    registra_codice(t_, codice, static_cast<int32_t>(50 * k), OrigineCodice::finitura(causa_));
  }

  // Every signal in the 20 cells behind a warning board gets a cut just in
  // front of it (one or two cells), or has an existing one capped.
  void segnali_dietro_avviso(int64_t c) {
    for (int64_t m = 1; m <= kCelleDietroAvviso; ++m) {
      const int64_t d = c - m;
      if (d < 3) break;
      if (at(d).tipo != tipo_cella::kSegnale) continue;
      causa_ = d;
      if (libera_in(d - 1))
        taglia(d - 1);
      else if (libera_in(d - 2))
        taglia(d - 2);
      else if (taglio_in(d - 1))
        limita(d - 1);
      else if (taglio_in(d - 2))
        limita(d - 2);
      else
        registra(codice::kAbbattimentoSegnale, d);
    }
  }

  void dopo_inizio(int64_t c) {
    causa_ = c;
    // Three cuts behind the start, about 300, 600 and 950 m before it.
    struct Gruppo {
      int64_t soglia;
      int64_t primo;
    };
    for (const Gruppo g : {Gruppo{7, 5}, Gruppo{13, 11}, Gruppo{20, 18}}) {
      if (c <= g.soglia) continue;
      bool posto = false;
      for (int64_t k = c - g.primo; k >= c - g.primo - 2 && !posto; --k) {
        if (libera_in(k)) {
          taglia(k);
          posto = true;
        }
      }
      if (!posto) registra(codice::kAbbattimentoInizio, c);
    }

    // A slow-down whose start and end fell into one cell ends there: walking
    // on would put cuts along open line.
    if (std::binary_search(in_una_cella_.begin(), in_una_cella_.end(), c)) {
      segnale_dopo_fine(c);
      return;
    }
    const int64_t fine = at(c).dato1 < kVelocitaLenta ? lungo_il_rallentamento(c) : cella_fine(c);
    segnale_dopo_fine(fine);
  }

  // Where a walk from the start at c stops: the first end cell ahead,
  // whichever slow-down it belongs to (another slow-down's start on the way
  // is passed), or the last cell of the grid when no end comes.
  int64_t cella_fine(int64_t c) {
    int64_t w = c + 1;
    while (w < ultima_ && at(w).tipo != tipo_cella::kFineRallentamento) ++w;
    return w;
  }

  // A cut every 8th cell after the start, up to the cell where the walk
  // stops (as cella_fine), which it returns. A cut that has to move a cell
  // back or forward shifts the ones after it; one that finds no room ends
  // the cuts of this slow-down.
  int64_t lungo_il_rallentamento(int64_t c) {
    int64_t contatore = 0;
    int64_t w = c;
    do {
      ++w;
      ++contatore;
      if (contatore == kPassoTagli) {
        if (libera_in(w)) {
          taglia(w);
          contatore = 0;
        } else if (libera_in(w - 1)) {
          taglia(w - 1);
          contatore = 1;
        } else if (libera_in(w + 1)) {
          taglia(w + 1);
          contatore = -1;
        } else {
          registra(codice::kAbbattimentoPercorso, w);
        }
      }
    } while (at(w).tipo != tipo_cella::kFineRallentamento && w < ultima_);
    return w;
  }

  // The first signal in the end cell or the 12 after it gets a cut in front
  // of it; an existing cut there is left as it is.
  void segnale_dopo_fine(int64_t t) {
    const int64_t ultimo = t + kCelleDopoFine < ultima_ ? t + kCelleDopoFine : ultima_;
    for (int64_t s = t; s <= ultimo; ++s) {
      if (at(s).tipo != tipo_cella::kSegnale) continue;
      if (s - 1 > 0) {
        if (libera_in(s - 1))
          taglia(s - 1);
        else if (libera_in(s - 2))
          taglia(s - 2);
        else
          registra(codice::kAbbattimentoPercorso, t);
      }
      return;
    }
  }

  Tabelle& t_;
  int64_t ultima_;
  std::vector<int32_t> in_una_cella_;  // sorted
  // The cell whose feature the pass is working for (a signal behind a
  // warning board, a slow-down's start): only the account of the compile
  // uses it.
  int64_t causa_ = -1;
};

}  // namespace

void passata_finale(Tabelle& t) {
  if (t.percorso.empty()) return;
  Passata(t).esegui();
}
