#ifndef SB_TOOL_DOCUMENTI_COMANDO_H_
#define SB_TOOL_DOCUMENTI_COMANDO_H_

// The driver's documents as the commands write them: `documents` alone, and
// `compile --documents` beside the compiled files, all or nothing.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"
#include "tool/diagnosi/analisi.h"
#include "tool/documenti/documenti_autore.h"

namespace CLI {
class App;
}

struct RichiestaDocumenti {
  bool chiesti = false;
  std::string classificazione, massa_bloccata;  // UTF-8, as given
  OpzioniScheda scheda;                         // checked by controlla_richiesta
};

// Adds --classificazione and --massa-bloccata to `sub`.
void opzioni_documenti(CLI::App* sub, RichiestaDocumenti* r);

// Checks the options and train `numero` for the sheet; fails saying why.
Status controlla_richiesta(const std::string& numero, RichiestaDocumenti* r);

// The documents of `a`, a compile without problems; what keeps them from
// being written joins a's diagnostics, and then none is returned.
std::vector<DocumentoAutore> componi_documenti(Analisi& a, const RichiestaDocumenti& r,
                                               const std::string& nome, const std::string& numero);

// Writes each document whole under its final path in `dir` +
// kSuffissoNuovo, and adds the final paths to `finali`, for
// sostituisci_con_nuovi. On failure nothing of them is left.
Status scrivi_documenti_nuovi(FileSystem& fs, const std::string& dir,
                              const std::vector<DocumentoAutore>& documenti,
                              std::vector<std::string>* finali);

#endif  // SB_TOOL_DOCUMENTI_COMANDO_H_
