// Replays every input that ever made a fuzz target fail, through the same
// entry point the fuzzers use, in the ordinary test run.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/fuzz_compila.h"
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

}  // namespace
