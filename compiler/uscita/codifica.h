#ifndef SB_COMPILER_USCITA_CODIFICA_H_
#define SB_COMPILER_USCITA_CODIFICA_H_

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "compiler/valore.h"

// Little-endian writers for the binary files. Each puts one value at `p`,
// which must have room for it, and returns the byte after it. Signed values
// are two's complement, doubles IEEE 754 binary64.

inline char* PutU8(char* p, uint8_t v) {
  *p = static_cast<char>(v);
  return p + 1;
}

// On a little-endian host a value's own bytes are already in file order.
// The byte-by-byte branches below serve a big-endian host only; on the
// little-endian machines this is built and tested on they never run.
template <typename T>
inline char* PutNativo(char* p, T v) {
  std::memcpy(p, &v, sizeof v);
  return p + sizeof v;
}

inline char* PutU16(char* p, uint16_t v) {
  if constexpr (std::endian::native == std::endian::little) return PutNativo(p, v);
  p[0] = static_cast<char>(v & 0xFF);
  p[1] = static_cast<char>(v >> 8);
  return p + 2;
}

inline char* PutI16(char* p, int16_t v) { return PutU16(p, static_cast<uint16_t>(v)); }

inline char* PutU32(char* p, uint32_t v) {
  if constexpr (std::endian::native == std::endian::little) return PutNativo(p, v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return p + 4;
}

inline char* PutI32(char* p, int32_t v) { return PutU32(p, static_cast<uint32_t>(v)); }

inline char* PutF64(char* p, double v) {
  uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  if constexpr (std::endian::native == std::endian::little) return PutNativo(p, bits);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return p + 8;
}

// A text field: a 16-bit byte count, then the bytes.
// REQUIRES: the text has at most 65535 bytes.
inline char* PutTesto(char* p, std::string_view s) {
  p = PutU16(p, static_cast<uint16_t>(s.size()));
  if (!s.empty()) std::memcpy(p, s.data(), s.size());
  return p + s.size();
}

// A tagged value is its 16-bit code and the payload the code names: nothing
// for an empty value, 2 bytes for a 16-bit integer, 8 for a double. Any
// other code has no payload that the files can carry and is written empty.
// At most 10 bytes.
inline char* PutValore(char* p, const valore& v) {
  switch (v.codice) {
    case valore::kIntero:
      return PutI16(PutU16(p, valore::kIntero), v.intero);
    case valore::kReale:
      return PutF64(PutU16(p, valore::kReale), v.reale);
    default:
      return PutU16(p, valore::kVuoto);
  }
}

#endif  // SB_COMPILER_USCITA_CODIFICA_H_
