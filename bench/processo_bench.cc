// Whole process against whole process: the built program, and the compile
// of a 1,000,000 m line, each against a floor process that merely writes the
// same files' bytes with one write each. Runs are paired and alternate in
// order (program first, then floor first), so that whatever else the
// machine is doing weighs on both alike; the figures are medians.
//
//   processo_bench BUILDER COMPILA PAVIMENTO [RUNS] [--tool]
//   processo_bench --sources DIR
//
// BUILDER is the built scenario_builder, PAVIMENTO the floor program. For
// the long line, COMPILA is run as `COMPILA DIR` on a directory that holds
// the built-in sources with the length row changed to 1000000; with --tool,
// COMPILA is the authoring tool and is run as `COMPILA compile LINE TRAIN -o DIR`
// on the sources in DIR instead.
// Peak memory is the child's maximum resident set (wait4). The second form
// only writes the long line's sources into DIR, to run a compile by hand.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "compiler/nomi_file.h"
#include "sources/documenti.h"
#include "sources/text_writer.h"

namespace fs = std::filesystem;

namespace {

const std::string kScenario = "Lavrano_Cestelle";
const std::string kTreno = "58121";

struct Misura {
  double secondi = 0;    // wall time
  double cpu = 0;        // user and system time of the child
  long picco_kib = 0;    // maximum resident set of the child
};

[[noreturn]] void Fallisci(const std::string& what) {
  std::fprintf(stderr, "processo_bench: %s\n", what.c_str());
  std::exit(1);
}

// Runs `argv` as a child in `dir` and waits for it; a child that fails
// ends the benchmark, since its time would mean nothing.
Misura Esegui(const std::vector<std::string>& argv, const fs::path& dir) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const auto inizio = std::chrono::steady_clock::now();
  pid_t pid = ::fork();
  if (pid < 0) Fallisci("fork failed");
  if (pid == 0) {
    if (::chdir(dir.c_str()) != 0) ::_exit(126);
    // The builder's console line ("Attendere") would only clutter the report.
    if (int nulla = ::open("/dev/null", O_WRONLY); nulla >= 0) ::dup2(nulla, 1);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  int stato = 0;
  struct rusage uso {};
  if (::wait4(pid, &stato, 0, &uso) != pid) Fallisci("wait4 failed");
  const auto fine = std::chrono::steady_clock::now();
  if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 0) Fallisci(argv[0] + " failed");
  auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
  return {std::chrono::duration<double>(fine - inizio).count(), s(uso.ru_utime) + s(uso.ru_stime),
          uso.ru_maxrss};
}

std::string Leggi(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) Fallisci("cannot read " + p.string());
  return {std::istreambuf_iterator<char>(in), {}};
}

