#ifndef SB_COMPILER_USCITA_FORMATO_PERCORSO_H_
#define SB_COMPILER_USCITA_FORMATO_PERCORSO_H_

#include <string>

#include "compiler/tabelle.h"

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

#endif  // SB_COMPILER_USCITA_FORMATO_PERCORSO_H_
