#ifndef SB_COMPILER_SORGENTE_TESTO_H_
#define SB_COMPILER_SORGENTE_TESTO_H_

#include <cstdint>
#include <string_view>

// A source as its caller found it.
struct SorgenteTesto {
  enum class Stato : uint8_t {
    kLetta,        // `testo` holds its bytes
    kMancante,     // there is no such source
    kIlleggibile,  // it exists but could not be read
  };
  Stato stato = Stato::kMancante;
  std::string_view testo;

  static SorgenteTesto di(std::string_view bytes) { return {Stato::kLetta, bytes}; }
};

#endif  // SB_COMPILER_SORGENTE_TESTO_H_
