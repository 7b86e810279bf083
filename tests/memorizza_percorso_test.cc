#include "compiler/memorizza_percorso.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/executable_dir.h"

#include <string>

#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"

namespace {

using Tipo = EsitoCompilazione::Tipo;

const std::string kScenario = "Abc";
const std::string kTreno = "7";

class MemorizzaPercorsoTest : public ::testing::Test {
 protected:
  // A grid as the readers leave it, with the identity copied into the
  // station table.
  void SetUp() override {
    t.nome_scenario = kScenario;
    t.numero_treno = kTreno;
    t.stazioni[85].nome = kScenario;
    t.stazioni[86].nome = kTreno;
    t.numero_celle = 200;
    t.percorso.resize(201);
  }

  Tabelle t;
  MemoryFileSystem fs;
  const Ambiente a{&fs, "/d"};
};

TEST_F(MemorizzaPercorsoTest, NoGridMeansNoCompileAndNoFile) {
  // The argument is copied as it is, not taken as a flag.
  int32_t j = 7;
  t.scrivi_linea = 3;
  t.stazioni[5].nome = kScenario;
  EsitoCompilazione e = memorizza_percorso(t, a, j);
  EXPECT_EQ(e.tipo, Tipo::kFallimento);
  EXPECT_EQ(e.fallimento.message().rfind("cannot compile: the line source gave no track grid", 0),
            0u)
      << e.fallimento.message();
  EXPECT_TRUE(fs.files.empty());
  EXPECT_EQ(t.scrivi_linea, 7);
  EXPECT_EQ(t.stazioni[5].nome, "");  // the station table was cleared
  EXPECT_FALSE(t.ha_percorso());      // the grid of the fixture is not taken for one
}

TEST_F(MemorizzaPercorsoTest, UnreadableLineSourceNamesTheFirstFailedFileOperation) {
  // The read of the line source fails; a failed delete of the train source
  // after it does not replace it in the message.
  const std::string linea = JoinPath("/d", "Abc_linea.txt");
  const std::string treno = JoinPath("/d", "Abc_7-.txt");
  for (bool anche_treno : {false, true}) {
    MemoryFileSystem m;
    m.files[linea] = "[generale]\r\n";
    m.files[treno] = "";
    m.Fail(MemoryFileSystem::Op::kRead, linea);
    if (anche_treno) m.Fail(MemoryFileSystem::Op::kRemove, treno);
    int32_t j = 1;
    EsitoCompilazione e = memorizza_percorso(t, Ambiente{&m, "/d"}, j);
    EXPECT_EQ(e.tipo, Tipo::kFallimento);
    EXPECT_EQ(e.fallimento.message(), "cannot read '" + linea +
                                          "': refused by the test; the line source gave no "
                                          "track grid (error code 25)");
  }
}

TEST_F(MemorizzaPercorsoTest, HeaderValuesAndCompetitionCodes) {
  EsitoCompilazione e = finisci_percorso(t, a);
  ASSERT_EQ(e.tipo, Tipo::kCompletato) << e.fallimento.message();
  EXPECT_EQ(t.percorso[1].dato1, 5121);
  EXPECT_EQ(t.percorso[1].dato2, 2492);
  EXPECT_EQ(t.stazioni[85].d2a, 610);
  EXPECT_EQ(t.stazioni[85].orario, 33523);
  // Cell 1 starts at byte 15 of the grid file.
  const std::string& griglia = fs.files[JoinPath("/d", "Abc_7.dat")];
  ASSERT_EQ(griglia.size(), 201u * 15);
  EXPECT_EQ(griglia.substr(16, 4), std::string("\x01\x14\xBC\x09", 4));
  EXPECT_EQ(fs.files.count(JoinPath("/d", "Abc_7.sim")), 1u);
  EXPECT_EQ(fs.files.count(JoinPath("/d", "Abc_linea.dat")), 0u);  // scrivi_linea is 0
}

TEST_F(MemorizzaPercorsoTest, FirstHeaderCheck) {
  t.percorso[1].tipo = 12;
  t.percorso[1].dato1 = 270;
  EsitoCompilazione e = finisci_percorso(t, a);
  EXPECT_EQ(e.tipo, Tipo::kErroreFatale);
  EXPECT_EQ(e.numero, 1250);
  EXPECT_TRUE(fs.files.empty());

  Tabelle u = t;
  u.percorso[1].dato1 = 0;
  u.stazioni[85].d2a = 1;
  EXPECT_EQ(finisci_percorso(u, a).numero, 1250);
  EXPECT_TRUE(fs.files.empty());
}

TEST_F(MemorizzaPercorsoTest, SecondHeaderCheck) {
  t.percorso[1].dato2 = 3;
  EsitoCompilazione e = finisci_percorso(t, a);
  EXPECT_EQ(e.tipo, Tipo::kErroreFatale);
  EXPECT_EQ(e.numero, 1251);
  EXPECT_EQ(t.percorso[1].dato1, 5121);  // the first header value was stored
  EXPECT_TRUE(fs.files.empty());

  Tabelle u;
  u.percorso.resize(201);
  u.stazioni[85].orario = 1;
  EXPECT_EQ(finisci_percorso(u, a).numero, 1251);
}

TEST_F(MemorizzaPercorsoTest, SweepRunsBeforeTheFiles) {
  t.percorso[100].tipo = 3;
  t.percorso[100].dato1 = 60;
  t.percorso[140].tipo = 2;
  ASSERT_EQ(finisci_percorso(t, a).tipo, Tipo::kCompletato);
  const std::string& griglia = fs.files[JoinPath("/d", "Abc_7.dat")];
  EXPECT_EQ(griglia[15 * 95], 12);
  EXPECT_EQ(griglia[15 * 139], 12);
}

TEST_F(MemorizzaPercorsoTest, FileFailureIsReported) {
  fs.Fail(MemoryFileSystem::Op::kRemove, JoinPath("/d", "Abc_7.sim"));
  EsitoCompilazione e = finisci_percorso(t, a);
  EXPECT_EQ(e.tipo, Tipo::kFallimento);
  EXPECT_NE(e.fallimento.message().find(JoinPath("/d", "Abc_7.sim")), std::string::npos);
  EXPECT_EQ(fs.files.count(JoinPath("/d", "Abc_7.dat")), 0u);
}

TEST_F(MemorizzaPercorsoTest, GridWithoutAHeaderCellIsRefused) {
  t.numero_celle = 0;
  t.percorso.resize(1);
  EsitoCompilazione e = finisci_percorso(t, a);
  EXPECT_EQ(e.tipo, Tipo::kFallimento);
  EXPECT_TRUE(fs.files.empty());
}

// The built-in scenario from its two source texts to its three files.
TEST(ScenarioCompletoTest, BuiltInSourcesCompileToTheirFiles) {
  CompilazioneInMemoria c;
  CompilaInMemoria(SorgenteLineaIncorporata(), SorgenteTrenoIncorporata(), &c);
  const Tabelle& t = c.tabelle;
  ASSERT_EQ(c.esito.tipo, Tipo::kCompletato) << c.esito.fallimento.message();
  EXPECT_EQ(t.codice_errore, 0) << "at " << t.posizione_errore;
  EXPECT_EQ(t.stazioni[84].inizio, 130);
  EXPECT_EQ(t.stazioni[84].posizione, 9);
  EXPECT_EQ(t.stazioni[86].d2a, 300);
  EXPECT_EQ(t.stazioni[86].d1b, 17);
  EXPECT_EQ(t.stazioni[86].d2b, 48);
  EXPECT_EQ(t.stazioni[86].d3b, 30);
  for (int i = 1; i <= 20; ++i) EXPECT_NE(t.stazioni[static_cast<size_t>(i)].nome, "") << i;
  EXPECT_EQ(t.stazioni[21].nome, "");
  EXPECT_EQ(t.stazioni[21].posizione, 0);

  // Both sources are consumed; the three files have the sizes of the tables.
  const std::string dir = kDirectoryMemoria;
  EXPECT_EQ(c.fs.files.count(JoinPath(dir, "Lavrano_Cestelle_linea.txt")), 0u);
  EXPECT_EQ(c.fs.files.count(JoinPath(dir, "Lavrano_Cestelle_58121-.txt")), 0u);
  EXPECT_EQ(c.fs.files[JoinPath(dir, "Lavrano_Cestelle_linea.dat")].size(), 3659964u);
  EXPECT_EQ(c.fs.files[JoinPath(dir, "Lavrano_Cestelle_58121.dat")].size(), 15u * 3661);
  // And they are the kept reference files, byte for byte.
  for (const char* nome : {"Lavrano_Cestelle_linea.dat", "Lavrano_Cestelle_58121.sim",
                           "Lavrano_Cestelle_58121.dat"}) {
    const std::string atteso = ReadFileBytes(std::filesystem::path(SB_SOURCE_DIR) / "tests" /
                                             "data" / "lavrano" / nome);
    ASSERT_FALSE(atteso.empty()) << nome;
    EXPECT_TRUE(c.fs.files[JoinPath(dir, nome)] == atteso) << nome;
  }
  const std::string& sim = c.fs.files[JoinPath(dir, "Lavrano_Cestelle_58121.sim")];
  size_t nomi = 0;
  for (const record_stazione& s : t.stazioni) nomi += s.nome.size();
  ASSERT_EQ(sim.size(), 2958 + nomi);
  // The last two entries: the scenario (50 bytes) and the train (39 bytes).
  // Each name after its 16-bit count (a literal's closing zero is the high byte).
  const std::string scenario = std::string("\x10", 2) + "Lavrano_Cestelle";
  const std::string treno = std::string("\x05", 2) + "58121";
  EXPECT_EQ(sim.substr(sim.size() - 89 + 14, 18), scenario);
  EXPECT_EQ(sim.substr(sim.size() - 39 + 14, 7), treno);
}

}  // namespace
