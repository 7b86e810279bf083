#ifndef SB_SOURCES_TEXT_WRITER_H_
#define SB_SOURCES_TEXT_WRITER_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"

// A document as the program carries it: rows of wide text, the last of which
// is the end marker. The marker closes the table and is never written.
using TabellaRighe = std::vector<std::u16string>;

inline constexpr std::u16string_view riferimento_fine_file = u"riferimento fine del file";

// Where the documents go and whose scenario they belong to.
struct Destinazione {
  FileSystem* fs;             // the file system the documents are written to
  std::string directory;      // directory of the running executable
  std::string nome_scenario;  // "Lavrano_Cestelle"
  std::string numero_treno;   // "58121"
};

// Encodes the rows of `righe` before the end marker, each followed by CR LF,
// in Windows-1252. Fails (a programming error in a row table) when a row
// holds a character outside the code page or the table has no end marker.
Status CodificaRighe(const TabellaRighe& righe, std::string* bytes);

// Writes one document: opens the file without truncating it (creating it
// when missing) and closes it, deletes it, creates it anew and writes the
// encoded rows. So a run always replaces the file of an earlier run whole.
Status scrivi_testo(const Destinazione& dest, const std::string& nome_file,
                    const TabellaRighe& righe);

#endif  // SB_SOURCES_TEXT_WRITER_H_
