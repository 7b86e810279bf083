// Writes the seeds made from the built-in sources into the corpus folders
// given on the command line: <linea-dir> <treno-dir> <entrambi-dir>.
#include <cstdio>
#include <fstream>
#include <string>

#include "support/compila_memoria.h"

namespace {

bool Scrivi(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: fuzz_semi <linea-dir> <treno-dir> <entrambi-dir>\n");
    return 2;
  }
  const std::string linea = SorgenteLineaIncorporata();
  const std::string treno = SorgenteTrenoIncorporata();
  bool ok = Scrivi(std::string(argv[1]) + "/incorporata.txt", linea) &&
            Scrivi(std::string(argv[2]) + "/incorporato.txt", treno) &&
            Scrivi(std::string(argv[3]) + "/incorporati.bin", linea + std::string(1, '\0') + treno);
  return ok ? 0 : 1;
}
