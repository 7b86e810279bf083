// The built program against real file failures, one file at a time, in the
// order a run handles them: the five documents, the two sources read back
// and deleted, the three binary files. A failure to write a file stops the
// run with status 1 and one line naming the operation, the path and the
// system's reason; what was written before stays complete and byte-correct,
// nothing after it is written, and a file whose writing failed part-way is
// deleted rather than left incomplete under its name. A failure to read or delete a source is
// recorded by the compiler (code 25) and the run goes on with what it has.
#include <gtest/gtest.h>

#ifdef __linux__

#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "compiler/codici_errore.h"
#include "compiler/memorizza_percorso.h"
#include "compiler/nomi_file.h"
#include "platform/executable_dir.h"
#include "support/guasti_file.h"
#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"

namespace {

namespace fs = std::filesystem;
using Azione = InterventoApertura::Azione;

const std::string kScenario = "Lavrano_Cestelle";
const std::string kTreno = "58121";

// Every file a run writes, in the order it writes them.
const std::vector<std::string> kOrdine = {
    nome_sorgente_linea(kScenario),       nome_sorgente_treno(kScenario, kTreno),
    nome_note(kScenario, kTreno),         nome_rallentamenti(kScenario, kTreno),
    nome_scheda(kScenario, kTreno),       nome_file_linea(kScenario),
    nome_file_stazioni(kScenario, kTreno), nome_file_percorso(kScenario, kTreno)};
constexpr size_t kPrimoBinario = 5;

// The bytes of every file as a normal run leaves it, the two sources as the
// writers put them on disk.
const std::map<std::string, std::string>& Riferimento() {
  static const std::map<std::string, std::string> file = [] {
    TempDir dir;
    const RunResult r = RunBuilderIn(dir.path());
    EXPECT_EQ(r.exit_status, 0) << r.err;
    std::map<std::string, std::string> f = DirectoryFiles(dir.path());
    f[kOrdine[0]] = SorgenteLineaIncorporata();
    f[kOrdine[1]] = SorgenteTrenoIncorporata();
    return f;
  }();
  return file;
}

std::string Percorso(const fs::path& dir, size_t k) {
  return (fs::canonical(dir) / kOrdine[k]).string();
}

// The files a run stopped at file k must leave, whole: every file before k,
// except the sources once the compiler has consumed them.
std::map<std::string, std::string> PrimaDi(size_t k) {
  std::map<std::string, std::string> attesi;
  for (size_t i = 0; i < k; ++i) {
    if (i < 2 && k >= kPrimoBinario) continue;
    attesi[kOrdine[i]] = Riferimento().at(kOrdine[i]);
  }
  return attesi;
}

// Checks a run in `dir` that stopped at file k with `messaggio`: the regular
// files left are exactly those of PrimaDi(k).
void VerificaFermo(const std::filesystem::path& dir, const RunResult& r, size_t k,
                   const std::string& messaggio) {
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.out, "Attendere\n");
  EXPECT_EQ(r.err, "scenario_builder: " + messaggio + "\n");
  const std::map<std::string, std::string> attesi = PrimaDi(k);
  const std::map<std::string, std::string> presenti = DirectoryFiles(dir);
  EXPECT_EQ(presenti.size(), attesi.size());
  for (const auto& [nome, byte] : attesi) {
    auto it = presenti.find(nome);
    if (it == presenti.end()) {
      ADD_FAILURE() << nome << " missing";
      continue;
    }
    EXPECT_TRUE(it->second == byte) << nome << ": " << it->second.size() << " bytes instead of "
                                    << byte.size();
  }
  for (const auto& [nome, byte] : presenti)
    EXPECT_EQ(attesi.count(nome), 1u) << nome << " left after the failure";
}

// A file name as a test name.
std::string NomeDiTest(const std::string& nome) {
  std::string s = nome;
  for (char& c : s)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return s;
}

class FileFailuresTest : public ::testing::TestWithParam<size_t> {};

// A directory standing where the file goes: the first open of the file
// fails, before anything of it is written.
TEST_P(FileFailuresTest, OpenFailsOnADirectoryInTheWay) {
  const size_t k = GetParam();
  TempDir dir;
  fs::create_directory(dir.path() / kOrdine[k]);
  const RunResult r = RunBuilderIn(dir.path());
  VerificaFermo(dir.path(), r, k, "cannot open '" + Percorso(dir.path(), k) + "': Is a directory");
  EXPECT_TRUE(fs::is_empty(dir.path() / kOrdine[k]));
}

// The file opens, but before its old content is deleted a directory takes
// its place: the delete fails.
TEST_P(FileFailuresTest, DeleteFailsWhenTheFileTurnsIntoADirectory) {
  const size_t k = GetParam();
  TempDir dir;
  InterventoApertura intervento(dir.path(), kOrdine[k], 1, Azione::kSostituisci);
  if (!intervento.disponibile()) GTEST_SKIP() << intervento.motivo();
  const RunResult r = RunBuilderIn(dir.path());
  ASSERT_TRUE(intervento.intervenuto());
  VerificaFermo(dir.path(), r, k,
                "cannot delete '" + Percorso(dir.path(), k) + "': Is a directory");
}

