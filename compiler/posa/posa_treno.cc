// Placement of the train's point features: signals and slow-downs. Both claim
// only free cells and test every cell they will write before writing any, so
// a refused row leaves the grid as it was (a slow-down refused with 20 keeps
// its start, end and board, which are placed before the numbered cells are
// looked at).
#include <cstdint>
#include <limits>

#include "compiler/arrotonda.h"
#include "compiler/codici_errore.h"
#include "compiler/limiti.h"
#include "compiler/posa/posa.h"
#include "compiler/registro.h"

namespace {

bool nel_percorso(const Tabelle& t, int64_t k) {
  return k >= 0 && k < static_cast<int64_t>(t.percorso.size());
}

cella& at(Tabelle& t, int64_t k) { return t.percorso[static_cast<size_t>(k)]; }

}  // namespace

int32_t memo_segnale(Tabelle& t, int32_t posizione, int32_t& sx, int32_t& s1, int32_t& s2,
                     int32_t& s3, int32_t& rapp, int32_t& dx, int32_t& d1, int32_t& d2, int32_t& d3,
                     int32_t& tempo) {
  const int64_t k = cella_di(posizione, 1);
  if (k < 0) {  // the reader refuses a signal before the line's start first
    return codice::kFuoriPercorso;
  }
  if (!nel_percorso(t, k)) {  // the reader's grid test keeps this from happening
    return codice::kFuoriPercorso;
  }
  if (!libera(at(t, k))) {
    return codice::kSegnaleOccupato;
  }
  // The approach marks stand 2, 4, 6 and 8 cells behind the signal; a signal
  // too near the start of the line has no room for them.
  if (k - 8 < 0) {
    return codice::kAvvisiPrimaInizio;
  }

  const int64_t v1 = 10 * int64_t{s1} + d1;
  const int64_t v2 = 10 * int64_t{s2} + d2;
  const int64_t v3 = 10 * int64_t{s3} + d3;
  const int64_t v4 = 10 * int64_t{rapp} + 3 * int64_t{sx} + dx;
  // A short signal time is raised to 101; the time byte holds it only for a
  // left-side aspect of 2.
  const int32_t tempo_nuovo = (tempo >= 1 && tempo <= 100) ? 101 : tempo;
  const int64_t byte_tempo = sx == 2 ? tempo_nuovo : 0;
  const int64_t base_avviso = 30 * int64_t{sx} + 10 * int64_t{dx};
  if (!entra_i16(v1) || !entra_i16(v2) || !entra_i16(v3) || !entra_i16(v4) ||
      !entra_u8(byte_tempo) || !entra_u8(base_avviso + 1) || !entra_u8(base_avviso + 4)) {
    return codice::kValoreEccessivo;
  }

  cella& c = at(t, k);
  c.tipo = tipo_cella::kSegnale;
  nota_cella(t, k);
  c.dato4 = static_cast<int16_t>(v4);
  c.dato1 = static_cast<int16_t>(v1);
  c.dato2 = static_cast<int16_t>(v2);
  c.dato3 = static_cast<int16_t>(v3);
  tempo = tempo_nuovo;
  c.tempo = static_cast<uint8_t>(byte_tempo);
  for (int64_t n = 1; n <= 4; ++n) at(t, k - 2 * n).avviso = static_cast<uint8_t>(base_avviso + n);
  return 0;
}

int32_t memo_rallentamento(Tabelle& t, int32_t x, int32_t& v, int32_t& l, int32_t& f_tt,
                           int32_t f_ta, int32_t& d_v) {
  const int64_t ks = cella_di(x, 1);
  const int64_t ke = cella_di(int64_t{x} + l, 1);
  // The warning board stands 1200 m before the start, and only when there is
  // line enough before it.
  const bool cartello = x > 1500;
  const int64_t kw = cartello ? cella_di(int64_t{x} - 1200, 1) : 0;
  if (!cartello) f_ta = 0;

  if (ks < 0 || ke < 0) {
    return codice::kFuoriPercorso;
  }
  if (!nel_percorso(t, ks)) {  // the reader's grid test keeps this from happening
    return codice::kFuoriPercorso;
  }
  if (!nel_percorso(t, ke)) {
    return codice::kRallentamentoOltre;
  }

  if (cartello && !libera(at(t, kw))) {
    return codice::kAvvisoOccupato;
  }
  if (!libera(at(t, ks))) {
    return codice::kInizioOccupato;
  }
  if (!libera(at(t, ke))) {
    return codice::kFineOccupato;
  }
  if (!entra_i16(v) || !entra_i16(f_tt) || !entra_i16(d_v)) {
    return codice::kValoreEccessivo;
  }

  const auto v16 = static_cast<int16_t>(v);
  const auto dv16 = static_cast<int16_t>(d_v);
  // The order matters when cells coincide: a start and end in one cell end
  // up as a start, and the cell is noted beside the grid.
  at(t, ke).tipo = tipo_cella::kFineRallentamento;
  nota_cella(t, ke);
  if (d_v != 0) at(t, ke).dato2 = dv16;
  at(t, ks).tipo = tipo_cella::kInizioRallentamento;
  nota_cella(t, ks);
  if (d_v != 0) at(t, ks).dato2 = dv16;
  if (ks == ke) t.rallentamenti_in_una_cella.push_back(static_cast<int32_t>(ks));
  if (cartello) {
    at(t, kw).tipo = tipo_cella::kAvvisoRallentamento;
    nota_cella(t, kw);
    if (d_v != 0) at(t, kw).dato2 = dv16;
    at(t, kw).dato1 = v16;
  }
  at(t, ks).dato1 = v16;
  at(t, ke).dato1 = v16;
  at(t, ks).dato3 = static_cast<int16_t>(f_tt);
  at(t, ke).dato3 = static_cast<int16_t>(f_tt);

  if (f_ta != 0) {
    // The four cells just before the board, counted from the cell of the
    // board's position without the one-cell offset of point features.
    const int64_t ka = cella_di(int64_t{x} - 1200, 0);
    for (int64_t n = 0; n < 4; ++n) {
      if (!libera(at(t, ka - n))) return codice::kPrimaAvvisoOccupato;
    }
    for (int64_t n = 1; n <= 4; ++n) {
      cella& c = at(t, ka - (n - 1));
      c.tipo = tipo_cella::kPrimaDellAvviso;
      nota_cella(t, ka - (n - 1));
      c.dato1 = static_cast<int16_t>(n);
      if (d_v != 0) c.dato2 = static_cast<int16_t>(n);
    }
  }
  return 0;
}
