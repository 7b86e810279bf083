#ifndef SB_COMPILER_USCITA_FORMATO_STAZIONI_H_
#define SB_COMPILER_USCITA_FORMATO_STAZIONI_H_

#include <array>
#include <string>
#include <string_view>

#include "compiler/tabelle.h"
#include "compiler/uscita/codifica.h"
#include "platform/status.h"

// Station table file ("<scenario>_<train>.sim"): the 87 entries of
// `stazioni`, index 0 first, each packed little-endian with no gaps; n is the
// byte count of `nome`:
//   offset  0  u8   tipo          offset 16+n  i16  d2a
//           1  i32  inizio               18+n  i16  d3a
//           5  i32  fine                 20+n  i16  d1b
//           9  i32  posizione            22+n  i16  d2b
//          13  u8   tps                  24+n  i16  d3b
//          14  u16  n                    26+n  u8   rap
//          16  n bytes of nome           27+n  u8   ac
//                                        28+n  u8   mar
//                                        29+n  u8   tab
//                                        30+n  i32  orario
// An entry takes 34 + n bytes. Fails if a name exceeds 65535 bytes.
Status codifica_stazioni(const Tabelle& t, std::string* out);

using TabellaStazioni = std::array<record_stazione, kNumeroStazioni>;

// Decodes a station table file into `*stazioni`: exactly 87 entries and not
// one byte more. Refuses an entry cut off by the end of the file, a name
// whose byte count runs past it, and bytes left after entry 86; on a refusal
// `*stazioni` is left cleared. Encoding the entries again gives `dati` back.
EsitoDecodifica decodifica_stazioni(std::string_view dati, TabellaStazioni* stazioni);

#endif  // SB_COMPILER_USCITA_FORMATO_STAZIONI_H_