INSTANTIATE_TEST_SUITE_P(EveryWrittenFile, FileFailuresTest,
                         ::testing::Range(size_t{0}, kOrdine.size()),
                         [](const ::testing::TestParamInfo<size_t>& i) {
                           return NomeDiTest(kOrdine[i.param]);
                         });

// A write that runs into the limit on file sizes fails part way; the run
// deletes the part written and stops there. A limit from the start cuts the
// first file larger than it; the files smaller than an earlier one are cut
// by a limit set at their own first open.
struct Taglio {
  size_t file;
  uint64_t limite_byte;  // 0: half the file, set when the file is opened
};

void PrintTo(const Taglio& t, std::ostream* os) { *os << kOrdine[t.file]; }

class FileCutShortTest : public ::testing::TestWithParam<Taglio> {};

TEST_P(FileCutShortTest, PartWrittenIsDeleted) {
  const auto [k, limite] = GetParam();
  TempDir dir;
  std::unique_ptr<InterventoApertura> intervento;
  if (limite == 0) {
    intervento = std::make_unique<InterventoApertura>(
        dir.path(), kOrdine[k], 1, Azione::kLimita, Riferimento().at(kOrdine[k]).size() / 2);
    if (!intervento->disponibile()) GTEST_SKIP() << intervento->motivo();
  }
  const RunResult r = RunBuilderWithFileLimit(dir.path(), limite == 0 ? kSenzaLimite : limite);
  if (intervento != nullptr) {
    ASSERT_TRUE(intervento->intervenuto());
  }
  VerificaFermo(dir.path(), r, k, "cannot write '" + Percorso(dir.path(), k) + "': File too large");
}

INSTANTIATE_TEST_SUITE_P(
    LargeFiles, FileCutShortTest,
    ::testing::Values(Taglio{1, 8000},    // above the line source, below the train source
                      // above every document, and past the first pieces of the
                      // line table, which is written block by block
                      Taglio{5, 1000000},
                      Taglio{6, 0}, Taglio{7, 0}),
    [](const ::testing::TestParamInfo<Taglio>& i) { return NomeDiTest(kOrdine[i.param.file]); });

// The part written cannot be deleted either, since a directory has taken
// the file's place once it was opened: the line says both.
TEST(FileWriteLimitTest, WriteAndDeleteFailInOneLine) {
  TempDir dir;
  // The second open of a binary file is the one that creates and writes it.
  InterventoApertura intervento(dir.path(), kOrdine[5], 2, Azione::kSostituisci);
  if (!intervento.disponibile()) GTEST_SKIP() << intervento.motivo();
  const RunResult r = RunBuilderWithFileLimit(dir.path(), 100000);
  ASSERT_TRUE(intervento.intervenuto());
  const std::string path = Percorso(dir.path(), 5);
  VerificaFermo(dir.path(), r, 5,
                "cannot write '" + path + "': File too large; " +
                    "cannot delete the incomplete file either: Is a directory");
  EXPECT_EQ(ReadFileBytes(intervento.spostato()).size(), 100000u);
}

// A disk that fills up while the line table is written: room for the
// executable and the documents, not for the 3.6 MB table.
TEST(NoSpaceTest, FullFileSystemLeavesNoLineTable) {
  FileSystemPiccolo piccolo(fs::file_size(SB_EXECUTABLE_PATH) + (uint64_t{1} << 20));
  if (!piccolo.disponibile()) GTEST_SKIP() << piccolo.motivo();
  const RunResult r = RunBuilderIn(piccolo.path());
  VerificaFermo(piccolo.path(), r, 5,
                "cannot write '" + Percorso(piccolo.path(), 5) + "': No space left on device");
}

TEST(FileWriteLimitTest, FilesExactlyAtTheLimitAreWhole) {
  TempDir dir;
  const RunResult r = RunBuilderWithFileLimit(dir.path(), Riferimento().at(kOrdine[5]).size());
  EXPECT_EQ(r.exit_status, 0) << r.err;
  std::map<std::string, std::string> attesi = Riferimento();
  attesi.erase(kOrdine[0]);
  attesi.erase(kOrdine[1]);
  EXPECT_TRUE(DirectoryFiles(dir.path()) == attesi);
}

// The sources are opened three times: by the writer to make sure the file
// exists, by the writer to write it, and by the compiler to read it back.
constexpr int kLetturaSorgente = 3;

