#include "compiler/finitura/codice_gara.h"

#include <cstdint>
#include <string>

namespace {

constexpr char kRiempimento[] = "aabbccddeeffgghhiillmmnnoo";
constexpr size_t kCaratteri = 25;

// The lower-case letter of a Windows-1252 byte; other bytes are unchanged.
unsigned char minuscola(unsigned char b) {
  if (b >= 'A' && b <= 'Z') return static_cast<unsigned char>(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<unsigned char>(b + 32);  // À..Þ
  switch (b) {
    case 0x8A:
      return 0x9A;  // Š
    case 0x8C:
      return 0x9C;  // Œ
    case 0x8E:
      return 0x9E;  // Ž
    case 0x9F:
      return 0xFF;  // Ÿ
    default:
      return b;
  }
}

// Builds the code text in `riga`; it always has at least 26 characters.
void testo_codice(Tabelle& t) {
  t.riga = t.stazioni[kVoceTreno].nome + t.stazioni[kVoceScenario].nome;
  for (char& ch : t.riga) ch = static_cast<char>(minuscola(static_cast<unsigned char>(ch)));
  t.riga += kRiempimento;
}

unsigned codice_carattere(const std::string& s, size_t i) {
  return static_cast<unsigned char>(s[i]);
}

}  // namespace

valore codice_gara_st(Tabelle& t) {
  testo_codice(t);
  int64_t somma = 0;
  for (size_t i = 0; i < kCaratteri; ++i)
    somma += static_cast<int64_t>(i + 1) * codice_carattere(t.riga, i);
  return valore::Reale(static_cast<double>(somma));
}

valore codice_gara_og(Tabelle& t) {
  testo_codice(t);
  int64_t somma = 0;
  for (size_t i = 0; i < kCaratteri; ++i) somma += codice_carattere(t.riga, i);
  return valore::Intero(static_cast<int16_t>(somma));
}
