#ifndef SB_TOOL_DIAGNOSI_COMPILAZIONE_H_
#define SB_TOOL_DIAGNOSI_COMPILAZIONE_H_

// The builder's own compile, run on an author's two sources as text: their
// bytes go straight to the compiler, which touches no file, and the account
// of the compile is kept beside the tables for the diagnostics. Whoever
// wants the compiled files encodes the finished tables (see
// tool/file_uscita_tool.h).

#include <cstdint>
#include <memory>
#include <string>

#include "compiler/esito_compilazione.h"
#include "compiler/registro.h"
#include "compiler/tabelle.h"

struct Compilazione {
  Tabelle tabelle;
  Registro registro;  // hung on `tabelle` for the whole compile
  EsitoCompilazione esito;
};

// Compiles `linea` and `treno` as the sources of scenario `nome` with train
// `numero`; `j` non-zero builds the plan of the line (0: no line table, as
// the builder's driver argument). `memoria`, when given, lends the memory
// of its grid and line table to the compile (both are left empty), for a
// caller that runs many compiles in a row and takes the memory back with
// riprendi_memoria: a long line's table is then not allocated, and its
// fresh pages touched, once for every compile. `senza_tabella`, with `j`
// non-zero, reads and checks the curve rows as the plan would, with the
// same codes, but builds no plan (see Tabelle::piano_senza_tabella): for a
// caller that wants the diagnostics and not the compiled files.
std::unique_ptr<Compilazione> compila_sorgenti(const std::string& linea, const std::string& treno,
                                               const std::string& nome, const std::string& numero,
                                               int32_t j, Tabelle* memoria = nullptr,
                                               bool senza_tabella = false);

// Takes the memory of `c`'s grid and line table back into `memoria`, once
// the caller is done with them; `c` is left without them.
void riprendi_memoria(Compilazione& c, Tabelle* memoria);

#endif  // SB_TOOL_DIAGNOSI_COMPILAZIONE_H_
