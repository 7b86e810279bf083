#ifndef SB_COMPILER_REGISTRO_H_
#define SB_COMPILER_REGISTRO_H_

// An account of one compile, kept only when somebody asks for it: the
// authoring tool hangs a Registro on the working tables to learn where in the
// sources each field lay, which row the readers were handling, which row
// placed the feature of each grid cell and every code recorded, in order.
// The builder never sets one; then every hook below is a test of a null
// pointer, and the compile reads, places and writes exactly as without it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "compiler/tabelle.h"

enum class Sorgente : uint8_t { kLinea = 0, kTreno = 1 };

// Parts of the sources in which a row's keyword is looked for.
enum class Sezione : uint8_t {
  kGenerale,  // the "[generale]" section of the line source
  kElementi,  // the feature rows of the line source, after "[generale]"
  kTreno,     // the train source, after its "[generale]" marker
};

// One field as the field reader consumed it.
struct CampoLetto {
  enum class Tipo : uint8_t { kTesto, kU8, kI16, kI32 };
  size_t inizio = 0;  // first byte: after the blanks skipped (the quote of a quoted text)
  size_t fine = 0;    // one past its last byte, before the delimiter
  Tipo tipo = Tipo::kTesto;
  bool fallito = false;  // the read failed: the text ended, or the number is too large
};

// A field the reader examined for keywords, and what its handlers then read.
struct RigaLetta {
  Sorgente sorgente = Sorgente::kLinea;
  Sezione sezione = Sezione::kGenerale;
  size_t campo = 0;  // index, in the fields of its source, of the keyword field
  size_t fine = 0;   // one past the last field its handlers read
};

// A code as it was recorded.
struct CodiceRegistrato {
  int32_t codice = 0;
  int32_t posizione = 0;  // posizione_errore right after the code was recorded
  // The reading half that recorded it, and the row it was handling then
  // (index in `righe`, -1 for none); the finishing pass has no row of its own.
  bool passata = false;
  Sorgente sorgente = Sorgente::kLinea;
  int64_t riga = -1;
  // Finishing pass: the cell whose feature (a signal, a slow-down's start)
  // the pass was working for.
  int64_t causa = -1;
};

struct Registro {
  std::vector<CampoLetto> campi[2];  // by Sorgente
  std::vector<RigaLetta> righe;      // both sources, in reading order
  // For each grid cell, the row (index in `righe`) that placed the point
  // feature standing on it, -1 for none; `aggiunta` marks a code cut the
  // finishing pass added for the feature of that row.
  std::vector<int64_t> celle;
  std::vector<bool> aggiunta;
  std::vector<CodiceRegistrato> codici;

  std::vector<CampoLetto>& di(Sorgente s) { return campi[static_cast<size_t>(s)]; }
  // The row being handled: the last one examined.
  int64_t riga_corrente() const { return static_cast<int64_t>(righe.size()) - 1; }
};

// Hooks of the readers, the placement and the finishing pass.

// The field just read is examined for the keywords of `sezione`.
inline void nota_riga(Tabelle& t, Sorgente s, Sezione sezione) {
  if (t.registro == nullptr) return;
  RigaLetta r;
  r.sorgente = s;
  r.sezione = sezione;
  r.campo = t.registro->di(s).empty() ? 0 : t.registro->di(s).size() - 1;
  r.fine = r.campo + 1;
  t.registro->righe.push_back(r);
}

// The handlers of the row examined last are done with it.
inline void nota_fine_riga(Tabelle& t, Sorgente s) {
  if (t.registro == nullptr || t.registro->righe.empty()) return;
  t.registro->righe.back().fine = t.registro->di(s).size();
}

namespace registro_detail {
inline bool cella_nota(Registro& r, const Tabelle& t, int64_t k) {
  if (r.celle.size() != t.percorso.size()) {
    r.celle.assign(t.percorso.size(), -1);
    r.aggiunta.assign(t.percorso.size(), false);
  }
  return k >= 0 && static_cast<size_t>(k) < r.celle.size();
}
}  // namespace registro_detail

// The row being read has just placed a point feature on cell k.
inline void nota_cella(Tabelle& t, int64_t k) {
  if (t.registro == nullptr || !registro_detail::cella_nota(*t.registro, t, k)) return;
  t.registro->celle[static_cast<size_t>(k)] = t.registro->riga_corrente();
  t.registro->aggiunta[static_cast<size_t>(k)] = false;
}

// The finishing pass has just put a code cut on cell k for the feature of
// cell `causa`.
inline void nota_taglio(Tabelle& t, int64_t k, int64_t causa) {
  if (t.registro == nullptr || !registro_detail::cella_nota(*t.registro, t, k)) return;
  Registro& r = *t.registro;
  const bool nota = causa >= 0 && static_cast<size_t>(causa) < r.celle.size();
  r.celle[static_cast<size_t>(k)] = nota ? r.celle[static_cast<size_t>(causa)] : -1;
  r.aggiunta[static_cast<size_t>(k)] = true;
}

#endif  // SB_COMPILER_REGISTRO_H_
