#ifndef SB_TESTS_SUPPORT_GRIGLIA_H_
#define SB_TESTS_SUPPORT_GRIGLIA_H_

#include <cstddef>
#include <cstdint>
#include <set>

#include "compiler/tabelle.h"

// Working tables whose track grid has cells 0 to n, all empty, with features
// put on chosen cells: the state the placement and the finishing pass find
// after reading, without going through the readers.
struct Griglia {
  explicit Griglia(int32_t n = 400) {
    t.numero_celle = n;
    t.percorso.resize(static_cast<size_t>(n) + 1);
  }

  Griglia& metti(int k, uint8_t tipo, int16_t dato1 = 0) {
    cella& x = t.percorso.at(static_cast<size_t>(k));
    x.tipo = tipo;
    x.dato1 = dato1;
    return *this;
  }
  // A slow-down's start and end cells, both carrying its speed.
  Griglia& rallentamento(int inizio, int fine, int16_t velocita) {
    metti(inizio, tipo_cella::kInizioRallentamento, velocita);
    return metti(fine, tipo_cella::kFineRallentamento, velocita);
  }

  // The cells holding a cut of value 180.
  std::set<int> tagli() const {
    std::set<int> s;
    for (size_t k = 0; k < t.percorso.size(); ++k)
      if (t.percorso[k].tipo == tipo_cella::kAbbattimento && t.percorso[k].dato1 == 180)
        s.insert(static_cast<int>(k));
    return s;
  }
  const cella& c(int k) const { return t.percorso.at(static_cast<size_t>(k)); }

  Tabelle t;
};

#endif  // SB_TESTS_SUPPORT_GRIGLIA_H_