// The binary files of an in-memory compile of the built-in sources in which
// one operation on one source fails.
std::map<std::string, std::string> BinariConGuasto(MemoryFileSystem::Op op, size_t sorgente) {
  CompilazioneInMemoria c;
  c.tabelle.nome_scenario = kScenario;
  c.tabelle.numero_treno = kTreno;
  c.fs.files[JoinPath(kDirectoryMemoria, kOrdine[0])] = SorgenteLineaIncorporata();
  c.fs.files[JoinPath(kDirectoryMemoria, kOrdine[1])] = SorgenteTrenoIncorporata();
  c.fs.Fail(op, JoinPath(kDirectoryMemoria, kOrdine[sorgente]));
  int32_t j = 1;
  c.esito = memorizza_percorso(c.tabelle, Ambiente{&c.fs, kDirectoryMemoria}, j);
  EXPECT_EQ(c.esito.tipo, EsitoCompilazione::Tipo::kCompletato);
  EXPECT_EQ(c.tabelle.codice_errore, codice::kLetturaFallita);
  std::map<std::string, std::string> binari;
  for (size_t k = kPrimoBinario; k < kOrdine.size(); ++k)
    binari[kOrdine[k]] = c.fs.files[JoinPath(kDirectoryMemoria, kOrdine[k])];
  return binari;
}

// A run whose compile met a source failure: it ends normally, the documents
// are whole, no source is left as a file, and the binary files are those
// the compiler makes of the tables the failure left.
void VerificaProseguito(const TempDir& dir, const RunResult& r,
                        const std::map<std::string, std::string>& binari) {
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(r.out, "Attendere\n");
  EXPECT_EQ(r.err, "");
  std::map<std::string, std::string> attesi = PrimaDi(kPrimoBinario);
  attesi.insert(binari.begin(), binari.end());
  const std::map<std::string, std::string> presenti = DirectoryFiles(dir.path());
  EXPECT_EQ(presenti.size(), attesi.size());
  for (const auto& [nome, byte] : attesi)
    EXPECT_TRUE(presenti.count(nome) && presenti.at(nome) == byte) << nome;
}

TEST(SourceFailuresTest, LineSourceUnreadableLeavesNoGridAndStopsTheRun) {
  TempDir dir;
  InterventoApertura intervento(dir.path(), kOrdine[0], kLetturaSorgente, Azione::kRifiuta);
  if (!intervento.disponibile()) GTEST_SKIP() << intervento.motivo();
  const RunResult r = RunBuilderIn(dir.path());
  ASSERT_TRUE(intervento.intervenuto());
  // Both sources are deleted; without a grid there is nothing to write.
  VerificaFermo(dir.path(), r, kPrimoBinario,
                "cannot open '" + Percorso(dir.path(), 0) +
                    "': Operation not permitted; the line source gave no track grid (error "
                    "code 25)");
}

TEST(SourceFailuresTest, LineSourceThatCannotBeDeletedEndsTheLineHalf) {
  TempDir dir;
  InterventoApertura intervento(dir.path(), kOrdine[0], kLetturaSorgente, Azione::kSostituisci);
  if (!intervento.disponibile()) GTEST_SKIP() << intervento.motivo();
  const RunResult r = RunBuilderIn(dir.path());
  ASSERT_TRUE(intervento.intervenuto());
  const auto binari = BinariConGuasto(MemoryFileSystem::Op::kRemove, 0);
  VerificaProseguito(dir, r, binari);
  EXPECT_TRUE(fs::is_directory(dir.path() / kOrdine[0]));
  // The line half stopped before straightening the plan to its end, and the
  // train source was deleted unread.
  EXPECT_LT(binari.at(kOrdine[5]).size(), Riferimento().at(kOrdine[5]).size());
  EXPECT_NE(binari.at(kOrdine[6]), Riferimento().at(kOrdine[6]));
}

TEST(SourceFailuresTest, TrainSourceUnreadableGivesTheLineAlone) {
  TempDir dir;
  InterventoApertura intervento(dir.path(), kOrdine[1], kLetturaSorgente, Azione::kRifiuta);
  if (!intervento.disponibile()) GTEST_SKIP() << intervento.motivo();
  const RunResult r = RunBuilderIn(dir.path());
  ASSERT_TRUE(intervento.intervenuto());
  const auto binari = BinariConGuasto(MemoryFileSystem::Op::kRead, 1);
  VerificaProseguito(dir, r, binari);
  // The line is whole; the stations and signals of the train are missing.
  EXPECT_EQ(binari.at(kOrdine[5]), Riferimento().at(kOrdine[5]));
  EXPECT_NE(binari.at(kOrdine[7]), Riferimento().at(kOrdine[7]));
}

TEST(SourceFailuresTest, TrainSourceThatCannotBeDeletedIsRecorded) {
  TempDir dir;
  InterventoApertura intervento(dir.path(), kOrdine[1], kLetturaSorgente, Azione::kSostituisci);
  if (!intervento.disponibile()) GTEST_SKIP() << intervento.motivo();
  const RunResult r = RunBuilderIn(dir.path());
  ASSERT_TRUE(intervento.intervenuto());
  VerificaProseguito(dir, r, BinariConGuasto(MemoryFileSystem::Op::kRemove, 1));
  EXPECT_TRUE(fs::is_directory(dir.path() / kOrdine[1]));
  // The file the compiler read is whole, moved aside before the delete.
  EXPECT_EQ(ReadFileBytes(intervento.spostato()), Riferimento().at(kOrdine[1]));
}

}  // namespace

#endif  // __linux__
