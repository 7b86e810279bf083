#ifndef SB_SUPPORTO_FUZZ_COMPILA_H_
#define SB_SUPPORTO_FUZZ_COMPILA_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "supporto/compila_memoria.h"

// What a fuzz target feeds to the compiler.
enum class Bersaglio {
  kLinea,     // the input is the line source; the train source is the built-in one
  kTreno,     // the line source is LineaDelTreno(); the input is the train source
  kEntrambi,  // the input holds both, split at its first zero byte
};

// Runs the whole compile in memory on `data` and checks what must hold for
// any input: the outcome agrees with the recorded code and with the files
// left behind, the sources are consumed, the files written have the sizes
// and the values their tables give, and without curve rows the grid does
// not depend on whether the plan of the line is built. Aborts on a broken
// invariant.
void CompilaIngresso(Bersaglio b, std::string_view data);

// The checks of CompilaIngresso on one compile made with `j` as the driver's
// argument, whose sources were both put in `c.fs` before it.
void VerificaCompilazione(const CompilazioneInMemoria& c, int32_t j);

// The line source the train target compiles against: the built-in line at
// its full length with its "[generale]" rows and its boards (the features a
// train row can collide with), without the gradient, curve and tunnel rows,
// which the train half never meets and which would cost most of each run.
const std::string& LineaDelTreno();

// A window of a built-in source as a short line of its own: every row that
// places something at a position from `inizio` on, shifted back by
// `inizio`, as long as it fits a line of `lunghezza` metres (with the
// station margin of 800 m); the length row says `lunghezza`. Rows without a
// position (markers, comments, the train's header values) stay as they are.
std::string Finestra(std::string_view sorgente, int32_t inizio, int32_t lunghezza);

// The windows the seed writer cuts from the built-in sources, long
// kLunghezzaFinestra metres each, and their starts, at most kPassoFinestre
// metres apart along the built-in line. A window keeps the rows of its first
// kPassoFinestre metres (its length less the station margin); a start is
// moved back to the start of a tunnel that the window before it cannot hold
// whole, and further back while the window would stop on a code. So
// together the windows hold every placed row of the built-in line, and each
// compiles to its end at the cost of a short line.
constexpr int32_t kLunghezzaFinestra = 8000;
constexpr int32_t kPassoFinestre = kLunghezzaFinestra - 800;
std::vector<int32_t> IniziFinestre();

#endif  // SB_SUPPORTO_FUZZ_COMPILA_H_
