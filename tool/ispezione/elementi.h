#ifndef SB_TOOL_ISPEZIONE_ELEMENTI_H_
#define SB_TOOL_ISPEZIONE_ELEMENTI_H_

// What stands along a compiled line, in the author's words: the feature of
// a cell with its values decoded into km/h, text and times; the slow-downs
// each with its own end; the approach marks with the feature they announce;
// and, when the sources are at hand, the source row that placed each of
// them. Shared by the static picture and the live preview.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/tabelle.h"
#include "compiler/uscita/formato_stazioni.h"

// One row of an author's source: its file, its line (from 1) and the
// line's text as UTF-8.
struct RigaSorgente {
  std::string file;
  size_t riga = 0;
  std::string testo;
};

// "file:line: text" of a row.
std::string cita_riga(const RigaSorgente &r);

// Which source row is responsible for each thing of a compiled scenario;
// every entry is an index into `righe`, -1 when no row is known. An empty
// vector means nothing is known of that kind.
struct Provenienze {
  std::vector<RigaSorgente> righe;
  std::vector<int32_t> celle;  // the point feature of each cell
  std::vector<bool> aggiunte;  // a code cut the finishing pass added (for the
                               // feature of that row)
  // The stretch values of each cell: the row whose value the cell holds.
  std::vector<int32_t> velocita, pendenza, aderenza, montagna;
  std::array<int32_t, kNumeroStazioni> stazioni;  // stations, boards, kilometre changes
  Provenienze() { stazioni.fill(-1); }

  // The row of entry `indice` of `v`, or null.
  const RigaSorgente *di(const std::vector<int32_t> &v, size_t indice) const;
};

// A slow-down as the grid holds it: from its start cell to its end cell
// (the same cell when both fell into one), with its speed; `corsia` (0 up)
// keeps slow-downs that overlap, and their labels, on separate lanes.
struct Rallentamento {
  size_t inizio = 0, fine = 0;
  int velocita = 0;
  int corsia = 0;
};

// The slow-downs of `celle`, in the order of their start cells. Each start
// is paired with its own end: by the row that placed both when `p` knows
// it, otherwise the way slow-downs nest (an end closes the latest open start
// of the same speed and values, else the latest open start). A start left
// without an end ends on its own cell. `larghezza_etichetta` is the length
// along the line, in cells, that a slow-down's label takes after its end,
// for the lanes.
std::vector<Rallentamento> rallentamenti(const std::vector<cella> &celle,
                                         const Provenienze *p = nullptr,
                                         double larghezza_etichetta = 0);

// The speed the train may run at in each cell: the limit, lowered inside
// each slow-down to its speed. In km/h; 0 where a cell holds no limit.
std::vector<int> velocita_effettiva(const std::vector<cella> &celle,
                                    const std::vector<Rallentamento> &r);

// "hh:mm:ss" of a time of day in seconds.
std::string ora(int32_t secondi);

// The feature of cell `i` in words with its values decoded, e.g.
// "speed boards: A 60/60 km/h, B 65/65 km/h, C 70/70 km/h, stripes 0/0".
// Empty for a cell with nothing on it.
std::string testo_cella(const std::vector<cella> &celle, size_t i, const TabellaStazioni &st);

// The approach mark on cell `i` (its `avviso` value) and what it announces,
// the signal or station stop `*annunciata` cells ahead; empty for none.
std::string testo_avviso(const std::vector<cella> &celle, size_t i, const TabellaStazioni &st,
                         size_t *annunciata = nullptr);

// A station entry: name, kind, stretch, position and time.
std::string testo_stazione(const TabellaStazioni &st, size_t i);

// "km 12.350" of a position in metres.
std::string km(double metri);

#endif  // SB_TOOL_ISPEZIONE_ELEMENTI_H_
