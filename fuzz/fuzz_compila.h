#ifndef SB_FUZZ_FUZZ_COMPILA_H_
#define SB_FUZZ_FUZZ_COMPILA_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

// What a fuzz target feeds to the compiler.
enum class Bersaglio {
  kLinea,     // the input is the line source; the train source is the built-in one
  kTreno,     // the line source is the built-in one; the input is the train source
  kEntrambi,  // the input holds both, split at its first zero byte
};

// Runs the whole compile in memory on `data` and checks what must hold for
// any input: the run ends with an outcome, and the files it wrote have the
// sizes their tables give. Aborts on a broken invariant.
void CompilaIngresso(Bersaglio b, std::string_view data);

#endif  // SB_FUZZ_FUZZ_COMPILA_H_
