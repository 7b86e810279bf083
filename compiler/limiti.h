#ifndef SB_COMPILER_LIMITI_H_
#define SB_COMPILER_LIMITI_H_

// The limits of a scenario, each spelled once: the readers and the placement
// enforce them, the output relies on them, and the tool's messages quote
// them to the author.

#include <cstddef>
#include <cstdint>
#include <limits>

// The longest line the tables are built for, in metres; a curve may not
// carry the plan of the line beyond this metre either.
inline constexpr int32_t kLunghezzaMassima = 1000000;

// Track beyond the nominal end of the line, for the train to run out on: the
// grid and the plan of the line go on this far past the line's length.
inline constexpr int32_t kCodaPercorso = 7000;

// Metres of track in one cell of the grid.
inline constexpr int32_t kMetriCella = 50;

// The longest name or board text the station table can carry: its byte
// count is written in 16 bits.
inline constexpr size_t kTestoMassimo = 65535;

// The most text boards a line holds: entries kPrimoCartello down to 1.
inline constexpr int32_t kMassimoCartelli = 80;
// The most tunnel stretches a line holds (entries 1 to 80 of the lists).
inline constexpr int32_t kMassimoMontagne = 80;

// The range of a cell's 16-bit values, and of the byte fields.
inline constexpr int64_t kMinimo16 = std::numeric_limits<int16_t>::min();
inline constexpr int64_t kMassimo16 = std::numeric_limits<int16_t>::max();
inline constexpr int64_t kMassimo8 = std::numeric_limits<uint8_t>::max();

inline constexpr bool entra_i16(int64_t v) { return v >= kMinimo16 && v <= kMassimo16; }
inline constexpr bool entra_u8(int64_t v) { return v >= 0 && v <= kMassimo8; }
inline constexpr bool entra_i32(int64_t v) {
  return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

#endif  // SB_COMPILER_LIMITI_H_
