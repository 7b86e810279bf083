#ifndef SB_COMPILER_USCITA_FORMATO_PERCORSO_H_
#define SB_COMPILER_USCITA_FORMATO_PERCORSO_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/tabelle.h"
#include "compiler/uscita/codifica.h"

// Track grid file ("<scenario>_<train>.dat"): every cell of `percorso`, cell
// 0 first, 15 bytes each, little-endian, no gaps and no header:
//   offset  0  u8   tipo          offset  9  u8  tempo
//           1  i16  dato1                10  u8  avviso
//           3  i16  dato2                11  u8  montagna
//           5  i16  dato3                12  u8  velocita
//           7  i16  dato4                13  u8  pendenza
//                                        14  u8  aderenza
std::string codifica_percorso(const Tabelle& t);

// Bytes of one cell in the file.
inline constexpr size_t kByteCella = 15;

// Decodes a track grid file into `*celle`, cell 0 first. Refuses a file that
// is not a whole number of cells or lacks the two header cells 0 and 1; on a
// refusal `*celle` is left empty. Encoding the cells again gives `dati` back.
EsitoDecodifica decodifica_percorso(std::string_view dati, std::vector<cella>* celle);

// Number of cells in the grid of a line `lunghezza` metres long (the length
// the station table carries in entry 84): cells 0 to round((lunghezza + 7000) / 50).
int64_t celle_del_percorso(int32_t lunghezza);

// Refuses a grid of `celle` cells that is not the grid of a line `lunghezza`
// metres long; the offset is where the two part ways (the end of the shorter).
EsitoDecodifica verifica_celle(size_t celle, int32_t lunghezza);

#endif  // SB_COMPILER_USCITA_FORMATO_PERCORSO_H_
