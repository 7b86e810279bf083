// Replays every input that ever made a fuzz target fail, through the same
// entry point the fuzzers use, in the ordinary test run.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"
#include "supporto/fuzz_compila.h"
#include "supporto/verifica_check.h"

namespace {

namespace fs = std::filesystem;

const fs::path kRegressioni = fs::path(SB_SOURCE_DIR) / "fuzz" / "regressions";

// Folders with at least one input, and the target each is replayed through.
// The others (treno, entrambi) hold only .keep so far; add them here with
// their first input.
struct Cartella {
  const char* nome;
  Bersaglio bersaglio;
};
const Cartella kCartelle[] = {{"linea", Bersaglio::kLinea}};

int Ingressi(const fs::path& dir) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file() && e.path().filename() != ".keep") ++n;
  return n;
}

TEST(FuzzRegressionTest, EveryFolderReplayedHoldsInputs) {
  for (const Cartella& c : kCartelle) {
    const fs::path dir = kRegressioni / c.nome;
    ASSERT_TRUE(fs::is_directory(dir)) << dir;
    EXPECT_GE(Ingressi(dir), 1) << dir;
    for (const auto& e : fs::directory_iterator(dir)) {
      if (!e.is_regular_file() || e.path().filename() == ".keep") continue;
      SCOPED_TRACE(e.path().string());
      CompilaIngresso(c.bersaglio, ReadFileBytes(e.path()));
    }
  }
}

// An input saved into a folder the replay does not know would never run.
TEST(FuzzRegressionTest, NoFolderWithInputsIsLeftOut) {
  std::set<std::string> note;
  for (const Cartella& c : kCartelle) note.insert(c.nome);
  note.insert("check");  // replayed through the check by CheckInputs
  for (const auto& e : fs::directory_iterator(kRegressioni)) {
    if (!e.is_directory()) continue;
    const std::string nome = e.path().filename().string();
    if (Ingressi(e.path()) > 0) {
      EXPECT_EQ(note.count(nome), 1u) << nome;
    }
  }
}

TEST(FuzzRegressionTest, CheckInputs) {
  const fs::path dir = fs::path(SB_SOURCE_DIR) / "fuzz" / "regressions" / "check";
  ASSERT_TRUE(fs::is_directory(dir)) << dir;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (!e.is_regular_file() || e.path().filename() == ".keep") continue;
    SCOPED_TRACE(e.path().string());
    VerificaCheck(ReadFileBytes(e.path()));
  }
}

// The seeds reach every code: the check's diagnostics of each must hold up.
TEST(FuzzRegressionTest, CheckOnSeeds) {
  const fs::path semi = fs::path(SB_SOURCE_DIR) / "fuzz" / "seeds";
  const std::string zero(1, '\0');
  for (const char* folder : {"linea", "treno", "entrambi"}) {
    for (const auto& e : fs::directory_iterator(semi / folder)) {
      if (!e.is_regular_file() || e.path().filename() == ".keep") continue;
      SCOPED_TRACE(e.path().string());
      const std::string b = ReadFileBytes(e.path());
      const std::string f = folder;
      if (f == "linea") VerificaCheck(b + zero + SorgenteTrenoIncorporata());
      if (f == "treno") VerificaCheck(SorgenteLineaIncorporata() + zero + b);
      if (f == "entrambi") VerificaCheck(b);
    }
  }
}

}  // namespace
