#ifndef SB_TOOL_DOCUMENTI_DOCUMENTI_AUTORE_H_
#define SB_TOOL_DOCUMENTI_DOCUMENTI_AUTORE_H_

// The driver's documents of an author's scenario: the timetable sheet and
// the slow-down order form, in the layout of the built-in ones, filled from
// the compile of the author's sources.

#include <string>
#include <vector>

#include "platform/status.h"
#include "tool/diagnosi/analisi.h"
#include "tool/diagnosi/diagnostica.h"
#include "tool/documenti/scheda_autore.h"

struct DocumentoAutore {
  std::string nome_file;  // NAME_NUMBER_scheda_treno.txt, NAME_NUMBER_rallentamenti.txt
  std::string byte;       // Windows-1252, CR LF
};

// Both documents, or the problems that keep them from being written (then
// no document at all).
struct DocumentiAutore {
  std::vector<DocumentoAutore> documenti;
  std::vector<Diagnostica> problemi;
};

// The texts the command line gives the sheet (train number, classification,
// blocked mass, all UTF-8), checked: fails, saying why, when one holds a
// letter outside Windows-1252 or is longer than its box.
Status opzioni_scheda(const std::string& numero, const std::string& classificazione,
                      const std::string& massa_bloccata, OpzioniScheda* o);

// The documents of scenario `nome` from `a`. REQUIRES: a.pulita().
DocumentiAutore documenti_autore(const Analisi& a, const std::string& nome,
                                 const std::string& numero, const OpzioniScheda& o);

#endif  // SB_TOOL_DOCUMENTI_DOCUMENTI_AUTORE_H_
