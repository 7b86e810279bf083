// Two small scenarios whose compiled files are kept in tests/data/. Each one
// is compiled in memory and compared byte for byte with its files; a handful
// of fields of every kind are worked out by hand from the packing rules and
// read back from the compiled bytes, grouped by record, so that the kept
// files are known to be right and not merely what the program wrote once, and
// a packing fault names the field it broke.
//
// "rallentamenti": an 8 km line with three slow-downs (a slow one at 30 km/h
// with a fast one at 120 km/h nested inside it, and one at 60 km/h), signals
// at the inclusive ends of the finishing sweep's windows and just past them,
// and code cuts of 1, 270, 0 and "AC".
// "stazioni": the same length with a stop of every kind, station times with
// seconds, signals whose values are all different, gradients and adhesion
// whose byte wraps, a curve, and rows that must not count (a braking row
// without "massa", a third comment in a row that holds a keyword).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/executable_dir.h"
#include "support/compila_memoria.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const char kLinea[] = "Lavrano_Cestelle_linea.dat";
const char kStazioni[] = "Lavrano_Cestelle_58121.sim";
const char kPercorso[] = "Lavrano_Cestelle_58121.dat";

fs::path Cartella(const std::string& scenario) {
  return fs::path(SB_SOURCE_DIR) / "tests" / "data" / scenario;
}

struct Compilato {
  std::string linea, stazioni, percorso;
};

Compilato Compila(const std::string& scenario) {
  CompilazioneInMemoria c;
  CompilaInMemoria(ReadFileBytes(Cartella(scenario) / "linea.txt"),
                   ReadFileBytes(Cartella(scenario) / "treno.txt"), &c);
  EXPECT_EQ(c.tabelle.codice_errore, 0) << c.tabelle.posizione_errore;
  return {c.fs.files[JoinPath(kDirectoryMemoria, kLinea)],
          c.fs.files[JoinPath(kDirectoryMemoria, kStazioni)],
          c.fs.files[JoinPath(kDirectoryMemoria, kPercorso)]};
}

int32_t Le(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b.at(at + i));
  if (bytes == 2) return static_cast<int16_t>(v);
  return static_cast<int32_t>(v);
}

// One cell read back from the grid file (15 bytes a cell).
struct Cella {
  int tipo, dato1, dato2, dato3, dato4, tempo, avviso, velocita, pendenza, aderenza;
};
Cella LeggiCella(const std::string& b, int k) {
  const size_t o = 15u * static_cast<size_t>(k);
  auto u8 = [&](size_t i) { return static_cast<int>(static_cast<uint8_t>(b.at(o + i))); };
  return {u8(0),          Le(b, o + 1, 2), Le(b, o + 3, 2), Le(b, o + 5, 2), Le(b, o + 7, 2),
          u8(9),          u8(10),          u8(12),          u8(13),          u8(14)};
}

// One entry read back from the station file; entries have the length of
// their name, so the ones before it are walked over.
struct Voce {
  int tipo, inizio, fine, posizione, tps;
  std::string nome;
  int d2a, d3a, d1b, d2b, d3b, rap, ac, mar, tab, orario;
};
Voce LeggiVoce(const std::string& b, int indice) {
  size_t o = 0;
  for (int i = 0; i < indice; ++i) o += 34u + static_cast<uint16_t>(Le(b, o + 14, 2));
  const size_t n = static_cast<uint16_t>(Le(b, o + 14, 2));
  auto u8 = [&](size_t i) { return static_cast<int>(static_cast<uint8_t>(b.at(o + i))); };
  return {u8(0),
          Le(b, o + 1, 4),
          Le(b, o + 5, 4),
          Le(b, o + 9, 4),
          u8(13),
          b.substr(o + 16, n),
          Le(b, o + 16 + n, 2),
          Le(b, o + 18 + n, 2),
          Le(b, o + 20 + n, 2),
          Le(b, o + 22 + n, 2),
          Le(b, o + 24 + n, 2),
          u8(26 + n),
          u8(27 + n),
          u8(28 + n),
          u8(29 + n),
          Le(b, o + 30 + n, 4)};
}

