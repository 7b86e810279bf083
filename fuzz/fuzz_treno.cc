#include <cstddef>
#include <cstdint>

#include "supporto/fuzz_compila.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CompilaIngresso(Bersaglio::kTreno,
                  {reinterpret_cast<const char*>(data), size});
  return 0;
}
