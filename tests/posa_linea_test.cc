#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "compiler/codici_errore.h"
#include "compiler/posa/posa.h"
#include "compiler/tabelle.h"

namespace {

constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();

// A grid as the line reader leaves it for a 176000 m line: cells 0 to 3660.
class PosaLineaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.numero_celle = 3660;
    t.percorso.assign(3661, cella{});
  }

  void Cambi(int32_t i81, int32_t f81, int32_t p81, int32_t i82, int32_t f82, int32_t p82,
             int32_t i83, int32_t f83, int32_t p83) {
    t.stazioni[81].inizio = i81, t.stazioni[81].fine = f81, t.stazioni[81].posizione = p81;
    t.stazioni[82].inizio = i82, t.stazioni[82].fine = f82, t.stazioni[82].posizione = p82;
    t.stazioni[83].inizio = i83, t.stazioni[83].fine = f83, t.stazioni[83].posizione = p83;
  }

  void AttesoCambio(int e, int32_t inizio, int32_t fine, int32_t posizione) {
    SCOPED_TRACE(e);
    EXPECT_EQ(t.stazioni[e].inizio, inizio);
    EXPECT_EQ(t.stazioni[e].fine, fine);
    EXPECT_EQ(t.stazioni[e].posizione, posizione);
  }

  int32_t Montagna(int32_t inizio, int32_t fine, int32_t tipo) {
    codice = memo_montagna(t, inizio, fine, tipo);
    return tipo;
  }

  void Indicatori(int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs, int32_t strisces,
                  int32_t vad, int32_t vbd, int32_t vcd, int32_t strisced) {
    codice = memo_indicatori_v_max(t, posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced);
  }

  Tabelle t;
  int32_t codice = 0;  // what the last placement returned
};

// ---- kilometre-progressive changes ------------------------------------------

TEST_F(PosaLineaTest, ChangesAlreadyInOrderStayPut) {
  Cambi(135500, 19250, 0, 115000, 700, 0, 104400, 16400, 0);
  codice = progressive_ordina(t);
  AttesoCambio(81, 135500, 19250, 0);
  AttesoCambio(82, 115000, 700, 0);
  AttesoCambio(83, 104400, 16400, 0);
  EXPECT_EQ(codice, 0);
}

TEST_F(PosaLineaTest, ChangesAreOrderedLargestPositionFirst) {
  Cambi(0, 0, 0, 3000, 30, 0, 5000, 50, 0);
  codice = progressive_ordina(t);
  AttesoCambio(81, 5000, 50, 0);
  AttesoCambio(82, 3000, 30, 0);
  AttesoCambio(83, 0, 0, 0);

  Cambi(200, 2, 0, 100, 1, 0, 300, 3, 0);
  codice = progressive_ordina(t);
  AttesoCambio(81, 300, 3, 0);
  AttesoCambio(82, 200, 2, 0);
  AttesoCambio(83, 100, 1, 0);
}

TEST_F(PosaLineaTest, EqualLowerPositionsPutTheHigherEntryFirst) {
  Cambi(100, 1, 0, 500, 5, 0, 100, 3, 0);
  codice = progressive_ordina(t);
  AttesoCambio(81, 500, 5, 0);
  AttesoCambio(82, 100, 3, 0);  // from entry 83
  AttesoCambio(83, 100, 1, 0);  // from entry 81
}

TEST_F(PosaLineaTest, SharedLargestPositionClearsAllChanges) {
  Cambi(7000, 1, 1, 7000, 2, 1, 7000, 3, 1);
  codice = progressive_ordina(t);
  for (int e = 81; e <= 83; ++e) AttesoCambio(e, 0, 0, 0);

  Cambi(500, 1, 0, 100, 2, 0, 500, 3, 0);
  codice = progressive_ordina(t);
  for (int e = 81; e <= 83; ++e) AttesoCambio(e, 0, 0, 0);
}

TEST_F(PosaLineaTest, ChangesAtZeroAreOrderedByPositiveProgressive) {
  Cambi(0, 0, 5, 0, 700, 6, 0, 0, 7);  // only 82 positive: 81 and 82 exchange
  codice = progressive_ordina(t);
  AttesoCambio(81, 0, 700, 6);
  AttesoCambio(82, 0, 0, 5);
  AttesoCambio(83, 0, 0, 7);

  Cambi(0, 10, 5, 0, 700, 6, 0, 40, 7);  // 83 positive decides first: 81 and 83 exchange
  codice = progressive_ordina(t);
  AttesoCambio(81, 0, 40, 7);
  AttesoCambio(82, 0, 700, 6);
  AttesoCambio(83, 0, 10, 5);

  Cambi(0, 10, 5, 0, -1, 6, 0, 0, 7);  // only 81 positive: nothing moves
  codice = progressive_ordina(t);
  AttesoCambio(81, 0, 10, 5);
  AttesoCambio(82, 0, -1, 6);
  AttesoCambio(83, 0, 0, 7);

  Cambi(0, 0, 5, 0, -1, 6, 0, 0, 7);  // none positive: all cleared
  codice = progressive_ordina(t);
  for (int e = 81; e <= 83; ++e) AttesoCambio(e, 0, 0, 0);
}

