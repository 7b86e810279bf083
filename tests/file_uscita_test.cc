#include "compiler/uscita/file_uscita.h"

#include <gtest/gtest.h>

#include "platform/executable_dir.h"

#include <bit>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "compiler/uscita/codifica.h"
#include "compiler/uscita/formato_linea.h"
#include "compiler/uscita/formato_percorso.h"
#include "compiler/uscita/formato_stazioni.h"
#include "supporto/memory_file_system.h"

namespace {

std::string Byte(std::initializer_list<int> b) {
  std::string s;
  for (int x : b) s.push_back(static_cast<char>(x));
  return s;
}

// The line table as the line reader leaves it for a complete line.
void TabellaCompleta(Tabelle& t, int32_t limite) {
  t.limite_tabella = limite;
  t.tabella_linea.assign(2 * (static_cast<size_t>(limite) + 1), valore{});
  t.imposta_linea(0, 0, valore::Intero(0));
  t.imposta_linea(0, 1, valore::Intero(0));
  t.imposta_linea(1, 0, valore::Intero(0));
  t.imposta_linea(1, 1, valore::Intero(1));
  for (int64_t r = 2; r <= limite - 2; ++r) {
    t.imposta_linea(r, 0, valore::Reale(0.0));
    t.imposta_linea(r, 1, valore::Reale(static_cast<double>(r)));
  }
}

TEST(FormatoTest, CellTakes15LittleEndianBytes) {
  Tabelle t;
  t.percorso.resize(3);
  cella& c = t.percorso[1];
  c.tipo = 1;
  c.dato1 = 5121;
  c.dato2 = -2;
  c.dato3 = 0x0304;
  c.dato4 = 8;
  c.tempo = 101;
  c.avviso = 81;
  c.montagna = 3;
  c.velocita = 22;
  c.pendenza = 88;
  c.aderenza = 90;
  std::string b = codifica_percorso(t);
  ASSERT_EQ(b.size(), 45u);
  EXPECT_EQ(b.substr(0, 15), std::string(15, '\0'));
  EXPECT_EQ(b.substr(15, 15),
            Byte({1, 0x01, 0x14, 0xFE, 0xFF, 0x04, 0x03, 8, 0, 101, 81, 3, 22, 88, 90}));
}

TEST(FormatoTest, StationEntryLayout) {
  Tabelle t;
  record_stazione& s = t.stazioni[1];
  s.tipo = 12;
  s.inizio = 108150;
  s.fine = -1;
  s.posizione = 0x01020304;
  s.tps = 7;
  s.nome = "ORVIETO";
  s.d2a = 1;
  s.d3a = -1;
  s.d1b = 4;
  s.d2b = 0x0102;
  s.d3b = 3;
  s.rap = 9;
  s.ac = 60;
  s.mar = 1;
  s.tab = 2;
  s.orario = 66660;
  t.stazioni[85].nome = "Lavrano_Cestelle";
  t.stazioni[86].nome = "58121";
  std::string b;
  ASSERT_TRUE(codifica_stazioni(t, &b).ok());
  ASSERT_EQ(b.size(), 87u * 34 + 7 + 16 + 5);
  EXPECT_EQ(b.substr(0, 34), Byte({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(
      b.substr(34, 41),
      Byte({12, 0x76, 0xA6, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 7, 7, 0}) +
          "ORVIETO" +
          Byte({1, 0, 0xFF, 0xFF, 4, 0, 0x02, 0x01, 3, 0, 9, 60, 1, 2, 0x64, 0x04, 0x01, 0x00}));
  // Entries 85 and 86 are the last two: 50 and 39 bytes.
  const size_t e85 = b.size() - 50 - 39;
  EXPECT_EQ(b.substr(e85 + 14, 18), Byte({16, 0}) + "Lavrano_Cestelle");
  EXPECT_EQ(b.substr(e85 + 50 + 14, 7), Byte({5, 0}) + "58121");
}

TEST(FormatoTest, NameTooLongForItsCountIsRefused) {
  Tabelle t;
  t.stazioni[3].nome = std::string(65536, 'A');
  std::string b;
  Status s = codifica_stazioni(t, &b);
  EXPECT_FALSE(s.ok());
  EXPECT_NE(s.message().find("entry 3"), std::string::npos);
  t.stazioni[3].nome.pop_back();
  EXPECT_TRUE(codifica_stazioni(t, &b).ok());
}

TEST(FormatoTest, CompleteLineTableSize) {
  Tabelle t;
  TabellaCompleta(t, 183000);
  std::string b = codifica_linea(t);
  ASSERT_EQ(b.size(), 3659964u);
  EXPECT_EQ(b.substr(0, 8), Byte({2, 0, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(b.substr(8, 2), Byte({5, 0}));
  // Column 0 ends with two empty values; column 1 starts right after.
  const size_t colonna = 10 * 183000 - 18;
  EXPECT_EQ(b.substr(colonna - 4, 4), Byte({0, 0, 0, 0}));
  EXPECT_EQ(b.substr(colonna, 8), Byte({2, 0, 0, 0, 2, 0, 1, 0}));
  double y2 = 0;
  std::memcpy(&y2, b.data() + colonna + 10, 8);
  EXPECT_EQ(y2, 2.0);
  EXPECT_EQ(b.substr(colonna + 8, 2), Byte({5, 0}));
}

// The narrow form of the plan gives back exactly what was stored: the code,
// and every bit of the number (signed zero, a NaN's payload); a code the
// files cannot carry reads back as empty. A copy holds the same elements.
TEST(TabellaLineaTest, ElementsComeBackExactly) {
  const double nan_con_carico = std::bit_cast<double>(uint64_t{0x7FF4000000000123});
  const valore testo{valore::kTesto, 7, 2.5};
  const std::vector<std::pair<valore, valore>> casi = {
      {valore::Intero(-32768), valore::Intero(-32768)},
      {valore::Intero(1), valore::Intero(1)},
      {valore::Reale(-0.0), valore::Reale(-0.0)},
      {valore::Reale(nan_con_carico), valore::Reale(nan_con_carico)},
      {valore::Reale(1e300), valore::Reale(1e300)},
      {valore{}, valore{}},
      {testo, valore{}},
  };
  TabellaLinea tabella;
  tabella.assign(casi.size(), valore::Reale(9.0));
  for (size_t i = 0; i < casi.size(); ++i) tabella.imposta(i, casi[i].first);
  const TabellaLinea copia = tabella;
  for (const TabellaLinea* t : {static_cast<const TabellaLinea*>(&tabella), &copia}) {
    ASSERT_EQ(t->size(), casi.size());
    for (size_t i = 0; i < casi.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ((*t)[i].codice, casi[i].second.codice);
      EXPECT_EQ((*t)[i].intero, casi[i].second.intero);
      EXPECT_EQ(std::bit_cast<uint64_t>((*t)[i].reale),
                std::bit_cast<uint64_t>(casi[i].second.reale));
    }
  }
  tabella.assign(3, valore::Reale(9.0));
  EXPECT_EQ(tabella[2].reale, 9.0);
}

// A table of several blocks comes out in pieces that end only at the end
// and add up to the element-by-element encoding, also through the file
// system, which writes the pieces through one create.
TEST(FormatoTest, LineTableInPiecesIsTheWholeEncoding) {
  Tabelle t;
  t.tabella_linea.assign(100003, valore{});
  std::string atteso;
  for (size_t i = 0; i < t.tabella_linea.size(); ++i) {
    const valore v = i % 3 == 0   ? valore::Reale(static_cast<double>(i) / 7)
                     : i % 3 == 1 ? valore::Intero(static_cast<int16_t>(i))
                                  : valore{};
    t.tabella_linea.imposta(i, v);
    char b[10];
    atteso.append(b, static_cast<size_t>(PutValore(b, v) - b));
  }
  CodificaLinea codifica(t);
  std::string pezzi;
  int n = 0;
  for (std::string_view p = codifica.Next(); !p.empty(); p = codifica.Next(), ++n) pezzi.append(p);
  EXPECT_GT(n, 1);
  EXPECT_TRUE(codifica.Next().empty());
  EXPECT_EQ(pezzi, atteso);
  EXPECT_EQ(codifica_linea(t), atteso);

  MemoryFileSystem fs;
  CodificaLinea di_nuovo(t);
  ASSERT_TRUE(sostituisci_file(fs, "/d/l", di_nuovo).ok());
  EXPECT_EQ(fs.files["/d/l"], atteso);

  // Long runs of doubles, as in a real plan, across the ends of blocks.
  t.tabella_linea.assign(70001, valore::Reale(0.5));
  t.tabella_linea.imposta(40000, valore::Intero(-3));
  t.tabella_linea.imposta(70000, valore{});
  atteso.clear();
  for (size_t i = 0; i < t.tabella_linea.size(); ++i) {
    char b[10];
    atteso.append(b, static_cast<size_t>(PutValore(b, t.tabella_linea[i]) - b));
  }
  EXPECT_EQ(codifica_linea(t), atteso);
}

TEST(FormatoTest, DoubleBytesAreLittleEndian) {
  Tabelle t;
  t.limite_tabella = 0;
  t.tabella_linea = {valore::Reale(1.0), valore{}};
  EXPECT_EQ(codifica_linea(t), Byte({5, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0}));
}

class SostituisciFileTest : public ::testing::Test {
 protected:
  MemoryFileSystem fs;
};

TEST_F(SostituisciFileTest, LongerOldFileIsReplacedWhole) {
  fs.files["/d/f"] = std::string(1000, 'x');
  ASSERT_TRUE(sostituisci_file(fs, "/d/f", "abc").ok());
  EXPECT_EQ(fs.files["/d/f"], "abc");
  ASSERT_TRUE(sostituisci_file(fs, "/d/g", "").ok());  // created when missing
  EXPECT_EQ(fs.files.count("/d/g"), 1u);
}

// Memory set aside for a path is what a new file there is built in; it is
// no file before that.
TEST_F(SostituisciFileTest, ANewFileTakesTheMemoryKeptForItsPath) {
  fs.riserve["/d/n"].reserve(5000);
  EXPECT_FALSE(fs.Exists("/d/n"));
  ASSERT_TRUE(sostituisci_file(fs, "/d/n", "abc").ok());
  EXPECT_EQ(fs.files["/d/n"], "abc");
  EXPECT_GE(fs.files["/d/n"].capacity(), 5000u);
  EXPECT_TRUE(fs.riserve.empty());
}

TEST_F(SostituisciFileTest, EachStepReportsItsFailure) {
  for (MemoryFileSystem::Op op : {MemoryFileSystem::Op::kTouch, MemoryFileSystem::Op::kRemove,
                                  MemoryFileSystem::Op::kCreate}) {
    MemoryFileSystem m;
    m.files["/d/f"] = "old";
    m.Fail(op, "/d/f");
    Status s = sostituisci_file(m, "/d/f", "new");
    EXPECT_FALSE(s.ok());
    EXPECT_NE(s.message().find("'/d/f'"), std::string::npos) << s.message();
  }
}

class ScriviFileUscitaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.nome_scenario = "S";
    t.numero_treno = "1";
    t.scrivi_linea = 1;
    t.numero_celle = 140;
    t.percorso.resize(141);
    TabellaCompleta(t, 7000);
  }
  Tabelle t;
  MemoryFileSystem fs;
  const Ambiente a{&fs, "/d"};
};

TEST_F(ScriviFileUscitaTest, WritesTheThreeFiles) {
  ASSERT_TRUE(scrivi_file_uscita(t, a).ok());
  ASSERT_EQ(fs.files.size(), 3u);
  EXPECT_EQ(fs.files[JoinPath("/d", "S_linea.dat")].size(), 2u * (10 * 7000 - 18));
  EXPECT_EQ(fs.files[JoinPath("/d", "S_1.sim")].size(), 87u * 34);
  EXPECT_EQ(fs.files[JoinPath("/d", "S_1.dat")].size(), 141u * 15);
}

// Records every operation on every path before passing it on.
class FileSystemContato : public MemoryFileSystem {
 public:
  Status Touch(const std::string& p) override {
    operazioni[p].push_back("open");
    return MemoryFileSystem::Touch(p);
  }
  Status Remove(const std::string& p) override {
    operazioni[p].push_back("delete");
    return MemoryFileSystem::Remove(p);
  }
  Status Create(const std::string& p, std::string_view d) override {
    operazioni[p].push_back("open to create and write");
    return MemoryFileSystem::Create(p, d);
  }
  std::map<std::string, std::vector<std::string>> operazioni;
};

TEST_F(ScriviFileUscitaTest, EachFileIsOpenedTwiceAroundItsDelete) {
  FileSystemContato contato;
  contato.files[JoinPath("/d", "S_1.dat")] = std::string(5000, 'x');
  ASSERT_TRUE(scrivi_file_uscita(t, Ambiente{&contato, "/d"}).ok());
  const std::vector<std::string> attese = {"open", "delete", "open to create and write"};
  ASSERT_EQ(contato.operazioni.size(), 3u);
  for (const auto& [path, operazioni] : contato.operazioni) EXPECT_EQ(operazioni, attese) << path;
  EXPECT_EQ(contato.files[JoinPath("/d", "S_1.dat")].size(), 141u * 15);
}

TEST_F(ScriviFileUscitaTest, WithoutLineTableTheOldFileStaysUntouched) {
  t.scrivi_linea = 0;
  t.tabella_linea.clear();
  fs.files[JoinPath("/d", "S_linea.dat")] = "old line table";
  fs.Fail(MemoryFileSystem::Op::kTouch, JoinPath("/d", "S_linea.dat"));  // any access would fail
  ASSERT_TRUE(scrivi_file_uscita(t, a).ok());
  EXPECT_EQ(fs.files[JoinPath("/d", "S_linea.dat")], "old line table");
  EXPECT_EQ(fs.files.count(JoinPath("/d", "S_1.dat")), 1u);
}

TEST_F(ScriviFileUscitaTest, AFailingFileStopsTheLaterOnes) {
  fs.files[JoinPath("/d", "S_1.dat")] = "old grid";
  fs.Fail(MemoryFileSystem::Op::kCreate, JoinPath("/d", "S_1.sim"));
  Status s = scrivi_file_uscita(t, a);
  EXPECT_FALSE(s.ok());
  EXPECT_NE(s.message().find(JoinPath("/d", "S_1.sim")), std::string::npos);
  EXPECT_EQ(fs.files[JoinPath("/d", "S_linea.dat")].size(), 2u * (10 * 7000 - 18));
  EXPECT_EQ(fs.files[JoinPath("/d", "S_1.dat")], "old grid");
}

}  // namespace
