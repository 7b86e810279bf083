#ifndef SB_COMPILER_ARROTONDA_H_
#define SB_COMPILER_ARROTONDA_H_

#include <cmath>
#include <cstdint>

// Every rounding of the compiler takes the nearest whole number and sends an
// exact half to the even neighbour: 2.5 gives 2, 3.5 gives 4, -2.5 gives -2.

// num / den rounded, computed exactly in integers. REQUIRES: den > 0.
inline int64_t dividi_arrotonda(int64_t num, int64_t den) {
  int64_t q = num / den;
  int64_t r = num % den;
  if (r < 0) {  // floor division
    q -= 1;
    r += den;
  }
  if (2 * r > den || (2 * r == den && (q & 1) != 0)) q += 1;
  return q;
}

// The grid cell of position p (metres) with the feature's offset:
// round(p / 50 + offset).
// The offset is added before rounding: round(25 / 50 + 1) = round(1.5) = 2.
inline int64_t cella_di(int64_t p, int64_t offset) { return dividi_arrotonda(p + 50 * offset, 50); }

// x rounded, for values computed in double precision.
inline double arrotonda(double x) {
  double f = std::floor(x);
  double d = x - f;
  if (d > 0.5) return f + 1.0;
  if (d < 0.5) return f;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

#endif  // SB_COMPILER_ARROTONDA_H_