double Doppio(const std::string& b, size_t at) {
  EXPECT_EQ(Le(b, at, 2), 5);  // tagged as a double
  double d;
  std::memcpy(&d, b.data() + at + 2, 8);
  return d;
}

class RiferimentoTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RiferimentoTest, CompiledFilesEqualTheKeptOnes) {
  const Compilato c = Compila(GetParam());
  const auto dir = Cartella(GetParam());
  const std::string linea = ReadFileBytes(dir / kLinea);
  ASSERT_FALSE(linea.empty());
  EXPECT_TRUE(c.linea == linea) << c.linea.size() << " bytes, kept " << linea.size();
  EXPECT_EQ(c.stazioni, ReadFileBytes(dir / kStazioni));
  EXPECT_EQ(c.percorso, ReadFileBytes(dir / kPercorso));
  // 8000 m of line: cells 0 to round(15000 / 50) = 300, line table rows 0 to
  // 15000 in two columns.
  EXPECT_EQ(c.percorso.size(), 15u * 301);
  EXPECT_EQ(c.linea.size(), 2u * (10 * 15000 - 18));
}

INSTANTIATE_TEST_SUITE_P(Scenari, RiferimentoTest, ::testing::Values("rallentamenti", "stazioni"));

// Fields of the kept "rallentamenti" grid, worked out by hand. A point
// feature at p lies in cell round(p / 50 + 1); a code cut of the train text
// in cell round(p / 50).
TEST(RiferimentoRallentamentiTest, FieldsWorkedByHand) {
  const std::string b = Compila("rallentamenti").percorso;
  ASSERT_EQ(b.size(), 15u * 301);
  struct Caso {
    int k;
    const char* regola;
    Cella atteso;
  };
  const Caso casi[] = {
      // Signal 800 (cell 17): sx 2, s 4 3 1, rapp 1, dx 1, d 2 5 6, time 1.
      // dato = 10 s + d; dato4 = 10 rapp + 3 sx + dx = 17; a time from 1 to
      // 100 is raised to 101 and kept because sx is 2.
      {17, "signal values, time 1 raised", {1, 42, 35, 16, 17, 101, 0, 19, 100, 90}},
      // Approach marks 30 sx + 10 dx + n at 2, 4, 6, 8 cells before it.
      {15, "approach mark n = 1", {0, 0, 0, 0, 0, 0, 71, 19, 100, 90}},
      {9, "approach mark n = 4", {0, 0, 0, 0, 0, 0, 74, 19, 100, 90}},
      // That signal is 20 cells behind the warning board of the slow-down
      // at 3000 (board at round(1800 / 50 + 1) = 37): the cell in front
      // of it becomes a cut of 180.
      {16, "cut in front of a signal 20 behind a board", {12, 180, 0, 0, 0, 0, 0, 19, 100, 90}},
      // Signal 1300 (cell 27) is 10 behind the board; both cells in front
      // hold cuts from the train text (270 in 26, 1 in 25): the nearer one
      // is capped at 180, the value 1 stays a cut of 1.
      {26, "cut 270 capped at 180", {12, 180, 0, 0, 0, 0, 0, 19, 100, 90}},
      {25, "train cut of value 1", {12, 1, 0, 0, 0, 0, 81, 19, 100, 90}},
      // Slow-down 3000, 30 km/h, 1500 m, f_tt 2, f_ta 1, d_v 25: board
      // (37, v and d_v), numbered cells 36 (n 1) down to 33 (n 4), start 61
      // and end round(4500 / 50 + 1) = 91 with v, d_v, f_tt.
      {37, "warning board v, d_v", {4, 30, 25, 0, 0, 0, 0, 19, 100, 90}},
      {36, "numbered cell n = 1 with d_v", {5, 1, 1, 0, 0, 0, 0, 19, 100, 90}},
      {33, "numbered cell n = 4 with d_v", {5, 4, 4, 0, 0, 0, 0, 19, 100, 90}},
      {61, "slow-down start v, d_v, f_tt", {3, 30, 25, 2, 0, 0, 0, 19, 88, 90}},
      {91, "slow-down end v, d_v, f_tt", {2, 30, 25, 2, 0, 0, 0, 19, 88, 90}},
      // Cuts behind the start: 61 - 5, 61 - 11, 61 - 18.
      {56, "cut 5 behind the start", {12, 180, 0, 0, 0, 0, 0, 19, 88, 90}},
      {43, "cut 18 behind the start", {12, 180, 0, 0, 0, 0, 0, 19, 88, 90}},
      // The walk along the slow one: cut at 61 + 8 = 69; the next 8th cell,
      // 77, is the end of the nested fast slow-down (3500, 300 m): the cut
      // goes one back to 76 and the walk ends at 77.
      {69, "walk cut, 8th cell", {12, 180, 0, 0, 0, 0, 0, 19, 88, 90}},
      {76, "walk cut moved one back", {12, 180, 0, 0, 0, 0, 0, 19, 88, 90}},
      // The nested fast slow-down: d_v 0 leaves dato2 at 0; f_tt 1.
      {77, "fast slow-down end", {2, 120, 0, 1, 0, 0, 0, 19, 88, 90}},
      {47, "fast slow-down board, d_v 0", {4, 120, 0, 0, 0, 0, 0, 19, 88, 90}},
      // Its cuts behind the start 71: 66, 60, 53 (no walk at 120 km/h).
      {66, "cut 5 behind the fast start", {12, 180, 0, 0, 0, 0, 0, 19, 88, 90}},
      // Signal 4400 (cell 89) is the 12th cell after the walk's end 77: the
      // cell in front of it becomes a cut. Its time 100 is raised to 101.
      {89, "signal time 100 raised", {1, 11, 11, 11, 7, 101, 0, 19, 88, 90}},
      // (88 also carries the 4th approach mark, 30 + 10 + 4, of the next
      // signal.)
      {88, "cut in front of a signal 12 after the end", {12, 180, 0, 0, 0, 0, 44, 19, 88, 90}},
      // Signal 4750 (cell 96) is 21 cells behind the board of the slow-down
      // at 7000 (board 117): outside the window, so 95 stays empty. sx 1:
      // no time byte.
      {96, "signal sx 1, no time", {1, 33, 0, 0, 4, 0, 0, 19, 88, 90}},
      {95, "21 behind a board: untouched", {0, 0, 0, 0, 0, 0, 0, 19, 88, 90}},
      // Train cuts at 5000 (value 1), 5100 (0) and 5200 ("AC"); speed 62
      // from 5000 gives round(12.4) = 12 from cell 100.
      {100, "train cut value 1", {12, 1, 0, 0, 0, 0, 0, 12, 88, 90}},
      {102, "train cut value 0", {13, 0, 0, 0, 0, 0, 0, 12, 88, 90}},
      {104, "train cut AC", {13, 0, 0, 0, 0, 0, 0, 12, 88, 90}},
      // Slow-down 7000, 60 km/h, d_v 0: numbered cells without dato2.
      {116, "numbered cell n = 1, d_v 0", {5, 1, 0, 0, 0, 0, 0, 12, 88, 90}},
      {141, "start, d_v 0", {3, 60, 0, 4, 0, 0, 0, 12, 88, 90}},
      {148, "walk cut in front of the end", {12, 180, 0, 0, 0, 0, 0, 12, 88, 90}},
      // Signal 8050 (cell 162) is 13 after the end 149: outside the window.
      {161, "13 after the end: untouched", {0, 0, 0, 0, 0, 0, 0, 12, 88, 90}},
      {162, "signal time 101 kept", {1, 41, 11, 11, 8, 101, 0, 12, 88, 90}},
  };
  for (const Caso& caso : casi) {
    const Cella c = LeggiCella(b, caso.k);
    const Cella& a = caso.atteso;
    SCOPED_TRACE(std::string("cell ") + std::to_string(caso.k) + ": " + caso.regola);
    EXPECT_EQ(c.tipo, a.tipo);
    EXPECT_EQ(c.dato1, a.dato1);
    EXPECT_EQ(c.dato2, a.dato2);
    EXPECT_EQ(c.dato3, a.dato3);
    EXPECT_EQ(c.dato4, a.dato4);
    EXPECT_EQ(c.tempo, a.tempo);
    EXPECT_EQ(c.avviso, a.avviso);
    EXPECT_EQ(c.velocita, a.velocita);
    EXPECT_EQ(c.pendenza, a.pendenza);
    EXPECT_EQ(c.aderenza, a.aderenza);
  }
  // Header: 5121 in cell 1.
  EXPECT_EQ(LeggiCella(b, 1).dato1, 5121);
}

