#ifndef SB_COMPILER_ESITO_COMPILAZIONE_H_
#define SB_COMPILER_ESITO_COMPILAZIONE_H_

#include <cstdint>

#include "platform/status.h"

// How a compile ended. Problems of the sources are not here: they are the
// code recorded in the tables (codice_errore), which a compile may carry
// and still complete.
struct EsitoCompilazione {
  enum class Tipo {
    kCompletato,    // the tables are finished and stamped (and, from files, written)
    kErroreFatale,  // a header check failed: `numero` (1250 or 1251) is to be shown
    kFallimento,    // a file could not be handled, or there is no grid: see `fallimento`
  };
  Tipo tipo = Tipo::kCompletato;
  int32_t numero = 0;
  Status fallimento;

  static EsitoCompilazione fatale(int32_t numero) { return {Tipo::kErroreFatale, numero, {}}; }
  static EsitoCompilazione fallita(Status s) { return {Tipo::kFallimento, 0, std::move(s)}; }
};

#endif  // SB_COMPILER_ESITO_COMPILAZIONE_H_
