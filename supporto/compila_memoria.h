#ifndef SB_SUPPORTO_COMPILA_MEMORIA_H_
#define SB_SUPPORTO_COMPILA_MEMORIA_H_

#include <string>
#include <string_view>

#include "compiler/memorizza_percorso.h"
#include "compiler/tabelle.h"
#include "supporto/memory_file_system.h"

// The whole compile of one scenario on a file system held in memory: the two
// source texts are put where the readers look for them, then the driver
// reads, finishes, stamps and encodes the three output files into memory.
struct CompilazioneInMemoria {
  MemoryFileSystem fs;
  Tabelle tabelle;
  EsitoCompilazione esito;
};

// Directory the in-memory compile pretends to run from.
inline constexpr char kDirectoryMemoria[] = "/scenario";

// Compiles `linea` and `treno` as the line and train sources of the built-in
// scenario identity, with `j` as the driver's argument (1 builds the line
// table). REQUIRES: `out` is freshly constructed.
void CompilaInMemoria(std::string_view linea, std::string_view treno, CompilazioneInMemoria* out,
                      int32_t j = 1);

// The built-in line and train sources, as the writers put them on disk.
std::string SorgenteLineaIncorporata();
std::string SorgenteTrenoIncorporata();

// Splits fuzzer input at its first zero byte: line source before, train
// source after (all line source when there is no zero byte).
void DividiIngresso(std::string_view data, std::string_view* linea, std::string_view* treno);

#endif  // SB_SUPPORTO_COMPILA_MEMORIA_H_