// Stations of the kept "stazioni" table, worked out by hand from the extent
// rules: kinds 5 and 6 from pos - lung to pos + 150, kinds 7 and 8 from
// pos - lung to pos + lung, others pos -/+ lung / 2 and 50 more with mar;
// mar forced to 0 for kinds 5 to 8 and for the first station (after its
// extent), tab forced to 0 below 600 m; time = h x 3600 + m x 60 + s.
TEST(RiferimentoStazioniTest, StationEntriesWorkedByHand) {
  const std::string b = Compila("stazioni").stazioni;
  ASSERT_FALSE(b.empty());
  struct Caso {
    int i;
    Voce atteso;
  };
  const Caso casi[] = {
      // 1000, kind 24, 400 m, mar 1 widens the end before it is cleared.
      {1, {24, 800, 1250, 1000, 3, "PRIMA", 11, 12, 21, 22, 23, 13, 14, 0, 0, 25689}},
      {2, {5, 1700, 2150, 2000, 4, "SECONDA", 0, 0, 4, 1, 1, 0, 0, 0, 0, 26430}},
      {3, {6, 2500, 3250, 3100, 5, "TERZA", 0, 0, 4, 1, 1, 0, 0, 0, 1, 28859}},
      {4, {7, 4000, 4400, 4200, 6, "QUARTA", 0, 0, 4, 1, 1, 0, 0, 0, 0, 32461}},
      {5, {8, 4800, 5400, 5100, 7, "QUINTA", 0, 0, 4, 1, 1, 0, 0, 0, 0, 36123}},
      {6, {25, 5800, 6450, 6100, 8, "SESTA", 0, 0, 4, 1, 1, 0, 0, 1, 1, 39784}},
      {7, {28, 7000, 7400, 7200, 9, "SETTIMA", 0, 0, 4, 1, 1, 0, 0, 0, 0, 86398}},
  };
  for (const Caso& caso : casi) {
    const Voce v = LeggiVoce(b, caso.i);
    const Voce& a = caso.atteso;
    SCOPED_TRACE("station " + std::to_string(caso.i));
    EXPECT_EQ(v.tipo, a.tipo);
    EXPECT_EQ(v.inizio, a.inizio);
    EXPECT_EQ(v.fine, a.fine);
    EXPECT_EQ(v.posizione, a.posizione);
    EXPECT_EQ(v.tps, a.tps);
    EXPECT_EQ(v.nome, a.nome);
    EXPECT_EQ(v.d2a, a.d2a);
    EXPECT_EQ(v.d3a, a.d3a);
    EXPECT_EQ(v.d1b, a.d1b);
    EXPECT_EQ(v.d2b, a.d2b);
    EXPECT_EQ(v.d3b, a.d3b);
    EXPECT_EQ(v.rap, a.rap);
    EXPECT_EQ(v.ac, a.ac);
    EXPECT_EQ(v.mar, a.mar);
    EXPECT_EQ(v.tab, a.tab);
    EXPECT_EQ(v.orario, a.orario);
  }
  // General data: braked mass 130 (the later "percentuale frenata" row has
  // no "massa" and counts for nothing), 5 coaches, 8000 m.
  const Voce g = LeggiVoce(b, 84);
  EXPECT_EQ(g.inizio, 130);
  EXPECT_EQ(g.posizione, 5);
  EXPECT_EQ(g.fine, 8000);
  // Sand 250: of three comment rows in a row only two are skipped, and the
  // third ("- sabbia, 250") is read as an ordinary row. Clock 7 5 9.
  const Voce t = LeggiVoce(b, 86);
  EXPECT_EQ(t.d2a, 250);
  EXPECT_EQ(t.d1b, 7);
  EXPECT_EQ(t.d2b, 5);
  EXPECT_EQ(t.d3b, 9);
  EXPECT_EQ(LeggiVoce(b, 85).d2a, 610);
}

