#ifndef SB_COMPILER_VALORE_H_
#define SB_COMPILER_VALORE_H_

#include <cstdint>

// A tagged value: a 16-bit type code and the payload it names. The codes
// that occur are 0 (empty), 2 (signed 16-bit integer) and 5 (double); the
// line table holds them, and `minimo` and the competition codes return them.
// Texts (code 8) never reach a table that is written out, so no text payload
// is carried here.
struct valore {
  static constexpr uint16_t kVuoto = 0;
  static constexpr uint16_t kIntero = 2;
  static constexpr uint16_t kReale = 5;
  static constexpr uint16_t kTesto = 8;

  uint16_t codice = kVuoto;
  int16_t intero = 0;
  double reale = 0.0;

  static valore Intero(int16_t v) { return {kIntero, v, 0.0}; }
  static valore Reale(double v) { return {kReale, 0, v}; }

  // The numeric value, with integers promoted to double; 0 when empty.
  double numero() const { return codice == kReale ? reale : codice == kIntero ? intero : 0.0; }
};

#endif  // SB_COMPILER_VALORE_H_
