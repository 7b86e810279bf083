#ifndef SB_BENCH_SORGENTI_LUNGHE_H_
#define SB_BENCH_SORGENTI_LUNGHE_H_

// The sources of the benchmarks' long scenario: a line of 1,000,000 m with
// a curve in every kilometre, and a busy train over it.

#include <string>

std::string LineaLunga();
std::string TrenoLungo();

#endif  // SB_BENCH_SORGENTI_LUNGHE_H_
