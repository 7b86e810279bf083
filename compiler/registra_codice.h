#ifndef SB_COMPILER_REGISTRA_CODICE_H_
#define SB_COMPILER_REGISTRA_CODICE_H_

// The one way a problem of the sources is recorded. A compile keeps a single
// code, `codice_errore`, with the position it concerns in `posizione_errore`;
// each new code replaces the one before. Every stage that meets a problem
// records it here, so the two fields are set in no other place, and the
// account of the compile (when the tool keeps one) learns in the same step
// which row or cell was responsible.

#include <cstdint>
#include <optional>

#include "compiler/registro.h"
#include "compiler/tabelle.h"

// Who met the problem: a reader, while it handled a row of its source, or
// the finishing pass, while it worked for the feature standing on a cell.
struct OrigineCodice {
  bool passata = false;
  Sorgente sorgente = Sorgente::kLinea;
  int64_t causa = -1;  // the pass's cell; -1 for a reader

  static OrigineCodice lettura(Sorgente s) { return {false, s, -1}; }
  static OrigineCodice finitura(int64_t cella) { return {true, Sorgente::kLinea, cella}; }
};

// Records `codice`, and `posizione` when the code has one (a code without one
// leaves the position of the code before it).
inline void registra_codice(Tabelle& t, int32_t codice, std::optional<int32_t> posizione,
                            OrigineCodice origine) {
  t.codice_errore = codice;
  if (posizione) t.posizione_errore = *posizione;
  if (t.registro == nullptr) return;
  CodiceRegistrato c;
  c.codice = codice;
  c.posizione = t.posizione_errore;
  c.passata = origine.passata;
  c.sorgente = origine.sorgente;
  c.riga = origine.passata ? -1 : t.registro->riga_corrente();
  c.causa = origine.causa;
  t.registro->codici.push_back(c);
}

// A compile starts with no code recorded; the position is only read beside
// a code, so it is left as it stands.
inline void azzera_codice(Tabelle& t) { t.codice_errore = 0; }

#endif  // SB_COMPILER_REGISTRA_CODICE_H_