TEST_F(PosaLineaTest, PositionsSummingToZeroOnlyModulo32BitsAreStillOrdered) {
  // 2147483647 + 2147483646 + 3 wraps to 0 in 32 bits; read as zero it
  // would exchange 81 and 83.
  Cambi(kMax32, 1, 0, kMax32 - 1, 2, 0, 3, 3, 0);
  codice = progressive_ordina(t);
  AttesoCambio(81, kMax32, 1, 0);
  AttesoCambio(82, kMax32 - 1, 2, 0);
  AttesoCambio(83, 3, 3, 0);
}

TEST_F(PosaLineaTest, FlagOneAddsAHundredAfterOrdering) {
  Cambi(100, 10, 1, 300, 30, 2, 200, 20, 1);
  codice = progressive_ordina(t);
  AttesoCambio(81, 300, 30, 2);
  AttesoCambio(82, 200, 120, 1);
  AttesoCambio(83, 100, 110, 1);
  EXPECT_EQ(codice, 0);
}

TEST_F(PosaLineaTest, FlagOneOnTheLargestProgressiveIsRefusedNotWrapped) {
  Cambi(300, kMax32, 1, 200, 20, 1, 100, 0, 0);
  codice = progressive_ordina(t);
  EXPECT_EQ(codice, codice::kValoreEccessivo);
  AttesoCambio(81, 300, kMax32, 1);
  AttesoCambio(82, 200, 120, 1);
}

// ---- tunnel stretches -------------------------------------------------------

TEST_F(PosaLineaTest, MarkedTunnelCoversItsCellsAndMarksEveryFourth) {
  t.percorso[572].tipo = tipo_cella::kIndicatoriVmax;  // stays, gets the style
  EXPECT_EQ(Montagna(28050, 29400, 13), 3);
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.numero_montagne, 1);
  EXPECT_EQ(t.inizio_montagne[1], 28050);
  EXPECT_EQ(t.fine_montagne[1], 29400);
  EXPECT_EQ(t.percorso[560].montagna, 0);
  EXPECT_EQ(t.percorso[588].montagna, 0);
  for (int k = 561; k <= 587; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(t.percorso[k].montagna, 3);
    const bool marcata = k == 564 || k == 568 || k == 576 || k == 580 || k == 584;
    const uint8_t atteso = k == 572  ? tipo_cella::kIndicatoriVmax
                           : marcata ? tipo_cella::kMontagna
                                     : tipo_cella::kNiente;
    EXPECT_EQ(t.percorso[k].tipo, atteso);
  }
}

TEST_F(PosaLineaTest, UnmarkedTunnelPutsNoMarkers) {
  EXPECT_EQ(Montagna(28050, 29400, 2), 2);
  for (int k = 561; k <= 587; ++k) {
    EXPECT_EQ(t.percorso[k].montagna, 2);
    EXPECT_EQ(t.percorso[k].tipo, 0);
  }
}

TEST_F(PosaLineaTest, TunnelCellsRoundHalvesToEven) {
  Montagna(87100, 87150, 2);  // 1742 to round(1742) : one cell
  EXPECT_EQ(t.percorso[1741].montagna, 0);
  EXPECT_EQ(t.percorso[1742].montagna, 2);
  EXPECT_EQ(t.percorso[1743].montagna, 0);

  Montagna(90075, 90175, 1);  // round(1801.5) = 1802 to round(1802.5) = 1802
  EXPECT_EQ(t.percorso[1801].montagna, 0);
  EXPECT_EQ(t.percorso[1802].montagna, 1);
  EXPECT_EQ(t.percorso[1803].montagna, 0);
}

TEST_F(PosaLineaTest, TunnelWithNoCellsIsStillCounted) {
  EXPECT_EQ(Montagna(5000, 5000, 1), 1);
  EXPECT_EQ(t.numero_montagne, 1);
  for (const cella& c : t.percorso) EXPECT_EQ(c.montagna, 0);
}

TEST_F(PosaLineaTest, TunnelCloseAfterThePreviousBecomesStyleThree) {
  Montagna(1000, 2000, 1);
  EXPECT_EQ(Montagna(2150, 3000, 12), 3);  // 150 m after the end
  EXPECT_EQ(t.percorso[43].montagna, 3);
  EXPECT_EQ(t.percorso[46].tipo, tipo_cella::kMontagna);  // still marked
  EXPECT_EQ(Montagna(3151, 4000, 2), 2);                  // 151 m: keeps its own
  EXPECT_EQ(Montagna(3500, 5000, 1), 3);                  // starts inside the previous one
  EXPECT_EQ(t.numero_montagne, 4);
  EXPECT_EQ(t.fine_montagne[4], 5000);
}

TEST_F(PosaLineaTest, TunnelBeyondTheGridIsRefusedUntouched) {
  int32_t inizio = 182000, fine = 183100, tipo = 11;  // last cell 3661
  codice = memo_montagna(t, inizio, fine, tipo);
  EXPECT_EQ(codice, codice::kMontagnaOltrePercorso);
  EXPECT_EQ(tipo, 11);
  EXPECT_EQ(t.numero_montagne, 0);
  for (const cella& c : t.percorso) EXPECT_EQ(c.montagna, 0);

  codice = 0;
  EXPECT_EQ(Montagna(182000, 183050, 1), 1);  // last cell 3660 is the grid's last
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.percorso[3660].montagna, 1);
}

