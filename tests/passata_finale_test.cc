#include "compiler/finitura/passata_finale.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "compiler/codici_errore.h"
#include "compiler/finitura/minimo.h"
#include "support/griglia.h"

namespace {

TEST(MinimoTest, SmallerValueAndXOnEquality) {
  EXPECT_EQ(minimo(valore::Intero(180), valore::Intero(270)).intero, 180);
  EXPECT_EQ(minimo(valore::Intero(180), valore::Intero(150)).intero, 150);
  valore uguale = minimo(valore::Intero(180), valore::Reale(180.0));
  EXPECT_EQ(uguale.codice, valore::kIntero);
  valore reale = minimo(valore::Intero(180), valore::Reale(179.5));
  EXPECT_EQ(reale.codice, valore::kReale);
}

class PassataFinaleTest : public ::testing::Test {
 protected:
  void metti(int k, uint8_t tipo, int16_t dato1 = 0) { g.metti(k, tipo, dato1); }
  void rallentamento(int inizio, int fine, int16_t velocita) {
    g.rallentamento(inizio, fine, velocita);
  }
  std::set<int> tagli() const { return g.tagli(); }
  const cella& c(int k) const { return g.c(k); }

  Griglia g;
  Tabelle& t = g.t;
};

TEST_F(PassataFinaleTest, NothingToDoWithoutSlowDowns) {
  metti(50, tipo_cella::kSegnale, 41);
  metti(60, tipo_cella::kAbbattimento, 270);
  passata_finale(t);
  EXPECT_EQ(tagli(), std::set<int>{});
  EXPECT_EQ(c(60).dato1, 270);
  EXPECT_EQ(t.codice_errore, 0);
}

TEST_F(PassataFinaleTest, SlowSlowDownGetsCutsBehindAndAlong) {
  rallentamento(100, 140, 60);
  passata_finale(t);
  EXPECT_EQ(tagli(), (std::set<int>{82, 89, 95, 108, 116, 124, 132, 139}));
  EXPECT_EQ(c(140).tipo, tipo_cella::kFineRallentamento);
  EXPECT_EQ(t.codice_errore, 0);
}

TEST_F(PassataFinaleTest, FastSlowDownGetsOnlyTheCutsBehind) {
  rallentamento(100, 140, 110);
  passata_finale(t);
  EXPECT_EQ(tagli(), (std::set<int>{82, 89, 95}));
}

TEST_F(PassataFinaleTest, CutAlongMovesAndShiftsTheFollowingOnes) {
  rallentamento(100, 140, 60);
  metti(108, tipo_cella::kSegnale);
  metti(122, tipo_cella::kSegnale);
  metti(123, tipo_cella::kCartello);
  passata_finale(t);
  // 108 taken: 107, then 115; 123 and 122 taken: 124, and 8 cells on from there.
  EXPECT_EQ(tagli(), (std::set<int>{82, 89, 95, 107, 115, 124, 132, 139}));
}

TEST_F(PassataFinaleTest, CutAlongWithNoRoomEndsTheWalkCuts) {
  rallentamento(100, 140, 60);
  for (int k = 107; k <= 109; ++k) metti(k, tipo_cella::kCartello);
  passata_finale(t);
  EXPECT_EQ(t.codice_errore, codice::kAbbattimentoPercorso);
  EXPECT_EQ(t.posizione_errore, 50 * 108);
  EXPECT_EQ(tagli(), (std::set<int>{82, 89, 95}));
}

TEST_F(PassataFinaleTest, CutsBehindTheStartTakeTheFirstFreeCandidate) {
  metti(200, tipo_cella::kInizioRallentamento, 150);
  metti(250, tipo_cella::kFineRallentamento, 150);
  metti(195, tipo_cella::kSegnale);
  metti(194, tipo_cella::kCartello);
  metti(189, tipo_cella::kCartello);
  metti(188, tipo_cella::kCartello);
  metti(182, tipo_cella::kMontagna);  // a tunnel marker is free
  passata_finale(t);
  EXPECT_EQ(tagli(), (std::set<int>{193, 187, 182}));
  EXPECT_EQ(t.codice_errore, 0);
}

TEST_F(PassataFinaleTest, NoRoomBehindTheStartIsCode12AndTheOtherGroupsStillCome) {
  metti(200, tipo_cella::kInizioRallentamento, 150);
  metti(250, tipo_cella::kFineRallentamento, 150);
  for (int k = 193; k <= 195; ++k) metti(k, tipo_cella::kFermata);
  passata_finale(t);
  EXPECT_EQ(t.codice_errore, codice::kAbbattimentoInizio);
  EXPECT_EQ(t.posizione_errore, 10000);
  EXPECT_EQ(tagli(), (std::set<int>{182, 189}));
}

TEST_F(PassataFinaleTest, GroupThresholds) {
  const struct {
    int inizio;
    std::set<int> attesi;
  } casi[] = {
      {7, {}}, {8, {3}}, {13, {8}}, {14, {9, 3}}, {20, {15, 9}}, {21, {16, 10, 3}},
  };
  for (const auto& caso : casi) {
    Griglia g;
    g.metti(caso.inizio, tipo_cella::kInizioRallentamento, 150);
    passata_finale(g.t);
    EXPECT_EQ(g.tagli(), caso.attesi) << caso.inizio;
  }
}

TEST_F(PassataFinaleTest, SignalsBehindAWarningBoardGetACutInFront) {
  metti(200, tipo_cella::kAvvisoRallentamento, 60);
  metti(195, tipo_cella::kSegnale);
  metti(190, tipo_cella::kSegnale);
  metti(189, tipo_cella::kAbbattimento, 270);  // kept: 188 is free
  metti(179, tipo_cella::kSegnale);            // 21 cells behind: not looked at
  passata_finale(t);
  EXPECT_EQ(tagli(), (std::set<int>{194, 188}));
  EXPECT_EQ(c(189).dato1, 270);
}

TEST_F(PassataFinaleTest, ExistingCutInFrontOfASignalIsCapped) {
  metti(200, tipo_cella::kAvvisoRallentamento, 60);
  metti(190, tipo_cella::kSegnale);
  metti(189, tipo_cella::kAbbattimento, 270);
  metti(188, tipo_cella::kCartello);
  metti(185, tipo_cella::kSegnale);
  metti(184, tipo_cella::kCartello);
  metti(183, tipo_cella::kAbbattimento, 150);  // below 180: kept
  passata_finale(t);
  EXPECT_EQ(c(189).dato1, 180);
  EXPECT_EQ(c(183).dato1, 150);
  EXPECT_EQ(t.codice_errore, 0);
}

TEST_F(PassataFinaleTest, NoRoomInFrontOfASignalIsCode11) {
  metti(200, tipo_cella::kAvvisoRallentamento, 60);
  metti(190, tipo_cella::kSegnale);
  metti(189, tipo_cella::kCartello);
  metti(188, tipo_cella::kFermata);
  metti(185, tipo_cella::kSegnale);
  passata_finale(t);
  EXPECT_EQ(t.codice_errore, codice::kAbbattimentoSegnale);
  EXPECT_EQ(t.posizione_errore, 50 * 190);
  EXPECT_EQ(tagli(), (std::set<int>{184}));  // the other signal still gets its cut
}

TEST_F(PassataFinaleTest, LookBackStopsBelowCellThree) {
  metti(10, tipo_cella::kAvvisoRallentamento, 60);
  metti(2, tipo_cella::kSegnale);
  passata_finale(t);
  EXPECT_EQ(tagli(), std::set<int>{});
  metti(3, tipo_cella::kSegnale);
  passata_finale(t);
  EXPECT_EQ(tagli(), std::set<int>{1});  // 2 is the other signal
}

TEST_F(PassataFinaleTest, FirstSignalAfterTheEnd) {
  rallentamento(100, 140, 60);
  metti(152, tipo_cella::kSegnale);
  metti(151, tipo_cella::kAbbattimento, 270);  // not capped
  metti(150, tipo_cella::kSegnale);            // only the first one counts
  metti(149, tipo_cella::kCartello);
  passata_finale(t);
  EXPECT_EQ(tagli(), (std::set<int>{82, 89, 95, 108, 116, 124, 132, 139, 148}));
  EXPECT_EQ(c(151).dato1, 270);
}

TEST_F(PassataFinaleTest, SignalBeyondTwelveCellsAfterTheEndIsNotSeen) {
  rallentamento(100, 140, 60);
  metti(153, tipo_cella::kSegnale);
  passata_finale(t);
  EXPECT_EQ(tagli().count(152), 0u);
}

TEST_F(PassataFinaleTest, NoRoomInFrontOfTheSignalAfterTheEndIsCode13) {
  rallentamento(100, 140, 60);
  metti(150, tipo_cella::kSegnale);
  metti(149, tipo_cella::kCartello);
  metti(148, tipo_cella::kCartello);
  passata_finale(t);
  EXPECT_EQ(t.codice_errore, codice::kAbbattimentoPercorso);
  EXPECT_EQ(t.posizione_errore, 50 * 140);
}

TEST_F(PassataFinaleTest, FastSlowDownStillProtectsTheSignalAfterItsEnd) {
  rallentamento(100, 140, 130);
  metti(145, tipo_cella::kSegnale);
  passata_finale(t);
  EXPECT_EQ(tagli(), (std::set<int>{82, 89, 95, 144}));
}

TEST_F(PassataFinaleTest, SlowWalkPassesAnotherStartAndStopsAtTheFirstEnd) {
  // The outer walk passes the inner start and stops at the first end ahead,
  // whichever slow-down it belongs to: nested (inner end 140, outer end 160)
  // or overlapping (the second ends at 170) give the same cuts. The inner
  // slow-down gets its cuts behind its start and its own walk to 140.
  const std::set<int> attesi = {82, 89, 95, 108, 116, 124, 132, 139,  // outer
                                102, 109, 115, 128, 136};             // inner
  for (const auto& [prima, seconda] : {std::pair{160, 140}, std::pair{140, 170}}) {
    Griglia g;
    g.rallentamento(100, prima, 60).rallentamento(120, seconda, 60);
    passata_finale(g.t);
    EXPECT_EQ(g.tagli(), attesi) << prima << " " << seconda;
    EXPECT_EQ(g.t.codice_errore, 0);
  }
}

TEST_F(PassataFinaleTest, SignalAfterTheFirstEndAheadOfAFastSlowDown) {
  // A fast slow-down gets no walk, but its end is found the same way: past
  // the start of a slow-down inside it, at the first end cell.
  rallentamento(100, 160, 130);
  rallentamento(120, 140, 130);
  metti(145, tipo_cella::kSegnale);
  passata_finale(t);
  EXPECT_EQ(tagli(), (std::set<int>{82, 89, 95, 102, 109, 115, 144, 143}));
}

TEST_F(PassataFinaleTest, SlowDownInOneCellIsKnownFromThePlacementNotFromTheGrid) {
  // Start and end in one cell, as the placement noted it, then a full
  // slow-down: the first ends in its own cell and does not walk along open
  // line into the second.
  metti(100, tipo_cella::kInizioRallentamento, 60);
  t.rallentamenti_in_una_cella = {100};
  rallentamento(200, 220, 60);
  metti(105, tipo_cella::kSegnale);
  passata_finale(t);
  EXPECT_EQ(tagli(), (std::set<int>{82, 89, 95, 104, 182, 189, 195, 208, 216}));
}

TEST_F(PassataFinaleTest, StartWithoutTheNoteWalksOnToTheNextEnd) {
  // The same grid without the note: a start like any other, whose walk
  // passes the next start and ends at 220.
  metti(100, tipo_cella::kInizioRallentamento, 60);
  rallentamento(200, 220, 60);
  passata_finale(t);
  EXPECT_EQ(tagli(), (std::set<int>{82, 89, 95, 108, 116, 124, 132, 140, 148, 156, 164, 172, 180,
                                    188, 196, 204, 212, 219, 182, 189, 195, 208, 216}));
}

TEST_F(PassataFinaleTest, WalksAndSearchesStayInsideTheGrid) {
  // A start with no end anywhere ahead: the walk stops at the last cell.
  metti(380, tipo_cella::kInizioRallentamento, 60);
  passata_finale(t);
  EXPECT_EQ(tagli(), (std::set<int>{362, 369, 375, 388, 396}));
}

TEST_F(PassataFinaleTest, CutThatWouldFallBeyondTheLastCellIsCode13) {
  // An end in the last cell, with the cell before it taken: the cut would
  // go one cell beyond the grid.
  rallentamento(392, 400, 60);
  metti(399, tipo_cella::kCartello);
  passata_finale(t);
  EXPECT_EQ(t.codice_errore, codice::kAbbattimentoPercorso);
  EXPECT_EQ(t.posizione_errore, 50 * 400);
  // The conflict leaves both cells as they were.
  EXPECT_EQ(t.percorso[399].tipo, tipo_cella::kCartello);
  EXPECT_EQ(t.percorso[400].tipo, tipo_cella::kFineRallentamento);

}

TEST_F(PassataFinaleTest, SignalInTheLastCellAfterAnEndGetsItsCut) {
  rallentamento(380, 395, 60);
  metti(400, tipo_cella::kSegnale);
  passata_finale(t);
  EXPECT_EQ(tagli().count(399), 1u);
}

TEST_F(PassataFinaleTest, CellsBeyondTheLastVisitedAreNotTriggers) {
  metti(399, tipo_cella::kInizioRallentamento, 60);
  metti(400, tipo_cella::kAvvisoRallentamento, 60);
  metti(395, tipo_cella::kSegnale);
  passata_finale(t);
  EXPECT_EQ(tagli(), std::set<int>{});
}

}  // namespace
