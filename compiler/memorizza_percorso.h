#ifndef SB_COMPILER_MEMORIZZA_PERCORSO_H_
#define SB_COMPILER_MEMORIZZA_PERCORSO_H_

#include <cstdint>
#include <string>

#include "compiler/ambiente.h"
#include "compiler/tabelle.h"
#include "platform/status.h"

// How a compile ended.
struct EsitoCompilazione {
  enum class Tipo {
    kCompletato,    // the binary files are written
    kErroreFatale,  // a header check failed: `numero` is to be shown by `errore`
    kFallimento,    // a file could not be handled, or there is no grid: see `fallimento`
  };
  Tipo tipo = Tipo::kCompletato;
  std::string numero;  // "1250" or "1251"
  Status fallimento;
};

// The compiler's driver: clears the station table, reads both sources
// (deleting them), runs the finishing sweep, checks and stamps the headers
// and writes the line table (when j is non-zero), station table and grid.
EsitoCompilazione memorizza_percorso(Tabelle& t, const Ambiente& a, int32_t& j);

#endif  // SB_COMPILER_MEMORIZZA_PERCORSO_H_
