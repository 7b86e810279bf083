#include "compiler/lettura/piano_linea.h"

void PianoLinea::scrivi(Tabelle& t, double x, double y) {
  t.imposta_linea_reale(metro_, 0, x);
  t.imposta_linea_reale(metro_, 1, y);
  x2_ = x1_;
  y2_ = y1_;
  x1_ = x;
  y1_ = y;
  ++metro_;
}

void PianoLinea::passo_curvo(Tabelle& t, double curvatura) {
  if (t.piano_senza_tabella) {
    ++metro_;
    return;
  }
  // Evaluated exactly in this order (and never contracted into fused
  // operations) so that the plan comes out bit for bit the same everywhere.
  const double dx = x1_ - x2_;
  const double dy = y1_ - y2_;
  const double x = x1_ + (dx + curvatura * dy);
  const double y = y1_ + (dy - curvatura * dx);
  scrivi(t, x, y);
}

void PianoLinea::dritto_fino_a(Tabelle& t, int64_t ultimo) {
  if (metro_ > ultimo) return;
  if (t.piano_senza_tabella) {
    metro_ = ultimo + 1;
    return;
  }
  // Each straight step repeats the step before it. The rows go in one loop
  // over the two columns: the straight tail after the last curve is most of
  // the plan (7000 rows beyond the line's end on every line).
  const size_t n = static_cast<size_t>(ultimo - metro_ + 1);
  double* xs = t.tabella_linea.reali(t.indice_linea(metro_, 0), n);
  double* ys = t.tabella_linea.reali(t.indice_linea(metro_, 1), n);
  double x1 = x1_, y1 = y1_, x2 = x2_, y2 = y2_;
  for (size_t i = 0; i < n; ++i) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    x2 = x1;
    y2 = y1;
    x1 = x1 + dx;
    y1 = y1 + dy;
    xs[i] = x1;
    ys[i] = y1;
  }
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  metro_ += static_cast<int64_t>(n);
}
