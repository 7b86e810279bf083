// Runs the built program as a user would: copied into an empty directory,
// started from somewhere else, no arguments.
#include <gtest/gtest.h>

// The POSIX build talks on the console; the Windows one shows its window and
// message boxes instead, so there tests/windows_e2e.sh runs it under Wine and
// compares its files with those of the POSIX build.
#ifndef _WIN32

#include <filesystem>

#include "sources/documenti.h"
#include "sources/text_writer.h"
#include "platform/executable_dir.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string Bytes(const TabellaRighe& righe) {
  std::string b;
  EXPECT_TRUE(CodificaRighe(righe, &b).ok());
  return b;
}

const char kNote[] = "Lavrano_Cestelle_58121_note.txt";
const char kRallentamenti[] = "Lavrano_Cestelle_58121_rallentamenti.txt";
const char kScheda[] = "Lavrano_Cestelle_58121_scheda_treno.txt";
const char kLinea[] = "Lavrano_Cestelle_linea.txt";
const char kTreno[] = "Lavrano_Cestelle_58121-.txt";

// The six files of the built-in scenario, checked independently of this
// program and kept in the source tree.
const char* const kFileScenario[] = {"Lavrano_Cestelle_58121.dat",
                                     "Lavrano_Cestelle_58121.sim",
                                     kNote,
                                     kRallentamenti,
                                     kScheda,
                                     "Lavrano_Cestelle_linea.dat"};

std::string Riferimento(const char* name) {
  return ReadFileBytes(fs::path(SB_SOURCE_DIR) / "tests" / "data" / "lavrano" / name);
}

TEST(EndToEndTest, RunInAnEmptyDirectoryWritesTheReferenceFilesByteForByte) {
  TempDir dir;
  RunResult r = RunBuilderIn(dir.path());
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(r.out, "Attendere\n");
  EXPECT_EQ(r.err, "");
  auto files = DirectoryFiles(dir.path());

  // Exactly the three documents and the three compiled files: both sources
  // were consumed.
  std::vector<std::string> names;
  for (const auto& [name, bytes] : files) names.push_back(name);
  EXPECT_EQ(names, std::vector<std::string>(std::begin(kFileScenario), std::end(kFileScenario)));
  for (const char* name : kFileScenario) {
    const std::string atteso = Riferimento(name);
    ASSERT_FALSE(atteso.empty()) << name;
    // Not EXPECT_EQ: a mismatch of 3.6 MB would flood the log.
    EXPECT_TRUE(files[name] == atteso) << name << ": " << files[name].size() << " bytes, reference "
                                       << atteso.size();
  }
  // The two sizes follow from the line length (176000 m): 2 x (10 x 183000 -
  // 18) bytes of line table, 15 bytes for each of the 3661 cells.
  EXPECT_EQ(files["Lavrano_Cestelle_linea.dat"].size(), 3659964u);
  EXPECT_EQ(files["Lavrano_Cestelle_58121.dat"].size(), 15u * 3661);
}

TEST(EndToEndTest, SecondRunGivesIdenticalFiles) {
  TempDir dir;
  ASSERT_EQ(RunBuilderIn(dir.path()).exit_status, 0);
  auto first = DirectoryFiles(dir.path());
  ASSERT_EQ(RunBuilderIn(dir.path()).exit_status, 0);
  EXPECT_EQ(DirectoryFiles(dir.path()), first);
}

TEST(EndToEndTest, LongerStaleFilesAreReplacedCompletely) {
  TempDir dir;
  for (const char* name : {kNote, kRallentamenti, kScheda, kLinea, kTreno})
    WriteFileBytes(dir.path() / name, std::string(200000, 'x'));
  ASSERT_EQ(RunBuilderIn(dir.path()).exit_status, 0);
  auto files = DirectoryFiles(dir.path());
  for (const char* name : kFileScenario) EXPECT_TRUE(files[name] == Riferimento(name)) << name;
}

TEST(EndToEndTest, UnwritableDocumentStopsTheRunWithStatusOne) {
  // Root ignores permission bits, so a directory standing where the notes
  // file should go is what makes the write fail for real.
  TempDir dir;
  fs::create_directory(dir.path() / kNote);
  RunResult r = RunBuilderIn(dir.path());
  EXPECT_EQ(r.exit_status, 1);
  const std::string path = (dir.path() / kNote).string();
  EXPECT_NE(r.err.find("'" + path + "': Is a directory"), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  auto files = DirectoryFiles(dir.path());
  // The two sources came before the notes and are complete; nothing after.
  EXPECT_EQ(files[kLinea], Bytes(righe_linea()));
  EXPECT_EQ(files[kTreno], Bytes(righe_treno()));
  EXPECT_EQ(files.count(kRallentamenti), 0u);
  EXPECT_EQ(files.count(kScheda), 0u);
}

}  // namespace

#endif  // _WIN32
