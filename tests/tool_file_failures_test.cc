// scenario_tool compile against real file failures, one output at a time:
// a directory standing at the output's name or at the temporary name it is
// written under, a limit on file sizes that cuts the output short, a disk
// that fills up while it is written. Whatever fails, the compile exits with
// the tool's failure status and one line naming the operation, the file
// and the system's reason; the output directory keeps exactly what it held
// before, byte for byte, with nothing half-written under an output's name
// and no temporary file left; the author's sources are untouched.
#include <gtest/gtest.h>

#ifdef __linux__

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "support/guasti_file.h"
#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"
#include "tool/comandi.h"

namespace {

namespace fs = std::filesystem;

constexpr char kLinea[] = "Lavrano_Cestelle_linea.txt";
constexpr char kTreno[] = "Lavrano_Cestelle_58121-.txt";
// The outputs in the order the tool writes them: line table, station
// table, grid.
const std::vector<std::string> kUscite = {"Lavrano_Cestelle_linea.dat",
                                          "Lavrano_Cestelle_58121.sim",
                                          "Lavrano_Cestelle_58121.dat"};
// The name beside its output that each output is written under first.
constexpr char kNuovo[] = ".scenario_tool-new";

enum class Guasto { kCartellaAlNome, kCartellaAlNuovo, kLimite, kDiscoPieno };
const char* const kNomiGuasti[] = {"DirectoryAtItsName", "DirectoryAtItsTemporaryName",
                                   "FileSizeLimit", "FullDisk"};
void PrintTo(Guasto g, std::ostream* os) { *os << kNomiGuasti[static_cast<int>(g)]; }

// The outputs of a clean compile of the built-in sources.
const std::map<std::string, std::string>& Compilati() {
  static const std::map<std::string, std::string> file = [] {
    TempDir sorgenti, uscita;
    WriteFileBytes(sorgenti.path() / kLinea, SorgenteLineaIncorporata());
    WriteFileBytes(sorgenti.path() / kTreno, SorgenteTrenoIncorporata());
    const RunResult r =
        RunToolIn(sorgenti.path(), {"compile", kLinea, kTreno, "-o", uscita.path().string()});
    EXPECT_EQ(r.exit_status, kToolOk) << r.err;
    return DirectoryFiles(uscita.path());
  }();
  return file;
}

// What the output directory holds before the compile: an earlier version
// of each output, and a file of the author's that is none of them.
std::map<std::string, std::string> Precedenti() {
  std::map<std::string, std::string> f;
  for (size_t k = 0; k < kUscite.size(); ++k)
    f[kUscite[k]] = "earlier " + kUscite[k] + std::string(3000 * (k + 1), static_cast<char>('a' + k));
  f["appunti.txt"] = "not the tool's\n";
  return f;
}

// Everything in `dir` by name: a regular file's bytes, or a mark for
// anything else.
std::map<std::string, std::string> Voci(const fs::path& dir) {
  std::map<std::string, std::string> voci;
  for (const auto& e : fs::directory_iterator(dir)) {
    std::string& v = voci[e.path().filename().string()];
    if (e.is_regular_file())
      v = ReadFileBytes(e.path());
    else if (e.is_directory())
      v = "<directory of " +
          std::to_string(std::distance(fs::directory_iterator(e.path()), {})) + " entries>";
    else
      v = "<not a file>";
  }
  return voci;
}

uint64_t InPagine(uint64_t byte) {
  const uint64_t pagina = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
  return (byte + pagina - 1) / pagina * pagina;
}

// A tmpfs room for the files already in it and the outputs written before
// output k, but for less than half of k itself (tmpfs counts whole pages).
uint64_t SpazioPerFallire(size_t k, const std::map<std::string, std::string>& presenti) {
  uint64_t byte = 0;
  for (const auto& [_, dati] : presenti) byte += InPagine(dati.size());
  for (size_t i = 0; i < k; ++i) byte += InPagine(Compilati().at(kUscite[i]).size());
  const uint64_t pagina = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
  return byte + InPagine(Compilati().at(kUscite[k]).size()) / pagina / 2 * pagina;
}

class ToolFileFailuresTest : public ::testing::TestWithParam<std::tuple<size_t, Guasto>> {};

TEST_P(ToolFileFailuresTest, LeavesTheDirectoryAsItWas) {
  const auto [k, guasto] = GetParam();
  const std::string nome = kUscite[k], nuovo = nome + kNuovo;
  const std::map<std::string, std::string>& compilati = Compilati();
  ASSERT_EQ(compilati.size(), kUscite.size());

  TempDir sorgenti, normale;
  WriteFileBytes(sorgenti.path() / kLinea, SorgenteLineaIncorporata());
  WriteFileBytes(sorgenti.path() / kTreno, SorgenteTrenoIncorporata());
  std::map<std::string, std::string> prima = Precedenti();
  if (guasto == Guasto::kCartellaAlNome) prima.erase(nome);
  std::unique_ptr<FileSystemPiccolo> piccolo;
  fs::path dir = normale.path();
  if (guasto == Guasto::kDiscoPieno) {
    piccolo = std::make_unique<FileSystemPiccolo>(SpazioPerFallire(k, prima));
    if (!piccolo->disponibile()) GTEST_SKIP() << piccolo->motivo();
    dir = piccolo->path();
  }
  for (const auto& [n, dati] : prima) WriteFileBytes(dir / n, dati);
  const std::string percorso = dir.string() + "/" + nome, temporaneo = percorso + kNuovo;

  std::string atteso;  // the line on standard error, after the command
  uint64_t limite = kSenzaLimite;
  std::unique_ptr<InterventoApertura> intervento;
  switch (guasto) {
    case Guasto::kCartellaAlNome:
      fs::create_directory(percorso);
      atteso = "cannot rename '" + temporaneo + "' to '" + percorso + "': Is a directory";
      break;
    case Guasto::kCartellaAlNuovo:
      fs::create_directory(temporaneo);
      atteso = "cannot create '" + temporaneo + "': Is a directory";
      break;
    case Guasto::kLimite:
      // A limit from the start cuts the line table alone, whatever the
      // order: it is far larger than the other two. A smaller output is cut
      // by a limit set at its own first open.
      if (k == 0) {
        limite = 1000000;
        ASSERT_GT(compilati.at(kUscite[0]).size(), limite);
        ASSERT_LT(compilati.at(kUscite[2]).size(), limite);
      } else {
        intervento = std::make_unique<InterventoApertura>(
            dir, nuovo, 1, InterventoApertura::Azione::kLimita, compilati.at(nome).size() / 2);
        if (!intervento->disponibile()) GTEST_SKIP() << intervento->motivo();
      }
      atteso = "cannot write '" + temporaneo + "': File too large";
      break;
    case Guasto::kDiscoPieno:
      atteso = "cannot write '" + temporaneo + "': No space left on device";
      break;
  }
  const std::map<std::string, std::string> voci = Voci(dir);

  const RunResult r = RunWithFileLimit(
      SB_TOOL_PATH, {"compile", kLinea, kTreno, "-o", dir.string()}, sorgenti.path(), limite);
  if (intervento != nullptr) {
    ASSERT_TRUE(intervento->intervenuto());
  }
  EXPECT_EQ(r.exit_status, kToolProblemi);
  // The failure is the last line, after the warnings of the check.
  ASSERT_FALSE(r.err.empty());
  const size_t a_capo = r.err.rfind('\n', r.err.size() - 2);
  const std::string ultima = r.err.substr(a_capo == std::string::npos ? 0 : a_capo + 1);
  EXPECT_EQ(ultima.rfind("scenario_tool compile: " + atteso, 0), 0u) << r.err;

  const std::map<std::string, std::string> dopo = Voci(dir);
  for (const auto& [n, v] : voci) {
    auto it = dopo.find(n);
    if (it == dopo.end())
      ADD_FAILURE() << n << " lost";
    else
      EXPECT_TRUE(it->second == v) << n << ": " << it->second.size() << " bytes instead of "
                                   << v.size();
  }
  for (const auto& [n, v] : dopo)
    EXPECT_EQ(voci.count(n), 1u) << n << " (" << v.size() << " bytes) left after the failure";
  EXPECT_TRUE(DirectoryFiles(sorgenti.path()) ==
              (std::map<std::string, std::string>{{kLinea, SorgenteLineaIncorporata()},
                                                  {kTreno, SorgenteTrenoIncorporata()}}));
}

std::string NomeDelCaso(const ::testing::TestParamInfo<std::tuple<size_t, Guasto>>& i) {
  std::string s =
      kUscite[std::get<0>(i.param)] + "_" + kNomiGuasti[static_cast<int>(std::get<1>(i.param))];
  for (char& c : s)
    if (c == '.') c = '_';
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    EveryOutput, ToolFileFailuresTest,
    ::testing::Combine(::testing::Range(size_t{0}, kUscite.size()),
                       ::testing::Values(Guasto::kCartellaAlNome, Guasto::kCartellaAlNuovo,
                                         Guasto::kLimite, Guasto::kDiscoPieno)),
    NomeDelCaso);

}  // namespace

#endif  // __linux__
