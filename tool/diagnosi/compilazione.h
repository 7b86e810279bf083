#ifndef SB_TOOL_DIAGNOSI_COMPILAZIONE_H_
#define SB_TOOL_DIAGNOSI_COMPILAZIONE_H_

// The builder's own compile, run on an author's two sources without ever
// touching them: their bytes are read from memory under the names the
// compiler reads (and deletes, which in memory harms nothing), and the files
// it writes are streamed to temporary names in a destination directory, for
// the caller to put in place or to throw away (see FileSystemCompilazione).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiler/memorizza_percorso.h"
#include "compiler/registro.h"
#include "compiler/tabelle.h"
#include "platform/file_system.h"
#include "platform/status.h"

struct Compilazione {
  Tabelle tabelle;
  Registro registro;  // hung on `tabelle` for the whole compile
  EsitoCompilazione esito;
  // The final paths of the files the builder wrote for these sources, in
  // the order it writes them, each complete under path + destinazione.suffisso;
  // none when the compile did not complete or had no destination.
  std::vector<std::string> scritti;
  // Why an output could not be written to the destination; when it fails,
  // `scritti` holds the temporaries written before it.
  Status guasto_scrittura;
};

// Where a compile's outputs go: the directory `directory` of `fs`.
// Each output is written under its final name + `suffisso`, for the
// caller to put in place or throw away.
struct DestinazioneUscite {
  FileSystem* fs;
  std::string directory;
  std::string suffisso;
};

// Compiles `linea` and `treno` as the sources of scenario `nome` with train
// `numero`; `j` is the driver's argument (0: no line table). Without a
// destination the outputs are neither encoded nor written. `memoria`, when
// given, lends the memory of its grid and line table to the compile (both
// are left empty), for a caller that runs many compiles in a row and takes
// the memory back with riprendi_memoria: a long line's table is then not
// allocated, and its fresh pages touched, once for every compile.
std::unique_ptr<Compilazione> compila_sorgenti(const std::string& linea, const std::string& treno,
                                               const std::string& nome, const std::string& numero,
                                               int32_t j,
                                               const DestinazioneUscite* destinazione = nullptr,
                                               Tabelle* memoria = nullptr);

// Takes the memory of `c`'s grid and line table back into `memoria`, once
// the caller is done with them; `c` is left without them.
void riprendi_memoria(Compilazione& c, Tabelle* memoria);

#endif  // SB_TOOL_DIAGNOSI_COMPILAZIONE_H_
