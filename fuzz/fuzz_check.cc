#include <cstddef>
#include <cstdint>

#include "fuzz/verifica_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VerificaCheck({reinterpret_cast<const char*>(data), size});
  return 0;
}
