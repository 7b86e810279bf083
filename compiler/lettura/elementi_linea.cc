// The feature rows of the line source, after its "[generale]" section:
// gradients, curves, tunnel stretches, speed indicator boards and text
// boards. Every handler reads its numbers first, then tests its position
// against the grid, then refuses what the tables have no room for, and only
// then writes.

#include <algorithm>
#include <cstdint>
#include <string>

#include "compiler/arrotonda.h"
#include "compiler/codici_errore.h"
#include "compiler/lettura/lettura_linea.h"
#include "compiler/limiti.h"
#include "compiler/posa/posa.h"
#include "compiler/registro.h"

namespace {

// Comment fields skipped per pass of the feature loop.
constexpr int kCommentiElementi = 2;
// A curve may not carry the plan beyond this metre.
constexpr int64_t kMetroMassimo = kLunghezzaMassima;
// Lowest entry of the station table a text board may take.
constexpr int32_t kUltimoCartello = kPrimoCartello - kMassimoCartelli + 1;

// Curvature magnitudes (radians per metre) selected by the first of these
// digits that occurs in a curve keyword, tried in this order.
struct Raggio {
  const char* cifra;
  double curvatura;
};
constexpr Raggio kRaggi[] = {{"1", 0.0001}, {"2", 0.0002}, {"3", 0.0004},
                             {"4", 0.001},  {"5", 0.002},  {"6", 0.003}};

}  // namespace

LetturaLinea::Esito LetturaLinea::sezione_elementi() {
  for (;;) {
    if (campi_.fine_file()) return Esito::kAvanti;
    if (!testo()) return fallita();
    if (campi_.fine_file()) return Esito::kAvanti;  // the last field is never examined
    for (int i = 0; i < kCommentiElementi; ++i) {
      if (!contiene(t_.riga, "-")) continue;
      if (!testo()) return fallita();
      if (campi_.fine_file()) return Esito::kAvanti;
    }
    const std::string campo = t_.riga;
    nota_riga(t_, Sorgente::kLinea, Sezione::kElementi);
    const Esito e = chiavi_elementi(campo);
    nota_fine_riga(t_, Sorgente::kLinea);
    if (e == Esito::kFineFile) return Esito::kAvanti;  // code 15: finish as at the end
    if (e == Esito::kRitorno) return e;
  }
}

LetturaLinea::Esito LetturaLinea::chiavi_elementi(const std::string& campo) {
  Esito e = Esito::kAvanti;
  if (contiene_nocase(campo, "pendenza")) {
    if ((e = riga_pendenza()) != Esito::kAvanti) return e;
  }
  // Without a line table there is no plan to bend: a curve row is left
  // alone and its numbers pass by later as stray fields.
  if (contiene_nocase(campo, "curva") && t_.scrivi_linea != 0) {
    if ((e = riga_curva(campo)) != Esito::kAvanti) return e;
  }
  if (contiene_nocase(campo, "montagna")) {
    if ((e = riga_montagna()) != Esito::kAvanti) return e;
  }
  if (contiene_nocase(campo, "indicatori_v")) {
    if ((e = riga_indicatori()) != Esito::kAvanti) return e;
  }
  if (contiene_nocase(campo, "indicat") && contiene_nocase(campo, "cartello")) {
    if ((e = riga_cartello()) != Esito::kAvanti) return e;
  }
  return Esito::kAvanti;
}

LetturaLinea::Esito LetturaLinea::riga_pendenza() {
  // Gradient g holds from the cell of p on; the cells before it, back to
  // where the previous row took effect, receive the previous gradient.
  int32_t p = 0, g = 0;
  if (!numero(&p) || !numero(&g)) return fallita();
  if (!nel_percorso(p, 0)) return fuori_percorso(p);
  const int64_t n = cella_di(p, 0);
  if (n > 0) {
    // At least one cell is written even when the cursor already stands at
    // or past n, so rows out of order push the cursor on one cell each. It
    // must stay within the grid for the closing stage, which writes the
    // cell it stands on.
    if (cursore_pendenza_ >= t_.numero_celle) return chiudi(codice::kCursoreOltre, p);
    const uint8_t byte = static_cast<uint8_t>((int64_t{pendenza_precedente_} + 100) & 0xFF);
    do {
      t_.percorso[static_cast<size_t>(cursore_pendenza_)].pendenza = byte;
      ++cursore_pendenza_;
    } while (cursore_pendenza_ < n);
  }
  pendenza_precedente_ = g;
  return Esito::kAvanti;
}

