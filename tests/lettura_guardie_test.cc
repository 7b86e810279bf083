// Guards on the rules of the two readers that no other test pins down: the
// grid test of every positioned row, the adhesion byte, the end of the
// "[generale]" section, independent keyword tests, the background keywords
// and the refusals of values the tables have no room for.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "compiler/codici_errore.h"
#include "support/sorgente_linea.h"
#include "support/sorgente_treno.h"

namespace {

// A row whose position is given by `posizione`, with a position that just
// passes the grid test and one a metre further that fails it.
struct RigaPosizionata {
  const char* nome;
  std::string (*riga)(int64_t posizione);
  int64_t ultima;  // the last position that passes
};

std::string Numero(int64_t p) { return std::to_string(p); }

using GuardieLineaTest = LettoreLineaFixture;

// ---- the grid test of every positioned row (code 15)
// ---------------------------

// Line of 1000 m: 160 cells, so a position passes while p + 100 <= 8000.
const RigaPosizionata kRigheLinea[] = {
    {"pendenza", [](int64_t p) { return "pendenza, " + Numero(p) + ", 1"; }, 7900},
    {"curva", [](int64_t p) { return "curvad1, " + Numero(p) + ", 10"; }, 7900},
    {"montagna", [](int64_t p) { return "montagna, " + Numero(p) + ", " + Numero(p) + ", 1"; },
     7900},
    {"indicatori",
     [](int64_t p) { return "indicatori_vmax, " + Numero(p) + ", 1, 1, 1, 0, 1, 1, 1, 0"; }, 7900},
    {"cartello", [](int64_t p) { return "cartello indicatore, " + Numero(p) + ", A"; }, 7900},
};

class GrigliaLineaTest : public LettoreLineaFixture,
                         public ::testing::WithParamInterface<RigaPosizionata> {};

TEST_P(GrigliaLineaTest, LastPositionPassesOneMetreMoreIsCode15AndEndsTheFile) {
  const RigaPosizionata& r = GetParam();
  ASSERT_TRUE(Leggi(LineaLunga(1000, {r.riga(r.ultima)})));
  EXPECT_EQ(t.codice_errore, 0);

  Nuove();
  ASSERT_TRUE(Leggi(LineaLunga(1000, {r.riga(r.ultima + 1), "cartello indicatore, 500, B"})));
  EXPECT_EQ(t.codice_errore, codice::kFuoriPercorso);
  EXPECT_EQ(t.posizione_errore, r.ultima + 1);
  EXPECT_EQ(t.percorso[11].tipo, 0);  // the row after it is not read
  EXPECT_FALSE(LineaPresente());
}

INSTANTIATE_TEST_SUITE_P(Righe, GrigliaLineaTest, ::testing::ValuesIn(kRigheLinea),
                         [](const auto& i) { return std::string(i.param.nome); });

// The train half's grid of 3660 cells ends at 183000 m; stations need 800 m
// after their position, every other row 100 m.
const RigaPosizionata kRigheTreno[] = {
    {"velocita", [](int64_t p) { return "velocita, " + Numero(p) + ", 100"; }, 182900},
    {"aderenza", [](int64_t p) { return "aderenza, " + Numero(p) + ", 90"; }, 182900},
    {"segnale",
     [](int64_t p) { return "segnale, " + Numero(p) + ", 2, 4, 0, 0, 0, 2, 1, 0, 0, 0"; }, 182900},
    {"rallentamento", [](int64_t p) { return "rallentamento, " + Numero(p) + ", 60, 0, 3, 0, 0"; },
     182900},
    {"abbattimento", [](int64_t p) { return "abbattimento, " + Numero(p) + ", 270"; }, 182900},
    {"stazione", [](int64_t p) { return Stazione(static_cast<int>(p), 12, 600, "X"); }, 182200},
};

class GrigliaTrenoTest : public ::testing::TestWithParam<RigaPosizionata> {};

TEST_P(GrigliaTrenoTest, LastPositionPassesOneMetreMoreIsCode15AndEndsTheFile) {
  const RigaPosizionata& r = GetParam();
  {
    LetturaTreno l;
    l.leggi_righe({r.riga(r.ultima)});
    EXPECT_EQ(l.t.codice_errore, 0);
  }
  LetturaTreno l;
  l.leggi_righe({r.riga(r.ultima + 1), "numero vetture, 9"});
  EXPECT_EQ(l.t.codice_errore, codice::kFuoriPercorso);
  EXPECT_EQ(l.t.posizione_errore, r.ultima + 1);
  EXPECT_EQ(l.s(84).posizione, 0);  // the row after it is not read
  EXPECT_EQ(l.fs.files.count(LetturaTreno::Sorgente()), 0u);
}

INSTANTIATE_TEST_SUITE_P(Righe, GrigliaTrenoTest, ::testing::ValuesIn(kRigheTreno),
                         [](const auto& i) { return std::string(i.param.nome); });

// ---- the adhesion byte
// ---------------------------------------------------------

// The byte keeps the low 8 bits of the value, also from 128 up: where a row
// fills the cells before it and where the last value fills the rest.
TEST(AderenzaTest, ByteKeepsTheLowEightBits) {
  LetturaTreno l;
  l.leggi_righe({"aderenza, 0, 200", "aderenza, 500, 300", "aderenza, 1000, -1"});
  EXPECT_EQ(l.t.codice_errore, 0);
  for (int k = 0; k < 10; ++k) ASSERT_EQ(l.c(k).aderenza, 200) << k;
  for (int k = 10; k < 20; ++k) ASSERT_EQ(l.c(k).aderenza, 44) << k;
  for (int k = 20; k <= 3657; ++k) ASSERT_EQ(l.c(k).aderenza, 255) << k;
}

// ---- the end of the "[generale]" section
// ---------------------------------------

// Ten comment fields in a row are skipped; the eleventh is examined, so it is
// the one the end-of-section rule sees.
std::string GeneraleConUndicesimo(const std::string& undicesimo) {
  std::vector<std::string> r = {"[generale]", "lunghezza percorso, 1000"};
  for (int i = 0; i < 10; ++i) r.push_back("- nota");
  r.push_back(undicesimo);
  r.push_back("sfondo uno, 7");
  r.push_back("[fine]");
  r.push_back("");
  return Righe(r);
}

TEST_F(GuardieLineaTest, BracketedFieldStartingWithAHyphenDoesNotEndGenerale) {
  // Leading blanks are skipped by the field reader, except inside quotes.
  for (const char* campo : {"- [nota]", "\t-[x]", "\"  - [nota]\""}) {
    SCOPED_TRACE(campo);
    Nuove();
    ASSERT_TRUE(Leggi(GeneraleConUndicesimo(campo)));
    EXPECT_EQ(t.stazioni[85].inizio, 7);  // still read as a general row
  }
  for (const char* campo : {"[x-y]", "  [altro] - nota", "x]-["}) {
    SCOPED_TRACE(campo);
    Nuove();
    ASSERT_TRUE(Leggi(GeneraleConUndicesimo(campo)));
    EXPECT_EQ(t.stazioni[85].inizio, 0);  // the section ended before it
  }
}

// ---- keyword tests are independent
// ---------------------------------------------

TEST_F(GuardieLineaTest, AGeneralFieldHoldingTwoRowsKeywordsRunsBoth) {
  ASSERT_TRUE(Leggi(SorgenteLinea(
      {"lunghezza percorso, 10000", "progressiva tre due, 3000, 250, 0, 1000, 50, 0"}, {})));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(t.stazioni[81].inizio, 3000);
  EXPECT_EQ(t.stazioni[81].fine, 250);
  EXPECT_EQ(t.stazioni[82].inizio, 1000);
  EXPECT_EQ(t.stazioni[82].fine, 50);
}

TEST_F(GuardieLineaTest, AFeatureFieldHoldingTwoRowsKeywordsRunsBoth) {
  ASSERT_TRUE(Leggi(LineaLunga(1000, {"pendenza montagna, 500, 5, 1000, 2000, 2"})));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(t.percorso[10].pendenza, 105);
  EXPECT_EQ(t.numero_montagne, 1);
  EXPECT_EQ(t.percorso[20].montagna, 2);
}

TEST(TrenoChiaviTest, AFieldHoldingTwoRowsKeywordsRunsBoth) {
  LetturaTreno l;
  l.leggi_righe({"sabbia e vetture, 9, 300"});
  EXPECT_EQ(l.t.codice_errore, 0);
  EXPECT_EQ(l.s(84).posizione, 9);  // the coaches' handler is tried first
  EXPECT_EQ(l.s(86).d2a, 300);
}

// ---- the background keywords
// ---------------------------------------------------

// "sfondo" and "uno", "due" or "tre" anywhere in the field, in this exact case.
TEST_F(GuardieLineaTest, BackgroundKeywordsAreExactCaseSubstrings) {
  ASSERT_TRUE(Leggi(SorgenteLinea(
      {"lunghezza percorso, 1000", "unosfondo, 1", "lo sfondo: due, 2", "tresfondoX, 3"}, {})));
  EXPECT_EQ(t.stazioni[85].inizio, 1);
  EXPECT_EQ(t.stazioni[85].posizione, 2);
  EXPECT_EQ(t.stazioni[85].fine, 3);

  Nuove();
  ASSERT_TRUE(Leggi(SorgenteLinea({"lunghezza percorso, 1000", "SFONDO uno, 1", "sfondo UNO, 1",
                                   "sfondo Due, 2", "sfondo TRE, 3", "sfondi tre, 3"},
                                  {})));
  EXPECT_EQ(t.stazioni[85].inizio, 0);
  EXPECT_EQ(t.stazioni[85].posizione, 0);
  EXPECT_EQ(t.stazioni[85].fine, 0);
}

// ---- values the tables have no room for
// ----------------------------------------

// A station name is kept with a 16-bit byte count.
TEST(LimitiTrenoTest, StationNameLongerThanAnEntryStoresIsCode111) {
  LetturaTreno ok;
  ok.leggi_righe({Stazione(16000, 12, 600, std::string(65535, 'N'))});
  EXPECT_EQ(ok.t.codice_errore, 0);
  EXPECT_EQ(ok.s(1).nome.size(), 65535u);
  EXPECT_EQ(ok.c(325).tipo, tipo_cella::kFermata);

  LetturaTreno l;
  l.leggi_righe({Stazione(16000, 12, 600, std::string(65536, 'N')), "numero vetture, 9"});
  EXPECT_EQ(l.t.codice_errore, codice::kValoreEccessivo);
  EXPECT_EQ(l.t.posizione_errore, 16000);
  EXPECT_EQ(l.c(325).tipo, 0);  // no stop cell
  EXPECT_EQ(l.s(84).posizione, 0);
  EXPECT_EQ(l.fs.files.count(LetturaTreno::Sorgente()), 0u);
}

// A signal's approach marks are 30 * sx + 10 * dx + n, n from 1 to 4, in a
// byte.
TEST(LimitiTrenoTest, ApproachMarkOutsideItsByteIsCode111) {
  const auto segnale = [](int sx, int dx) {
    return "segnale, 9100, " + Numero(sx) + ", 4, 0, 0, 0, " + Numero(dx) + ", 1, 0, 0, 0";
  };
  {
    LetturaTreno l;
    l.leggi_righe({segnale(8, 1)});  // 251 to 254
    EXPECT_EQ(l.t.codice_errore, 0);
    EXPECT_EQ(l.c(175).avviso, 254);
  }
  for (const auto& [sx, dx] : {std::pair{8, 2}, std::pair{0, -1}, std::pair{-1, 0}}) {
    SCOPED_TRACE(segnale(sx, dx));
    LetturaTreno l;
    l.leggi_righe({segnale(sx, dx), "numero vetture, 9"});
    EXPECT_EQ(l.t.codice_errore, codice::kValoreEccessivo);
    EXPECT_EQ(l.t.posizione_errore, 9100);
    EXPECT_EQ(l.c(183).tipo, 0);
    EXPECT_EQ(l.c(181).avviso, 0);
    EXPECT_EQ(l.s(84).posizione, 0);
  }
}

// Speed, end flag and speed difference of a slow-down go into 16-bit fields.
TEST(LimitiTrenoTest, SlowDownFieldOutsideSixteenBitsIsCode111) {
  const auto riga = [](const std::string& v, const std::string& f_tt, const std::string& d_v) {
    return "rallentamento, 3150, " + v + ", 500, " + f_tt + ", 0, " + d_v;
  };
  {
    LetturaTreno l;
    l.leggi_righe({riga("32767", "-32768", "32767")});
    EXPECT_EQ(l.t.codice_errore, 0);
    EXPECT_EQ(l.c(64).dato1, 32767);
    EXPECT_EQ(l.c(64).dato3, -32768);
  }
  for (const std::string& r :
       {riga("32768", "3", "0"), riga("-32769", "3", "0"), riga("60", "32768", "0"),
        riga("60", "-32769", "0"), riga("60", "3", "32768"), riga("60", "3", "-32769")}) {
    SCOPED_TRACE(r);
    LetturaTreno l;
    l.leggi_righe({r, "numero vetture, 9"});
    EXPECT_EQ(l.t.codice_errore, codice::kValoreEccessivo);
    EXPECT_EQ(l.t.posizione_errore, 3150);
    for (int k : {40, 64, 74}) EXPECT_EQ(l.c(k).tipo, 0) << k;
    EXPECT_EQ(l.s(84).posizione, 0);
  }
}

}  // namespace