TEST(RiferimentoStazioniTest, GridFieldsWorkedByHand) {
  const std::string b = Compila("stazioni").percorso;
  ASSERT_EQ(b.size(), 15u * 301);
  struct Caso {
    int k;
    const char* regola;
    Cella atteso;
  };
  // Gradient byte = gradient + 100, low 8 bits: -105 from cell 10 gives 251,
  // 200 from 30 gives 44, 27 from 60 gives 127, 28 from 80 gives 128.
  // Adhesion byte = low 8 bits: 127 to cell 19, 128 from 20, 255 from 40,
  // 300 (44) from 60, 90 from 80. Speed 100 (20) to cell 39, 62 (12) after.
  const Caso casi[] = {
      {9, "before the first gradient; mark n = 2", {0, 0, 0, 0, 0, 0, 52, 20, 100, 127}},
      {10, "gradient -105", {0, 0, 0, 0, 0, 0, 0, 20, 251, 127}},
      // Signal 600 (cell 13): sx 1, s 2 3 4, rapp 5, dx 2, d 6 7 8, time
      // 100 not kept since sx is not 2.
      {13, "asymmetric signal", {1, 26, 37, 48, 55, 0, 0, 20, 251, 127}},
      {11, "mark 30 sx + 10 dx + 1", {0, 0, 0, 0, 0, 0, 51, 20, 251, 127}},
      {5, "mark n = 4", {0, 0, 0, 0, 0, 0, 54, 20, 100, 127}},
      {20, "adhesion 128; mark 84 of station 1", {0, 0, 0, 0, 0, 0, 84, 20, 251, 128}},
      // Station 1 ends at 1250: stop in cell 1250 / 50 - 1 = 24, marks
      // 81 to 84 in cells 23 down to 20.
      {24, "stop of kind 24", {10, 1, 0, 0, 0, 0, 0, 20, 251, 128}},
      {23, "mark 81", {0, 0, 0, 0, 0, 0, 81, 20, 251, 128}},
      {30, "gradient 200", {0, 0, 0, 0, 0, 0, 0, 20, 44, 128}},
      {40, "adhesion 255, speed 12", {0, 0, 0, 0, 0, 0, 0, 12, 44, 255}},
      // Kind 5 ends at 2150: stop 42, no marks.
      {42, "stop of kind 5", {10, 2, 0, 0, 0, 0, 0, 12, 44, 255}},
      {41, "no mark before kind 5", {0, 0, 0, 0, 0, 0, 0, 12, 44, 255}},
      // Signal 2700 (cell 55): sx 2, s 1 0 9, rapp 2, dx 0, d 3 0 5, time 100.
      {55, "signal, time 100 raised", {1, 13, 0, 95, 26, 101, 0, 12, 44, 255}},
      {53, "mark 30 x 2 + 1", {0, 0, 0, 0, 0, 0, 61, 12, 44, 255}},
      {60, "gradient 27, adhesion 300", {0, 0, 0, 0, 0, 0, 0, 12, 127, 44}},
      {64, "stop of kind 6", {10, 3, 0, 0, 0, 0, 0, 12, 127, 44}},
      {63, "no mark before kind 6", {0, 0, 0, 0, 0, 0, 0, 12, 127, 44}},
      {77, "signal, time 0", {1, 41, 0, 0, 8, 0, 0, 12, 127, 44}},
      {80, "gradient 28, adhesion 90", {0, 0, 0, 0, 0, 0, 0, 12, 128, 90}},
      {87, "stop of kind 7", {10, 4, 0, 0, 0, 0, 0, 12, 128, 90}},
      {83, "mark 84 before kind 7", {0, 0, 0, 0, 0, 0, 84, 12, 128, 90}},
      {107, "stop of kind 8", {10, 5, 0, 0, 0, 0, 0, 12, 128, 90}},
      {106, "mark 81 before kind 8", {0, 0, 0, 0, 0, 0, 81, 12, 128, 90}},
      // Kinds 25 and 28 get no cell: 6450 / 50 - 1 = 128, 7400 / 50 - 1 = 147.
      {128, "kind 25: no stop", {0, 0, 0, 0, 0, 0, 0, 12, 128, 90}},
      {146, "kind 28: no mark", {0, 0, 0, 0, 0, 0, 0, 12, 128, 90}},
      {297, "last cell written", {0, 0, 0, 0, 0, 0, 0, 12, 128, 90}},
      {298, "last three cells stay 0", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Caso& caso : casi) {
    const Cella c = LeggiCella(b, caso.k);
    const Cella& a = caso.atteso;
    SCOPED_TRACE(std::string("cell ") + std::to_string(caso.k) + ": " + caso.regola);
    EXPECT_EQ(c.tipo, a.tipo);
    EXPECT_EQ(c.dato1, a.dato1);
    EXPECT_EQ(c.dato2, a.dato2);
    EXPECT_EQ(c.dato3, a.dato3);
    EXPECT_EQ(c.dato4, a.dato4);
    EXPECT_EQ(c.tempo, a.tempo);
    EXPECT_EQ(c.avviso, a.avviso);
    EXPECT_EQ(c.velocita, a.velocita);
    EXPECT_EQ(c.pendenza, a.pendenza);
    EXPECT_EQ(c.aderenza, a.aderenza);
  }
}

// The curve "curvad4, 1000, 500" turns by +0.001 per metre from metre 1001:
// the step (0, 1) becomes (0.001, 1), then (0.002, 0.999999).
TEST(RiferimentoStazioniTest, LineTableRowsWorkedByHand) {
  const std::string b = Compila("stazioni").linea;
  ASSERT_EQ(b.size(), 2u * (10 * 15000 - 18));
  const size_t colonna1 = b.size() / 2;
  auto riga = [](int r) { return 8u + 10u * static_cast<size_t>(r - 2); };
  EXPECT_EQ(Doppio(b, riga(1000)), 0.0);
  EXPECT_EQ(Doppio(b, colonna1 + riga(1000)), 1000.0);
  EXPECT_EQ(Doppio(b, riga(1001)), 0.001);
  EXPECT_EQ(Doppio(b, colonna1 + riga(1001)), 1001.0);
  EXPECT_DOUBLE_EQ(Doppio(b, riga(1002)), 0.003);
  EXPECT_DOUBLE_EQ(Doppio(b, colonna1 + riga(1002)), 1001.999999);
  EXPECT_EQ(Le(b, colonna1 + riga(15000 - 1), 2), 0);  // the last two rows stay empty
}

}  // namespace