LetturaLinea::Esito LetturaLinea::riga_curva(const std::string& campo) {
  int32_t inizio = 0, lunghezza = 0;
  if (!numero(&inizio) || !numero(&lunghezza)) return fallita();
  if (!nel_percorso(inizio, 0)) return fuori_percorso(inizio);
  double grandezza = 0.0;
  for (const Raggio& r : kRaggi) {
    if (contiene(campo, r.cifra)) {
      grandezza = r.curvatura;
      break;
    }
  }
  if (grandezza == 0.0) return chiudi(codice::kCurvaErrata);
  const double curvatura = contiene_nocase(campo, "s") ? -grandezza : grandezza;

  // The plan is computed up to row limite_tabella - 2; a curve ending
  // beyond it has no rows to go into.
  const int64_t fine = int64_t{inizio} + lunghezza;
  if (fine > int64_t{t_.limite_tabella} - 2) return chiudi(codice::kCurvaOltreTabella, inizio);

  // The plan only moves forward: a curve that starts behind the metre
  // already reached begins where the plan stands, losing its overlap.
  if (piano_.metro() <= inizio) {
    piano_.dritto_fino_a(t_, std::min(int64_t{inizio}, kMetroMassimo));
    if (piano_.metro() > kMetroMassimo) return chiudi(codice::kCurvaErrata);
  }
  if (t_.piano_senza_tabella) {
    // Counting metres only, the curve's steps go in one: the plan stops at
    // the first metre past the last one allowed, which it passes exactly
    // when the curve ends at or beyond it.
    if (piano_.metro() <= fine) {
      piano_.dritto_fino_a(t_, fine);
      if (piano_.metro() > kMetroMassimo) return chiudi(codice::kCurvaErrata);
    }
    return Esito::kAvanti;
  }
  while (piano_.metro() <= fine) {
    piano_.passo_curvo(t_, curvatura);
    if (piano_.metro() > kMetroMassimo) return chiudi(codice::kCurvaErrata);
  }
  return Esito::kAvanti;
}

LetturaLinea::Esito LetturaLinea::riga_montagna() {
  int32_t inizio = 0, fine = 0, tipo = 0;
  if (!numero(&inizio) || !numero(&fine) || !numero(&tipo)) return fallita();
  if (!nel_percorso(inizio, 0)) return fuori_percorso(inizio);
  // A stretch never conflicts with what stands on its cells; it is refused
  // only when the tables have no room for it.
  if (const int32_t c = memo_montagna(t_, inizio, fine, tipo); c > 0) return chiudi(c, inizio);
  return Esito::kAvanti;
}

LetturaLinea::Esito LetturaLinea::riga_indicatori() {
  int32_t posizione = 0, vas = 0, vbs = 0, vcs = 0, strisces = 0, vad = 0, vbd = 0, vcd = 0,
          strisced = 0;
  if (!numero(&posizione) || !numero(&vas) || !numero(&vbs) || !numero(&vcs) ||
      !numero(&strisces) || !numero(&vad) || !numero(&vbd) || !numero(&vcd) || !numero(&strisced))
    return fallita();
  if (!nel_percorso(posizione, 1)) return fuori_percorso(posizione);
  if (const int32_t c =
          memo_indicatori_v_max(t_, posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced);
      c > 0)
    return chiudi(c, posizione);
  return Esito::kAvanti;
}

LetturaLinea::Esito LetturaLinea::riga_cartello() {
  // The board text is the rest of the row: it holds no comma, and its
  // parentheses and inner blanks are kept as they stand.
  int32_t p = 0;
  if (!numero(&p) || !testo()) return fallita();
  if (!nel_percorso(p, 1)) return fuori_percorso(p);
  cella& c = t_.percorso[static_cast<size_t>(cella_di(p, 1))];
  if (!libera(c)) return chiudi(codice::kCartelloOccupato, p);
  // Boards take the station entries from 80 down; below entry 1 there is
  // no room left.
  if (indice_cartello_ < kUltimoCartello) return chiudi(codice::kTroppiCartelli, p);
  if (t_.riga.size() > kTestoMassimo) return chiudi(codice::kValoreEccessivo, p);
  c.tipo = tipo_cella::kCartello;
  c.dato1 = static_cast<int16_t>(indice_cartello_);
  nota_cella(t_, cella_di(p, 1));
  t_.stazioni[static_cast<size_t>(indice_cartello_)].nome = t_.riga;
  --indice_cartello_;
  return Esito::kAvanti;
}
