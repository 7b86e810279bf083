// Writes the seeds made from the built-in sources into the corpus folders
// given on the command line: <linea-dir> <treno-dir> <entrambi-dir>
// [<decodifica-dir>].
//
// The line and combined folders get windows of the built-in line a few
// kilometres long, which together hold every row of it, rather than the
// whole line. A compile costs about as much as the line is long (its grid
// and its plan, a row per metre, 7000 rows beyond its end), and the
// fuzzers' mutations keep a seed's length: a corpus grown from the whole
// 176 km line would spend most of its time on a few long inputs. The train
// folder gets the whole built-in train, compiled against the whole line
// without its plan.
//
// The decoders' seeds are the compiled files of the built-in scenario: its
// station table and track grid whole, and the first kilometre of its line
// table (the whole one is too long for an input).
#include <cstdio>
#include <fstream>
#include <string>

#include "compiler/nomi_file.h"
#include "compiler/uscita/formato_linea.h"
#include "platform/executable_dir.h"
#include "supporto/compila_memoria.h"
#include "supporto/fuzz_compila.h"

namespace {

bool Scrivi(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out);
}

bool ScriviSemiDecodifica(const std::string& dir, const std::string& linea,
                          const std::string& treno) {
  CompilazioneInMemoria c;
  CompilaInMemoria(linea, treno, &c);
  const Tabelle& t = c.tabelle;
  auto file = [&](const std::string& nome) { return c.fs.files[JoinPath(kDirectoryMemoria, nome)]; };
  Tabelle inizio;
  const size_t righe = 1000, tutte = static_cast<size_t>(t.limite_tabella) + 1;
  inizio.tabella_linea.assign(2 * righe, valore{});
  for (size_t k = 0; k < 2; ++k)
    for (size_t r = 0; r < righe; ++r)
      inizio.tabella_linea.imposta(k * righe + r, t.tabella_linea[k * tutte + r]);
  return Scrivi(dir + "/incorporata.sim", file(nome_file_stazioni(t.nome_scenario, t.numero_treno))) &&
         Scrivi(dir + "/incorporata.dat", file(nome_file_percorso(t.nome_scenario, t.numero_treno))) &&
         Scrivi(dir + "/linea_primo_km.dat", codifica_linea(inizio));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr,
                 "usage: fuzz_semi <linea-dir> <treno-dir> <entrambi-dir> [<decodifica-dir>]\n");
    return 2;
  }
  const std::string dir_linea = argv[1], dir_treno = argv[2], dir_entrambi = argv[3];
  const std::string linea = SorgenteLineaIncorporata();
  const std::string treno = SorgenteTrenoIncorporata();
  bool ok = Scrivi(dir_treno + "/incorporato.txt", treno);
  for (int32_t inizio : IniziFinestre()) {
    const std::string nome = "/finestra_" + std::to_string(inizio);
    const std::string corta = Finestra(linea, inizio, kLunghezzaFinestra);
    ok = ok && Scrivi(dir_linea + nome + ".txt", corta) &&
         Scrivi(dir_entrambi + nome + ".bin",
                corta + std::string(1, '\0') + Finestra(treno, inizio, kLunghezzaFinestra));
  }
  if (ok && argc == 5) ok = ScriviSemiDecodifica(argv[4], linea, treno);
  return ok ? 0 : 1;
}
