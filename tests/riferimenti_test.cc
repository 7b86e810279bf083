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
#include <initializer_list>
#include <string>

#include "platform/executable_dir.h"
#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"

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

// One expected cell: which rule gives its fields, and the fields.
struct CasoCella {
  int k;
  const char* regola;
  Cella atteso;
};

void VerificaCelle(const std::string& b, std::initializer_list<CasoCella> casi) {
  ASSERT_EQ(b.size(), 15u * 301);
  for (const CasoCella& caso : casi) {
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

// Fields of the compiled grids, worked out by hand. A point feature at p
// lies in cell round(p / 50 + 1); a code cut of the train text in cell
// round(p / 50). Every case lists tipo, dato1 to dato4, tempo, avviso,
// velocita, pendenza, aderenza.

// Signal cells: dato1..3 = 10 s + d, dato4 = 10 rapp + 3 sx + dx; a time
// from 1 to 100 is raised to 101 and kept only when sx is 2; approach marks
// 30 sx + 10 dx + n at 2n cells before the signal.
TEST(CampiTest, SignalCells) {
  VerificaCelle(Compila("rallentamenti").percorso, {
      // 800: sx 2, s 4 3 1, rapp 1, dx 1, d 2 5 6, time 1.
      {17, "time 1 raised", {1, 42, 35, 16, 17, 101, 0, 19, 100, 90}},
      {15, "mark n = 1", {0, 0, 0, 0, 0, 0, 71, 19, 100, 90}},
      {9, "mark n = 4", {0, 0, 0, 0, 0, 0, 74, 19, 100, 90}},
      // 4400: sx 2, s 1 1 1, dx 1, d 1 1 1, time 100.
      {89, "time 100 raised", {1, 11, 11, 11, 7, 101, 0, 19, 88, 90}},
      // 4750: sx 1, s 3 0 0, dx 1, d 3 0 0, time 50.
      {96, "sx 1: no time", {1, 33, 0, 0, 4, 0, 0, 19, 88, 90}},
      // 8050: sx 2, s 4 1 1, dx 2, d 1 1 1, time 101.
      {162, "time 101 kept", {1, 41, 11, 11, 8, 101, 0, 12, 88, 90}},
  });
  VerificaCelle(Compila("stazioni").percorso, {
      // 600: sx 1, s 2 3 4, rapp 5, dx 2, d 6 7 8, time 100.
      {13, "all values different", {1, 26, 37, 48, 55, 0, 0, 20, 251, 127}},
      {11, "mark 30 sx + 10 dx + 1", {0, 0, 0, 0, 0, 0, 51, 20, 251, 127}},
      {9, "mark n = 2", {0, 0, 0, 0, 0, 0, 52, 20, 100, 127}},
      {5, "mark n = 4", {0, 0, 0, 0, 0, 0, 54, 20, 100, 127}},
      // 2700: sx 2, s 1 0 9, rapp 2, dx 0, d 3 0 5, time 100.
      {55, "dx 0, rapp 2", {1, 13, 0, 95, 26, 101, 0, 12, 44, 255}},
      {53, "mark 30 x 2 + 1", {0, 0, 0, 0, 0, 0, 61, 12, 44, 255}},
      // 3800: sx 2, s 4 0 0, dx 2, d 1 0 0, time 0.
      {77, "time 0 stays 0", {1, 41, 0, 0, 8, 0, 0, 12, 127, 44}},
  });
}

// Slow-down cells: board (v, d_v), numbered cells n = 1..4 from the board
// back (dato2 = n only with d_v), start and end (v, d_v, f_tt); then the
// finishing sweep's cuts of 180 and the train text's own cuts.
TEST(CampiTest, SlowDownCellsAndCuts) {
  VerificaCelle(Compila("rallentamenti").percorso, {
      // 3000, 30 km/h, 1500 m, f_tt 2, f_ta 1, d_v 25: board 37, numbered
      // cells 36 down to 33, start 61, end round(4500 / 50 + 1) = 91.
      {37, "board v, d_v", {4, 30, 25, 0, 0, 0, 0, 19, 100, 90}},
      {36, "numbered n = 1 with d_v", {5, 1, 1, 0, 0, 0, 0, 19, 100, 90}},
      {33, "numbered n = 4 with d_v", {5, 4, 4, 0, 0, 0, 0, 19, 100, 90}},
      {61, "start v, d_v, f_tt", {3, 30, 25, 2, 0, 0, 0, 19, 88, 90}},
      {91, "end v, d_v, f_tt", {2, 30, 25, 2, 0, 0, 0, 19, 88, 90}},
      // The signal 20 cells behind board 37 (cell 17) gets a cut in front.
      {16, "20 behind a board", {12, 180, 0, 0, 0, 0, 0, 19, 100, 90}},
      // The signal 10 behind (27) has train cuts 270 in 26 and 1 in 25: the
      // nearer is capped at 180, the value 1 stays.
      {26, "cut 270 capped", {12, 180, 0, 0, 0, 0, 0, 19, 100, 90}},
      {25, "train cut of 1", {12, 1, 0, 0, 0, 0, 81, 19, 100, 90}},
      // Cuts behind the start: 61 - 5, 61 - 18.
      {56, "5 behind the start", {12, 180, 0, 0, 0, 0, 0, 19, 88, 90}},
      {43, "18 behind the start", {12, 180, 0, 0, 0, 0, 0, 19, 88, 90}},
      // The walk: 61 + 8 = 69; the next 8th cell, 77, is the end of the
      // nested fast slow-down (3500, 300 m): one back to 76, walk ends at 77.
      {69, "walk, 8th cell", {12, 180, 0, 0, 0, 0, 0, 19, 88, 90}},
      {76, "walk, moved one back", {12, 180, 0, 0, 0, 0, 0, 19, 88, 90}},
      // The nested one: 120 km/h, d_v 0 leaves dato2 0, f_tt 1; its cuts
      // behind the start 71 from 66; no walk.
      {77, "fast end", {2, 120, 0, 1, 0, 0, 0, 19, 88, 90}},
      {47, "fast board, d_v 0", {4, 120, 0, 0, 0, 0, 0, 19, 88, 90}},
      {66, "5 behind the fast start", {12, 180, 0, 0, 0, 0, 0, 19, 88, 90}},
      // The signal in 89 is the 12th cell after the walk's end 77: cut in
      // 88 (which also holds the 4th mark, 30 + 10 + 4, of the next signal).
      {88, "12 after the end", {12, 180, 0, 0, 0, 0, 44, 19, 88, 90}},
      // The signal in 96 is 21 behind the board 117 of the slow-down at 7000.
      {95, "21 behind a board: untouched", {0, 0, 0, 0, 0, 0, 0, 19, 88, 90}},
      // Train cuts 5000 (1), 5100 (0), 5200 ("AC").
      {100, "train cut of 1", {12, 1, 0, 0, 0, 0, 0, 12, 88, 90}},
      {102, "train cut of 0", {13, 0, 0, 0, 0, 0, 0, 12, 88, 90}},
      {104, "train cut AC", {13, 0, 0, 0, 0, 0, 0, 12, 88, 90}},
      // 7000, 60 km/h, 400 m, f_tt 4, d_v 0.
      {116, "numbered n = 1, d_v 0", {5, 1, 0, 0, 0, 0, 0, 12, 88, 90}},
      {141, "start, d_v 0", {3, 60, 0, 4, 0, 0, 0, 12, 88, 90}},
      {148, "walk cut before the end", {12, 180, 0, 0, 0, 0, 0, 12, 88, 90}},
      // The signal in 162 is 13 after the end 149.
      {161, "13 after the end: untouched", {0, 0, 0, 0, 0, 0, 0, 12, 88, 90}},
  });
}

// Stop cells: kinds below 25 get tipo 10 with the station index in cell
// fine / 50 - 1; all but 5 and 6 also marks 81..84 in the 4 cells behind.
TEST(CampiTest, StopCellsAndApproachMarks) {
  VerificaCelle(Compila("stazioni").percorso, {
      {24, "kind 24, ends 1250", {10, 1, 0, 0, 0, 0, 0, 20, 251, 128}},
      {23, "mark 81", {0, 0, 0, 0, 0, 0, 81, 20, 251, 128}},
      {20, "mark 84", {0, 0, 0, 0, 0, 0, 84, 20, 251, 128}},
      {42, "kind 5, ends 2150", {10, 2, 0, 0, 0, 0, 0, 12, 44, 255}},
      {41, "no mark before kind 5", {0, 0, 0, 0, 0, 0, 0, 12, 44, 255}},
      {64, "kind 6, ends 3250", {10, 3, 0, 0, 0, 0, 0, 12, 127, 44}},
      {63, "no mark before kind 6", {0, 0, 0, 0, 0, 0, 0, 12, 127, 44}},
      {87, "kind 7, ends 4400", {10, 4, 0, 0, 0, 0, 0, 12, 128, 90}},
      {83, "mark 84 before kind 7", {0, 0, 0, 0, 0, 0, 84, 12, 128, 90}},
      {107, "kind 8, ends 5400", {10, 5, 0, 0, 0, 0, 0, 12, 128, 90}},
      {106, "mark 81 before kind 8", {0, 0, 0, 0, 0, 0, 81, 12, 128, 90}},
      {128, "kind 25, ends 6450: no cell", {0, 0, 0, 0, 0, 0, 0, 12, 128, 90}},
      {146, "kind 28, ends 7400: no mark", {0, 0, 0, 0, 0, 0, 0, 12, 128, 90}},
  });
}

// Stretch bytes: gradient + 100 and adhesion, both low 8 bits; speed / 5.
// Gradient -105 from cell 10 (251), 200 from 30 (44), 27 from 60 (127), 28
// from 80 (128). Adhesion 127 to cell 19, 128 from 20, 255 from 40, 300 (44)
// from 60, 90 from 80. Speed 100 (20) to cell 39, 62 (12) after. The last
// three cells keep 0.
TEST(CampiTest, StretchBytes) {
  VerificaCelle(Compila("stazioni").percorso, {
      {8, "before the first gradient", {0, 0, 0, 0, 0, 0, 0, 20, 100, 127}},
      {10, "gradient -105", {0, 0, 0, 0, 0, 0, 0, 20, 251, 127}},
      {19, "adhesion 127", {0, 0, 0, 0, 0, 0, 0, 20, 251, 127}},
      {29, "adhesion 128", {0, 0, 0, 0, 0, 0, 0, 20, 251, 128}},
      {30, "gradient 200", {0, 0, 0, 0, 0, 0, 0, 20, 44, 128}},
      {40, "adhesion 255, speed 12", {0, 0, 0, 0, 0, 0, 0, 12, 44, 255}},
      {60, "gradient 27, adhesion 300", {0, 0, 0, 0, 0, 0, 0, 12, 127, 44}},
      {80, "gradient 28, adhesion 90", {0, 0, 0, 0, 0, 0, 0, 12, 128, 90}},
      {297, "last cell written", {0, 0, 0, 0, 0, 0, 0, 12, 128, 90}},
      {298, "last three cells stay 0", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  });
}

// Stations of the kept "stazioni" table, worked out by hand from the extent
// rules: kinds 5 and 6 from pos - lung to pos + 150, kinds 7 and 8 from
// pos - lung to pos + lung, others pos -/+ lung / 2 and 50 more with mar;
// mar forced to 0 for kinds 5 to 8 and for the first station (after its
// extent), tab forced to 0 below 600 m; time = h x 3600 + m x 60 + s.
TEST(CampiTest, StationRecords) {
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
}

// Header entries of the "stazioni" table: general data in entry 84, the
// check value 610 in entry 85, sand and start clock in entry 86; 5121 in
// cell 1 of both grids.
TEST(CampiTest, HeaderValues) {
  const std::string b = Compila("stazioni").stazioni;
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
  EXPECT_EQ(LeggiCella(Compila("stazioni").percorso, 1).dato1, 5121);
  EXPECT_EQ(LeggiCella(Compila("rallentamenti").percorso, 1).dato1, 5121);
}

// The curve "curvad4, 1000, 500" turns by +0.001 per metre from metre 1001:
// the step (0, 1) becomes (0.001, 1), then (0.002, 0.999999).
TEST(CampiTest, LineTableRows) {
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
