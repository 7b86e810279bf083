#ifndef SB_TOOL_DOCUMENTI_CELLE_H_
#define SB_TOOL_DOCUMENTI_CELLE_H_

// Numbers of an author's scenario as the driver's documents write them.

#include <cstdint>
#include <string>

// A position in metres as kilometres with a point and three decimals:
// 16300 is "16.300", 50 is "0.050", -50 is "-0.050".
std::u16string km_testo(int64_t metri);

// The number of whole kilometres `km_testo` writes before the point,
// with its sign.
size_t cifre_km(int64_t metri);

// A time of day in seconds as hours, a point and minutes, "18.31". The
// seconds are dropped: a driver reads the minute the cab clock shows when
// the moment comes, so 18:31:40 is 18.31. Times past midnight or before it
// are read on the clock too: 24:10 is 00.10.
std::u16string ora_testo(int64_t secondi);

// A whole number in decimal digits.
std::u16string numero_testo(int64_t n);

#endif  // SB_TOOL_DOCUMENTI_CELLE_H_
