#ifndef SB_COMPILER_LETTURA_PIANO_LINEA_H_
#define SB_COMPILER_LETTURA_PIANO_LINEA_H_

#include <cstdint>

#include "compiler/tabelle.h"

// The plan of the line, built one metre at a time into `tabella_linea`.
// Each step repeats the step vector of the metre before it, turned by the
// curvature (radians per metre, to first order, never renormalised), so the
// plan only needs the last two rows, which it keeps at hand. Without a
// table (Tabelle::piano_senza_tabella) it only counts the metres.
class PianoLinea {
 public:
  // Starts at metre 2, after rows 0 and 1 = (0, 0), (0, 1): the origin,
  // heading along +y one unit per metre.
  PianoLinea() = default;

  // Next metre to be computed.
  int64_t metro() const { return metro_; }

  // Writes rows straight on up to row `ultimo` (none when the plan is
  // already past it). REQUIRES: ultimo <= limite_tabella.
  void dritto_fino_a(Tabelle& t, int64_t ultimo);

  // Writes the next row turned by `curvatura` and advances; a positive value
  // turns from +y towards +x. REQUIRES: metro() <= limite_tabella.
  void passo_curvo(Tabelle& t, double curvatura);

 private:
  void scrivi(Tabelle& t, double x, double y);

  int64_t metro_ = 2;
  double x1_ = 0.0, y1_ = 1.0;  // row metro_ - 1
  double x2_ = 0.0, y2_ = 0.0;  // row metro_ - 2
};

#endif  // SB_COMPILER_LETTURA_PIANO_LINEA_H_