void Scrivi(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Fallisci("cannot write " + p.string());
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One case: `programma` before each of its runs by `prepara`, the floor
// writing `nomi` from `riferimento` into a fresh directory.
struct Caso {
  std::string titolo;
  std::vector<std::string> programma;
  fs::path cartella;
  void (*prepara)(const fs::path&);
  std::vector<std::string> nomi;
};

void Misura_caso(const Caso& c, const std::string& pavimento, const fs::path& lavoro, int corse) {
  // A first run, not counted, makes the reference files and warms the caches.
  c.prepara(c.cartella);
  Esegui(c.programma, c.cartella);
  const fs::path riferimento = lavoro / "riferimento";
  fs::remove_all(riferimento);
  fs::create_directories(riferimento);
  uintmax_t massimo = 0;
  for (const std::string& n : c.nomi) {
    fs::copy_file(c.cartella / n, riferimento / n);
    massimo = std::max(massimo, fs::file_size(riferimento / n));
  }
  std::vector<double> tp, tf, cp, cf, rapporti;
  long picco_p = 0, picco_f = 0;
  for (int i = 0; i < corse; ++i) {
    const fs::path fresca = lavoro / ("pavimento" + std::to_string(i));
    fs::create_directories(fresca);
    std::vector<std::string> argv_f = {pavimento, riferimento.string(), fresca.string()};
    argv_f.insert(argv_f.end(), c.nomi.begin(), c.nomi.end());
    Misura p, f;
    if (i % 2 == 0) {
      c.prepara(c.cartella);
      p = Esegui(c.programma, c.cartella);
      f = Esegui(argv_f, fresca);
    } else {
      f = Esegui(argv_f, fresca);
      c.prepara(c.cartella);
      p = Esegui(c.programma, c.cartella);
    }
    fs::remove_all(fresca);
    tp.push_back(p.secondi);
    tf.push_back(f.secondi);
    cp.push_back(p.cpu);
    cf.push_back(f.cpu);
    rapporti.push_back(p.secondi / f.secondi);
    picco_p = std::max(picco_p, p.picco_kib);
    picco_f = std::max(picco_f, f.picco_kib);
  }
  // The last run's files must still be the reference's, byte for byte.
  for (const std::string& n : c.nomi)
    if (Leggi(c.cartella / n) != Leggi(riferimento / n)) Fallisci(n + " changed between runs");
  const double mp = Mediana(tp), mf = Mediana(tf);
  const double limite = static_cast<double>(massimo) / 1048576.0 + 16.0;
  std::printf("%s (%d paired runs)\n", c.titolo.c_str(), corse);
  std::printf("  program  median %7.2f ms wall, %7.2f ms cpu   peak %6.1f MiB\n", mp * 1e3,
              Mediana(cp) * 1e3, picco_p / 1024.0);
  std::printf("  floor    median %7.2f ms wall, %7.2f ms cpu   peak %6.1f MiB\n", mf * 1e3,
              Mediana(cf) * 1e3, picco_f / 1024.0);
  std::printf("  ratio of medians %.2f   median of paired ratios %.2f   (goal <= 1.50)\n",
              mp / mf, Mediana(rapporti));
  std::printf("  largest file %.1f MiB: memory goal <= %.1f MiB\n\n",
              static_cast<double>(massimo) / 1048576.0, limite);
}

void Nulla(const fs::path&) {}

// The built-in sources with the length row changed to 1000000.
void SorgentiLunghe(const fs::path& dir) {
  static std::string linea, treno;
  if (linea.empty()) {
    TabellaRighe righe = righe_linea();
    bool trovata = false;
    for (std::u16string& r : righe)
      if (r.rfind(u"lunghezza percorso,", 0) == 0) {
        r = u"lunghezza percorso,    1000000";
        trovata = true;
      }
    if (!trovata) Fallisci("the line source has no length row");
    if (!CodificaRighe(righe, &linea).ok() || !CodificaRighe(righe_treno(), &treno).ok())
      Fallisci("cannot encode the sources");
  }
  Scrivi(dir / nome_sorgente_linea(kScenario), linea);
  Scrivi(dir / nome_sorgente_treno(kScenario, kTreno), treno);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // `processo_bench --sources DIR` only writes the long line's sources.
  if (args.size() == 2 && args[0] == "--sources") {
    SorgentiLunghe(args[1]);
    return 0;
  }
  const bool tool = std::erase(args, "--tool") > 0;
  if (args.size() < 3 || args.size() > 4) {
    std::fprintf(stderr, "usage: processo_bench BUILDER COMPILA PAVIMENTO [RUNS] [--tool]\n");
    return 2;
  }
  const int corse = args.size() == 4 ? std::atoi(args[3].c_str()) : 21;
  const std::string builder = fs::absolute(args[0]).string();
  const std::string compila = fs::absolute(args[1]).string();
  const std::string pavimento = fs::absolute(args[2]).string();

  char modello[] = "/tmp/processo_bench.XXXXXX";
  if (!::mkdtemp(modello)) Fallisci("mkdtemp failed");
  const fs::path lavoro = modello;

  // The builder writes next to its own executable, so it runs from a copy.
  const fs::path dir_builder = lavoro / "builder";
  fs::create_directories(dir_builder);
  fs::copy_file(builder, dir_builder / "scenario_builder");
  Caso incorporato{"built-in scenario: scenario_builder, six files",
                   {(dir_builder / "scenario_builder").string()},
                   dir_builder,
                   Nulla,
                   {nome_scheda(kScenario, kTreno), nome_rallentamenti(kScenario, kTreno),
                    nome_note(kScenario, kTreno), nome_file_linea(kScenario),
                    nome_file_stazioni(kScenario, kTreno), nome_file_percorso(kScenario, kTreno)}};

  const fs::path dir_lunga = lavoro / "lunga";
  fs::create_directories(dir_lunga);
  std::vector<std::string> argv_c = {compila};
  if (tool) {
    argv_c.insert(argv_c.end(), {"compile", (dir_lunga / nome_sorgente_linea(kScenario)).string(),
                                 (dir_lunga / nome_sorgente_treno(kScenario, kTreno)).string(),
                                 "-o", dir_lunga.string()});
  } else {
    argv_c.push_back(dir_lunga.string());
  }
  Caso lunga{std::string("1,000,000 m line: ") + (tool ? "scenario_tool compile" : "compile") +
                 ", three files",
             argv_c,
             dir_lunga,
             SorgentiLunghe,
             {nome_file_linea(kScenario), nome_file_stazioni(kScenario, kTreno),
              nome_file_percorso(kScenario, kTreno)}};

  Misura_caso(incorporato, pavimento, lavoro, corse);
  Misura_caso(lunga, pavimento, lavoro, corse);
  fs::remove_all(lavoro);
  return 0;
}
