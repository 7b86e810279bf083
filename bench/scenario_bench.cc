// The cost of a whole compile, against the cost of merely writing its output.
//
//   BM_ScenarioInMemoria   the built-in scenario, sources and files in memory
//   BM_LineaLungaInMemoria a 1,000,000 m line with curves all along it and a
//                          busy train source, in memory
//   BM_LineaLungaSuDisco   the same, reading and writing a real directory
//   BM_UscitaSuDisco       only the last stage (finishing sweep, codes,
//                          encoding and writing) on tables shaped as the
//                          readers leave them for the long line
//   BM_ScritturaSemplice   the three output files of the long line written
//                          with plain buffered writes, the floor a compile
//                          cannot beat: /0 the bytes of the whole compile,
//                          /1 those of the last stage alone
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "compiler/memorizza_percorso.h"
#include "compiler/nomi_file.h"
#include "compiler/uscita/formato_linea.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "sources/documenti.h"
#include "sources/text_writer.h"
#include "bench/sorgenti_lunghe.h"
#include "supporto/memory_file_system.h"

namespace {

const std::string kScenario = "Lavrano_Cestelle";
const std::string kTreno = "58121";

std::string Codifica(const TabellaRighe& righe) {
  std::string b;
  if (!CodificaRighe(righe, &b).ok()) std::abort();
  return b;
}

struct Sorgenti {
  std::string linea;
  std::string treno;
};

const Sorgenti& Incorporate() {
  static const Sorgenti s{Codifica(righe_linea()), Codifica(righe_treno())};
  return s;
}

const Sorgenti& Lunghe() {
  static const Sorgenti s{LineaLunga(), TrenoLungo()};
  return s;
}

void Prepara(FileSystem& fs, const std::string& dir, const Sorgenti& s) {
  if (!fs.Create(JoinPath(dir, nome_sorgente_linea(kScenario)), s.linea).ok() ||
      !fs.Create(JoinPath(dir, nome_sorgente_treno(kScenario, kTreno)), s.treno).ok())
    std::abort();
}

// One compile; reports an error in the benchmark when it does not complete.
bool Compila(benchmark::State& state, FileSystem& fs, const std::string& dir) {
  Tabelle t;
  t.nome_scenario = kScenario;
  t.numero_treno = kTreno;
  int32_t j = 1;
  EsitoCompilazione e = memorizza_percorso(t, Ambiente{&fs, dir}, j);
  if (e.tipo != EsitoCompilazione::Tipo::kCompletato) {
    state.SkipWithError(
        ("compile did not complete: " + e.fallimento.message() + std::to_string(e.numero)).c_str());
    return false;
  }
  // A recorded code means a reader stopped early: the run would measure less.
  if (t.codice_errore != 0) {
    state.SkipWithError(("compile recorded code " + std::to_string(t.codice_errore)).c_str());
    return false;
  }
  benchmark::DoNotOptimize(t.percorso.data());
  return true;
}

void InMemoria(benchmark::State& state, const Sorgenti& s) {
  const std::string dir = "/scenario";
  for (auto _ : state) {
    MemoryFileSystem fs;
    Prepara(fs, dir, s);
    if (!Compila(state, fs, dir)) break;
  }
}

void BM_ScenarioInMemoria(benchmark::State& state) { InMemoria(state, Incorporate()); }
void BM_LineaLungaInMemoria(benchmark::State& state) { InMemoria(state, Lunghe()); }

// A scratch directory under the system's temporary directory.
class Cartella {
 public:
  Cartella() {
    std::string modello =
        (std::filesystem::temp_directory_path() / "scenario_bench_XXXXXX").string();
    if (::mkdtemp(modello.data()) == nullptr) std::abort();
    path_ = modello;
  }
  ~Cartella() { std::filesystem::remove_all(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void BM_LineaLungaSuDisco(benchmark::State& state) {
  Cartella dir;
  auto fs = MakeRealFileSystem();
  for (auto _ : state) {
    state.PauseTiming();
    Prepara(*fs, dir.path(), Lunghe());
    state.ResumeTiming();
    if (!Compila(state, *fs, dir.path())) break;
  }
}

// Tables as the readers leave them for a 1,000,000 m line: a curving plan,
// a signal every 2 km and a slow-down every 50 km on the grid.
Tabelle TabelleLunghe() {
  Tabelle t;
  t.nome_scenario = kScenario;
  t.numero_treno = kTreno;
  t.scrivi_linea = 1;
  t.limite_tabella = 1007000;
  t.numero_celle = 20140;
  t.percorso.resize(20141);
  t.tabella_linea.assign(2 * 1007001, valore{});
  t.imposta_linea(0, 0, valore::Intero(0));
  t.imposta_linea(0, 1, valore::Intero(0));
  t.imposta_linea(1, 0, valore::Intero(0));
  t.imposta_linea(1, 1, valore::Intero(1));
  for (int64_t r = 2; r <= t.limite_tabella - 2; ++r) {
    t.imposta_linea(r, 0, valore::Reale(static_cast<double>(r % 977) * 0.25));
    t.imposta_linea(r, 1, valore::Reale(static_cast<double>(r)));
  }
  for (size_t k = 23; k < t.percorso.size(); k += 40) t.percorso[k].tipo = tipo_cella::kSegnale;
  for (size_t k = 101; k + 20 < t.percorso.size(); k += 1000) {
    t.percorso[k].tipo = tipo_cella::kInizioRallentamento;
    t.percorso[k].dato1 = 60;
    t.percorso[k + 20].tipo = tipo_cella::kFineRallentamento;
    t.percorso[k - 24].tipo = tipo_cella::kAvvisoRallentamento;
  }
  for (size_t i = 1; i <= 49; ++i) t.stazioni[i].nome = "STAZIONE";
  t.stazioni[kVoceScenario].nome = kScenario;
  t.stazioni[kVoceTreno].nome = kTreno;
  return t;
}

void BM_UscitaSuDisco(benchmark::State& state) {
  const Tabelle modello = TabelleLunghe();
  Cartella dir;
  auto fs = MakeRealFileSystem();
  for (auto _ : state) {
    state.PauseTiming();
    Tabelle t = modello;
    state.ResumeTiming();
    EsitoCompilazione e = finisci_percorso(t, Ambiente{fs.get(), dir.path()});
    if (e.tipo != EsitoCompilazione::Tipo::kCompletato) {
      state.SkipWithError("output stage did not complete");
      break;
    }
  }
}

void BM_CodificaLinea(benchmark::State& state) {
  const Tabelle t = TabelleLunghe();
  for (auto _ : state) benchmark::DoNotOptimize(codifica_linea(t));
}

void BM_ScritturaSemplice(benchmark::State& state) {
  // The bytes to write: those of a whole compile, or of the last stage.
  MemoryFileSystem memoria;
  if (state.range(0) == 0) {
    Prepara(memoria, "/scenario", Lunghe());
    if (!Compila(state, memoria, "/scenario")) return;
  } else {
    Tabelle t = TabelleLunghe();
    if (finisci_percorso(t, Ambiente{&memoria, "/scenario"}).tipo !=
        EsitoCompilazione::Tipo::kCompletato)
      std::abort();
  }
  Cartella dir;
  for (auto _ : state) {
    for (const auto& [path, bytes] : memoria.files) {
      const std::string nome =
          JoinPath(dir.path(), std::filesystem::path(path).filename().string());
      std::FILE* f = std::fopen(nome.c_str(), "wb");
      if (f == nullptr) std::abort();
      if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
      if (std::fclose(f) != 0) std::abort();
    }
  }
}

}  // namespace

BENCHMARK(BM_ScenarioInMemoria)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineaLungaInMemoria)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineaLungaSuDisco)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodificaLinea)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UscitaSuDisco)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScritturaSemplice)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
