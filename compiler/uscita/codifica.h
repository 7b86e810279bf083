#ifndef SB_COMPILER_USCITA_CODIFICA_H_
#define SB_COMPILER_USCITA_CODIFICA_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

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

// Outcome of decoding one compiled file. A refusal names the byte offset at
// which the bytes stopped matching the layout and what the layout expected
// there; nothing decoded before it may be taken for the whole table.
struct EsitoDecodifica {
  size_t offset = 0;
  std::string atteso;  // empty when the file was decoded whole

  bool ok() const { return atteso.empty(); }
  static EsitoDecodifica Ok() { return {}; }
  static EsitoDecodifica Rifiuto(size_t offset, std::string atteso) {
    return {offset, std::move(atteso)};
  }
  // "at byte 15: expected ..." (the caller puts the file's name in front).
  std::string messaggio() const { return "at byte " + std::to_string(offset) + ": expected " + atteso; }
};

// Little-endian reader over the bytes of one file, the counterpart of the
// writers above. Every Get reads at the cursor and advances past the value;
// when fewer bytes remain than the value needs it reads nothing, records the
// refusal (offset, the field and the record named by `contesto`) and returns
// false, and every later Get fails as well. It never reads outside `dati`.
class LettoreLE {
 public:
  explicit LettoreLE(std::string_view dati) : dati_(dati) {}

  size_t offset() const { return pos_; }
  size_t restanti() const { return dati_.size() - pos_; }
  bool alla_fine() const { return pos_ == dati_.size(); }
  const EsitoDecodifica& esito() const { return esito_; }

  // What the following reads belong to, for the message ("cell 12").
  void contesto(std::string c) { contesto_ = std::move(c); }

  // Records a refusal at `offset` (only the first one counts).
  bool Rifiuta(size_t offset, std::string atteso) {
    if (esito_.ok()) esito_ = EsitoDecodifica::Rifiuto(offset, std::move(atteso));
    return false;
  }

  bool GetU8(uint8_t* v, const char* campo) {
    const unsigned char* p = Prendi(1, campo);
    if (p == nullptr) return false;
    *v = p[0];
    return true;
  }
  bool GetU16(uint16_t* v, const char* campo) {
    const unsigned char* p = Prendi(2, campo);
    if (p == nullptr) return false;
    *v = static_cast<uint16_t>(p[0] | (p[1] << 8));
    return true;
  }
  bool GetI16(int16_t* v, const char* campo) {
    uint16_t u = 0;
    if (!GetU16(&u, campo)) return false;
    *v = static_cast<int16_t>(u);
    return true;
  }
  bool GetU32(uint32_t* v, const char* campo) {
    const unsigned char* p = Prendi(4, campo);
    if (p == nullptr) return false;
    *v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return true;
  }
  bool GetI32(int32_t* v, const char* campo) {
    uint32_t u = 0;
    if (!GetU32(&u, campo)) return false;
    *v = static_cast<int32_t>(u);
    return true;
  }
  bool GetF64(double* v, const char* campo) {
    const unsigned char* p = Prendi(8, campo);
    if (p == nullptr) return false;
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
    std::memcpy(v, &bits, sizeof bits);
    return true;
  }
  // A text field: its 16-bit byte count, then that many bytes. A count that
  // runs past the end of the file is refused at the count's own offset.
  bool GetTesto(std::string* s, const char* campo) {
    const size_t inizio = pos_;
    uint16_t n = 0;
    if (!GetU16(&n, campo)) return false;
    if (n > restanti())
      return Rifiuta(inizio, std::string("a byte count of ") + campo + Di() +
                                 " within the file, found " + std::to_string(n) +
                                 " with only " + std::to_string(restanti()) + " bytes after it");
    s->assign(dati_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  // A tagged value: code 0 (empty), 2 (16-bit integer) or 5 (double) and its
  // payload. Any other code, including a reference flag, is refused: the
  // files carry no other kind of value.
  bool GetValore(valore* v) {
    const size_t inizio = pos_;
    uint16_t codice = 0;
    if (!GetU16(&codice, "value tag")) return false;
    switch (codice) {
      case valore::kVuoto:
        *v = valore{};
        return true;
      case valore::kIntero: {
        int16_t i = 0;
        if (!GetI16(&i, "16-bit integer")) return false;
        *v = valore::Intero(i);
        return true;
      }
      case valore::kReale: {
        double d = 0.0;
        if (!GetF64(&d, "double")) return false;
        *v = valore::Reale(d);
        return true;
      }
      default:
        return Rifiuta(inizio, "a value tag 0, 2 or 5 (empty, 16-bit integer, double)" + Di() +
                                   ", found " + std::to_string(codice));
    }
  }

 private:
  std::string Di() const { return contesto_.empty() ? std::string() : " of " + contesto_; }

  const unsigned char* Prendi(size_t n, const char* campo) {
    if (!esito_.ok()) return nullptr;
    if (restanti() < n) {
      Rifiuta(pos_, std::to_string(n) + " bytes of " + campo + Di() + ", found " +
                        std::to_string(restanti()) + " (the file ends there)");
      return nullptr;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(dati_.data() + pos_);
    pos_ += n;
    return p;
  }

  std::string_view dati_;
  size_t pos_ = 0;
  std::string contesto_;
  EsitoDecodifica esito_;
};

#endif  // SB_COMPILER_USCITA_CODIFICA_H_