TEST_F(PosaLineaTest, EightyFirstTunnelIsRefused) {
  for (int i = 1; i <= 80; ++i) Montagna(i * 1000, i * 1000 + 100, 1);
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.numero_montagne, 80);
  EXPECT_EQ(Montagna(90000, 90100, 1), 1);
  EXPECT_EQ(codice, codice::kTroppeMontagne);
  EXPECT_EQ(t.numero_montagne, 80);
  EXPECT_EQ(t.percorso[1800].montagna, 0);
}

TEST_F(PosaLineaTest, TunnelStyleBeyondAByteIsRefused) {
  EXPECT_EQ(Montagna(1000, 2000, 300), 300);
  EXPECT_EQ(codice, codice::kValoreEccessivo);
  EXPECT_EQ(t.numero_montagne, 0);
  EXPECT_EQ(t.percorso[25].montagna, 0);
}

// ---- maximum-speed indicator boards -----------------------------------------

TEST_F(PosaLineaTest, SpeedBoardsPackBothSides) {
  Indicatori(1050, 85, 90, 95, 0, 85, 90, 95, 0);
  const cella& c = t.percorso[22];
  EXPECT_EQ(c.tipo, tipo_cella::kIndicatoriVmax);
  EXPECT_EQ(c.dato1, 1717);
  EXPECT_EQ(c.dato2, 1818);
  EXPECT_EQ(c.dato3, 1919);
  EXPECT_EQ(c.dato4, 0);

  Indicatori(16300, 140, 160, 250, 2, 140, 160, 250, 1);
  const cella& d = t.percorso[327];
  EXPECT_EQ(d.dato1, 2828);
  EXPECT_EQ(d.dato2, 3232);
  EXPECT_EQ(d.dato3, 5050);
  EXPECT_EQ(d.dato4, 21);
  EXPECT_EQ(codice, 0);
}

TEST_F(PosaLineaTest, SpeedBoardRightSideRoundsToNearest) {
  Indicatori(5000, 1, 1, 0, 0, 12, 13, -13, 0);  // 20 + 2.4, 20 + 2.6, -2.6
  EXPECT_EQ(t.percorso[101].dato1, 22);
  EXPECT_EQ(t.percorso[101].dato2, 23);
  EXPECT_EQ(t.percorso[101].dato3, -3);
}

TEST_F(PosaLineaTest, SpeedBoardCellRoundsHalvesToEven) {
  Indicatori(25, 1, 0, 0, 0, 0, 0, 0, 0);   // 1.5 -> 2
  Indicatori(125, 2, 0, 0, 0, 0, 0, 0, 0);  // 3.5 -> 4
  EXPECT_EQ(t.percorso[2].dato1, 20);
  EXPECT_EQ(t.percorso[4].dato1, 40);
  EXPECT_EQ(t.percorso[3].tipo, 0);
  Indicatori(75, 3, 0, 0, 0, 0, 0, 0, 0);  // 2.5 -> 2, already taken
  EXPECT_EQ(codice, codice::kIndicatoriOccupato);
  EXPECT_EQ(t.percorso[2].dato1, 20);
}

TEST_F(PosaLineaTest, SpeedBoardTakesATunnelMarkerButNotAFeature) {
  t.percorso[22].tipo = tipo_cella::kMontagna;
  Indicatori(1050, 85, 90, 95, 0, 85, 90, 95, 0);
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.percorso[22].tipo, tipo_cella::kIndicatoriVmax);

  t.percorso[40].tipo = tipo_cella::kCartello;
  t.percorso[40].dato1 = 80;
  Indicatori(1950, 85, 90, 95, 0, 85, 90, 95, 0);
  EXPECT_EQ(codice, codice::kIndicatoriOccupato);
  EXPECT_EQ(t.percorso[40].tipo, tipo_cella::kCartello);
  EXPECT_EQ(t.percorso[40].dato1, 80);
}

TEST_F(PosaLineaTest, SpeedBoardValuesBeyondSixteenBitsAreRefused) {
  Indicatori(1050, 2000, 0, 0, 0, 0, 0, 0, 0);  // 40000
  EXPECT_EQ(codice, codice::kValoreEccessivo);
  EXPECT_EQ(t.percorso[22].tipo, 0);
  codice = 0;
  Indicatori(1050, kMax32, 0, 0, 0, kMax32, 0, 0, 0);  // would wrap in 32 bits
  EXPECT_EQ(codice, codice::kValoreEccessivo);
  EXPECT_EQ(t.percorso[22].dato1, 0);
}

TEST_F(PosaLineaTest, SpeedBoardOffTheGridWritesNothing) {
  Indicatori(-200, 1, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(codice, codice::kFuoriPercorso);
  Indicatori(kMax32, 1, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(codice, codice::kFuoriPercorso);
}

}  // namespace
