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

void PianoLinea::passo_dritto(Tabelle& t) {
  const double dx = x1_ - x2_;
  const double dy = y1_ - y2_;
  scrivi(t, x1_ + dx, y1_ + dy);
}

void PianoLinea::passo_curvo(Tabelle& t, double curvatura) {
  // Evaluated exactly in this order (and never contracted into fused
  // operations) so that the plan comes out bit for bit the same everywhere.
  const double dx = x1_ - x2_;
  const double dy = y1_ - y2_;
  const double x = x1_ + (dx + curvatura * dy);
  const double y = y1_ + (dy - curvatura * dx);
  scrivi(t, x, y);
}

void PianoLinea::dritto_fino_a(Tabelle& t, int64_t ultimo) {
  while (metro_ <= ultimo) passo_dritto(t);
}
