#include "tool/lsp/ciclo.h"

#include <string>

#include "tool/lsp/cornice.h"
#include "tool/lsp/server.h"

namespace {
// The most messages taken in before the queue is handled: enough to see a
// burst of edits and the cancellations that follow a request.
constexpr int kCodaMassima = 64;
}  // namespace

int servi_lsp(std::istream& in, std::ostream& out) {
  LettoreCornici lettore(in);
  ServerLsp server([&out](const std::string& corpo) {
    out << incornicia(corpo);
    out.flush();
  });
  bool fine = false;
  std::string corpo, errore;
  while (!fine && !server.uscito()) {
    // One message, waiting for it; then those already at hand, so that a
    // cancellation is seen before the request it cancels is answered.
    int letti = 0;
    do {
      switch (lettore.leggi(&corpo, &errore)) {
        case LettoreCornici::Esito::kMessaggio:
          server.accoda(corpo);
          break;
        case LettoreCornici::Esito::kMalformato:
          server.accoda_malformato(errore);
          break;
        case LettoreCornici::Esito::kFine:
          fine = true;
          break;
      }
    } while (!fine && ++letti < kCodaMassima && lettore.altro_in_attesa());
    server.smaltisci();
  }
  return server.stato_uscita();
}
