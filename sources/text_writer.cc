#include "sources/text_writer.h"

#include "platform/executable_dir.h"
#include "sources/windows1252.h"

Status CodificaRighe(const TabellaRighe& righe, std::string* bytes) {
  bytes->clear();
  std::string riga;
  for (size_t indice = 0; indice < righe.size(); ++indice) {
    if (righe[indice] == riferimento_fine_file) return Status::Ok();
    size_t bad = 0;
    if (!EncodeWindows1252(righe[indice], &riga, &bad))
      return Status::Error("row " + std::to_string(indice) + " holds a character outside " +
                           "Windows-1252 at column " + std::to_string(bad));
    bytes->append(riga);
    bytes->append("\r\n");
  }
  return Status::Error("row table without its end marker");
}

Status scrivi_testo(const Destinazione& dest, const std::string& nome_file,
                    const TabellaRighe& righe) {
  std::string bytes;
  Status s = CodificaRighe(righe, &bytes);
  if (!s.ok()) return Status::Error("cannot encode '" + nome_file + "': " + s.message());
  const std::string path = JoinPath(dest.directory, nome_file);
  if (s = dest.fs->Touch(path); !s.ok()) return s;
  if (s = dest.fs->Remove(path); !s.ok()) return s;
  return dest.fs->Create(path, bytes);
}
