#include "compiler/uscita/file_uscita.h"

#include "compiler/nomi_file.h"
#include "compiler/uscita/formato_linea.h"
#include "compiler/uscita/formato_percorso.h"
#include "compiler/uscita/formato_stazioni.h"
#include "platform/executable_dir.h"

Status sostituisci_file(FileSystem& fs, const std::string& path, std::string_view data) {
  WholeBytes whole(data);
  return sostituisci_file(fs, path, whole);
}

Status sostituisci_file(FileSystem& fs, const std::string& path, ByteSource& source) {
  // The first open makes sure the delete always finds a file; the file is
  // then created anew and written through one more open.
  if (Status s = fs.Touch(path); !s.ok()) return s;
  if (Status s = fs.Remove(path); !s.ok()) return s;
  return fs.CreateFrom(path, source);
}

Status scrivi_file_uscita(const Tabelle& t, const Ambiente& a) {
  if (t.scrivi_linea != 0) {
    const std::string path = JoinPath(a.directory, nome_file_linea(t.nome_scenario));
    // The largest file by far: encoded block by block as it is written,
    // never held whole beside the table.
    CodificaLinea codifica(t);
    if (Status s = sostituisci_file(*a.fs, path, codifica); !s.ok()) return s;
  }
  std::string stazioni;
  if (Status s = codifica_stazioni(t, &stazioni); !s.ok()) return s;
  const std::string path_stazioni =
      JoinPath(a.directory, nome_file_stazioni(t.nome_scenario, t.numero_treno));
  if (Status s = sostituisci_file(*a.fs, path_stazioni, stazioni); !s.ok()) return s;
  const std::string path_percorso =
      JoinPath(a.directory, nome_file_percorso(t.nome_scenario, t.numero_treno));
  return sostituisci_file(*a.fs, path_percorso, codifica_percorso(t));
}
