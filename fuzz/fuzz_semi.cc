// Writes the seeds made from the built-in sources into the corpus folders
// given on the command line: <linea-dir> <treno-dir> <entrambi-dir>
// [<decodifica-dir>]. The decoders' seeds are the compiled files of the
// built-in scenario: its station table and track grid whole, and the first
// kilometre of its line table (the whole one is too long for an input).
#include <cstdio>
#include <fstream>
#include <string>

#include "compiler/uscita/formato_linea.h"
#include "platform/executable_dir.h"
#include "compiler/nomi_file.h"
#include "support/compila_memoria.h"

namespace {

bool Scrivi(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr,
                 "usage: fuzz_semi <linea-dir> <treno-dir> <entrambi-dir> [<decodifica-dir>]\n");
    return 2;
  }
  const std::string linea = SorgenteLineaIncorporata();
  const std::string treno = SorgenteTrenoIncorporata();
  bool ok = Scrivi(std::string(argv[1]) + "/incorporata.txt", linea) &&
            Scrivi(std::string(argv[2]) + "/incorporato.txt", treno) &&
            Scrivi(std::string(argv[3]) + "/incorporati.bin", linea + std::string(1, '\0') + treno);
  if (ok && argc == 5) {
    CompilazioneInMemoria c;
    CompilaInMemoria(linea, treno, &c);
    const Tabelle& t = c.tabelle;
    auto file = [&](const std::string& nome) { return c.fs.files[JoinPath(kDirectoryMemoria, nome)]; };
    Tabelle inizio;
    const size_t righe = 1000, tutte = static_cast<size_t>(t.limite_tabella) + 1;
    for (size_t k = 0; k < 2; ++k)
      for (size_t r = 0; r < righe; ++r) inizio.tabella_linea.push_back(t.tabella_linea[k * tutte + r]);
    const std::string dir = argv[4];
    ok = Scrivi(dir + "/incorporata.sim", file(nome_file_stazioni(t.nome_scenario, t.numero_treno))) &&
         Scrivi(dir + "/incorporata.dat", file(nome_file_percorso(t.nome_scenario, t.numero_treno))) &&
         Scrivi(dir + "/linea_primo_km.dat", codifica_linea(inizio));
  }
  return ok ? 0 : 1;
}
