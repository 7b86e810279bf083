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

// The compiler's driver. A compile runs four stages over the working tables,
// each in its own folder: lettura/ reads the two sources (placing every
// feature through posa/), finitura/ sweeps, checks and stamps the grid, and
// uscita/ encodes and writes the three files. The driver clears the station table, reads both sources
// (deleting them), runs the finishing sweep, checks and stamps the headers
// and writes the line table (when j is non-zero), station table and grid.
EsitoCompilazione memorizza_percorso(Tabelle& t, const Ambiente& a, int32_t& j);

// Everything the driver does once the sources are read: the finishing stage
// and the output files. Fails without writing anything when there is no grid.
EsitoCompilazione finisci_percorso(Tabelle& t, const Ambiente& a);

#endif  // SB_COMPILER_MEMORIZZA_PERCORSO_H_
