#include <cstddef>
#include <cstdint>

#include "supporto/verifica_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VerificaCheck({reinterpret_cast<const char*>(data), size});
  return 0;
}
