#ifndef SB_TOOL_COMPILAZIONE_H_
#define SB_TOOL_COMPILAZIONE_H_

// The builder's own compile, run on an author's two sources without ever
// touching them: their bytes go into a file system held in memory under the
// names the compiler reads (and deletes, which in memory harms nothing), and
// the files it writes are taken out of memory afterwards.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "compiler/memorizza_percorso.h"
#include "compiler/registro.h"
#include "compiler/tabelle.h"

struct Compilazione {
  Tabelle tabelle;
  Registro registro;  // hung on `tabelle` for the whole compile
  EsitoCompilazione esito;
  // The files the builder writes for these sources, by file name, in the
  // order it writes them; none when the compile did not complete.
  std::vector<std::pair<std::string, std::string>> file;
};

// Compiles `linea` and `treno` as the sources of scenario `nome` with train
// `numero`; `j` is the driver's argument (0: no line table).
std::unique_ptr<Compilazione> compila_sorgenti(const std::string& linea, const std::string& treno,
                                               const std::string& nome, const std::string& numero,
                                               int32_t j);

#endif  // SB_TOOL_COMPILAZIONE_H_
