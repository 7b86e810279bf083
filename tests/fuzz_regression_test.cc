// Replays every input that ever made a fuzz target fail, through the same
// entry point the fuzzers use, in the ordinary test run.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/fuzz_compila.h"
#include "fuzz/verifica_check.h"
#include "support/compila_memoria.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

void Replay(const char* folder, Bersaglio b) {
  const fs::path dir = fs::path(SB_SOURCE_DIR) / "fuzz" / "regressions" / folder;
  ASSERT_TRUE(fs::is_directory(dir)) << dir;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (!e.is_regular_file() || e.path().filename() == ".keep") continue;
    SCOPED_TRACE(e.path().string());
    CompilaIngresso(b, ReadFileBytes(e.path()));
  }
}

TEST(FuzzRegressionTest, LineSourceInputs) { Replay("linea", Bersaglio::kLinea); }
TEST(FuzzRegressionTest, TrainSourceInputs) { Replay("treno", Bersaglio::kTreno); }
TEST(FuzzRegressionTest, CombinedInputs) { Replay("entrambi", Bersaglio::kEntrambi); }

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
