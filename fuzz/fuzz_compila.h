#ifndef SB_FUZZ_FUZZ_COMPILA_H_
#define SB_FUZZ_FUZZ_COMPILA_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "support/compila_memoria.h"

// What a fuzz target feeds to the compiler.
enum class Bersaglio {
  kLinea,     // the input is the line source; the train source is the built-in one
  kTreno,     // the line source is the built-in one; the input is the train source
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

#endif  // SB_FUZZ_FUZZ_COMPILA_H_
