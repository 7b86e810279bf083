#include <gtest/gtest.h>

#include <vector>

#include "compiler/codici_errore.h"
#include "compiler/posa/posa.h"

namespace {

class PosaTrenoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.numero_celle = 400;
    t.percorso.resize(401);
  }

  // A signal with the given left aspect, right aspect and time; the other
  // values are those of the 9100 example.
  void segnale(int32_t posizione, int32_t sx, int32_t tempo, int32_t s1 = 4) {
    int32_t s2 = 0, s3 = 0, rapp = 0, dx = 2, d1 = 1, d2 = 0, d3 = 0;
    tempo_scritto = tempo;
    codice = memo_segnale(t, posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo_scritto);
  }

  void rallentamento(int32_t x, int32_t l, int32_t f_ta, int32_t d_v, int32_t v = 60) {
    int32_t f_tt = 3;
    codice = memo_rallentamento(t, x, v, l, f_tt, f_ta, d_v);
  }

  Tabelle t;
  int32_t codice = 0;  // what the last placement returned
  int32_t tempo_scritto = 0;
};

TEST_F(PosaTrenoTest, SignalCellValuesAndApproachMarks) {
  segnale(9100, 2, 0);
  EXPECT_EQ(codice, 0);
  const cella& c = t.percorso[183];
  EXPECT_EQ(c.tipo, tipo_cella::kSegnale);
  EXPECT_EQ(c.dato4, 8);
  EXPECT_EQ(c.dato1, 41);
  EXPECT_EQ(c.dato2, 0);
  EXPECT_EQ(c.dato3, 0);
  EXPECT_EQ(c.tempo, 0);
  EXPECT_EQ(t.percorso[181].avviso, 81);
  EXPECT_EQ(t.percorso[179].avviso, 82);
  EXPECT_EQ(t.percorso[177].avviso, 83);
  EXPECT_EQ(t.percorso[175].avviso, 84);
  for (int k : {182, 180, 178, 176, 174, 173}) EXPECT_EQ(t.percorso[k].avviso, 0) << k;
}

TEST_F(PosaTrenoTest, SignalTimeIsRaisedAndStoredOnlyForLeftAspectTwo) {
  segnale(9100, 2, 50);
  EXPECT_EQ(t.percorso[183].tempo, 101);
  EXPECT_EQ(tempo_scritto, 101);  // written back to the caller

  segnale(12100, 1, 50);
  EXPECT_EQ(t.percorso[243].tempo, 0);
  EXPECT_EQ(tempo_scritto, 101);

  segnale(15100, 2, 180);
  EXPECT_EQ(t.percorso[303].tempo, 180);
  EXPECT_EQ(tempo_scritto, 180);
  EXPECT_EQ(codice, 0);
}

TEST_F(PosaTrenoTest, SignalMayReplaceATunnelMarkerButNotABoard) {
  t.percorso[183].tipo = tipo_cella::kMontagna;
  t.percorso[183].montagna = 2;
  segnale(9100, 2, 0);
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.percorso[183].tipo, tipo_cella::kSegnale);
  EXPECT_EQ(t.percorso[183].montagna, 2);

  t.percorso[243].tipo = tipo_cella::kIndicatoriVmax;
  t.percorso[243].dato1 = 1717;
  segnale(12100, 2, 50);
  EXPECT_EQ(codice, codice::kSegnaleOccupato);
  EXPECT_EQ(t.percorso[243].tipo, tipo_cella::kIndicatoriVmax);
  EXPECT_EQ(t.percorso[243].dato1, 1717);
  EXPECT_EQ(t.percorso[241].avviso, 0);
  EXPECT_EQ(tempo_scritto, 50);  // a refused signal changes nothing
}

TEST_F(PosaTrenoTest, SignalTooNearTheStartIsRefusedWithoutWriting) {
  // Cell 7: its fourth approach mark would be cell -1.
  segnale(300, 2, 0);
  EXPECT_EQ(codice, codice::kAvvisiPrimaInizio);
  for (const cella& c : t.percorso) {
    EXPECT_EQ(c.tipo, 0);
    EXPECT_EQ(c.avviso, 0);
  }
  // Cell 8 just fits: its last mark is cell 0.
  codice = 0;
  segnale(350, 2, 0);
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.percorso[8].tipo, tipo_cella::kSegnale);
  EXPECT_EQ(t.percorso[0].avviso, 84);
}

TEST_F(PosaTrenoTest, SignalValuesBeyondTheirFieldsAreRefused) {
  segnale(9100, 2, 0, 3277);  // 10 * 3277 + 1 > 32767
  EXPECT_EQ(codice, codice::kValoreEccessivo);
  EXPECT_EQ(t.percorso[183].tipo, 0);
  codice = 0;
  segnale(9100, 2, 256);
  EXPECT_EQ(codice, codice::kValoreEccessivo);
  codice = 0;
  segnale(9100, 1, 256);  // the time byte is not written for aspect 1
  EXPECT_EQ(codice, 0);
  codice = 0;
  segnale(12100, 8, 0);  // approach mark 30 * 8 + 20 + 4 > 255
  EXPECT_EQ(codice, codice::kValoreEccessivo);
}

TEST_F(PosaTrenoTest, SlowDownWithoutBoardAt1500) {
  rallentamento(1500, 500, 1, 40);
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.percorso[31].tipo, tipo_cella::kInizioRallentamento);
  EXPECT_EQ(t.percorso[31].dato1, 60);
  EXPECT_EQ(t.percorso[31].dato2, 40);
  EXPECT_EQ(t.percorso[31].dato3, 3);
  EXPECT_EQ(t.percorso[41].tipo, tipo_cella::kFineRallentamento);
  EXPECT_EQ(t.percorso[41].dato1, 60);
  EXPECT_EQ(t.percorso[41].dato3, 3);
  for (int k = 0; k < 31; ++k) EXPECT_EQ(t.percorso[k].tipo, 0) << k;
}

TEST_F(PosaTrenoTest, SlowDownAt1550HasBoardAndNumberedCells) {
  rallentamento(1550, 500, 1, 40);
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.percorso[8].tipo, tipo_cella::kAvvisoRallentamento);
  EXPECT_EQ(t.percorso[8].dato1, 60);
  EXPECT_EQ(t.percorso[8].dato2, 40);
  EXPECT_EQ(t.percorso[8].dato3, 0);
  for (int n = 1; n <= 4; ++n) {
    const cella& c = t.percorso[8 - n];
    EXPECT_EQ(c.tipo, tipo_cella::kPrimaDellAvviso) << n;
    EXPECT_EQ(c.dato1, n);
    EXPECT_EQ(c.dato2, n);
  }
  EXPECT_EQ(t.percorso[3].tipo, 0);
}

TEST_F(PosaTrenoTest, SlowDownAt1575FailsOnItsOwnBoardAfterPlacingIt) {
  rallentamento(1575, 500, 1, 0);
  EXPECT_EQ(codice, codice::kPrimaAvvisoOccupato);
  EXPECT_EQ(t.percorso[8].tipo, tipo_cella::kAvvisoRallentamento);
  EXPECT_EQ(t.percorso[32].tipo, tipo_cella::kInizioRallentamento);  // 32.5 rounds to 32
  EXPECT_EQ(t.percorso[42].tipo, tipo_cella::kFineRallentamento);    // 2075/50 + 1 = 42.5
  for (int k = 5; k <= 7; ++k) EXPECT_EQ(t.percorso[k].tipo, 0) << k;
}

TEST_F(PosaTrenoTest, SlowDownConflictsWriteNothing) {
  t.percorso[40].tipo = tipo_cella::kSegnale;  // board cell of x = 3150
  rallentamento(3150, 500, 1, 40);
  EXPECT_EQ(codice, codice::kAvvisoOccupato);
  EXPECT_EQ(t.percorso[64].tipo, 0);
  EXPECT_EQ(t.percorso[74].tipo, 0);

  t.percorso[40].tipo = tipo_cella::kMontagna;  // a tunnel marker is free
  t.percorso[64].tipo = tipo_cella::kCartello;
  codice = 0;
  rallentamento(3150, 500, 1, 40);
  EXPECT_EQ(codice, codice::kInizioOccupato);
  EXPECT_EQ(t.percorso[40].tipo, tipo_cella::kMontagna);

  t.percorso[64].tipo = 0;
  t.percorso[74].tipo = tipo_cella::kFermata;
  codice = 0;
  rallentamento(3150, 500, 1, 40);
  EXPECT_EQ(codice, codice::kFineOccupato);
  EXPECT_EQ(t.percorso[64].tipo, 0);
}

TEST_F(PosaTrenoTest, ZeroSpeedDifferenceLeavesDato2) {
  for (int k = 0; k <= 80; ++k) t.percorso[k].dato2 = -7;
  rallentamento(3150, 500, 1, 0);
  EXPECT_EQ(codice, 0);
  for (int k : {74, 64, 40, 39, 38, 37, 36}) EXPECT_EQ(t.percorso[k].dato2, -7) << k;
  EXPECT_EQ(t.percorso[36].dato1, 4);
}

TEST_F(PosaTrenoTest, SlowDownInOneCellEndsUpAsAStartNotedBesideTheGrid) {
  rallentamento(3150, 20, 0, 0);
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.percorso[64].tipo, tipo_cella::kInizioRallentamento);
  EXPECT_EQ(t.percorso[64].dato1, 60);
  rallentamento(5150, 500, 0, 0);  // an end of its own: not noted
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.rallentamenti_in_una_cella, std::vector<int32_t>{64});
}

TEST_F(PosaTrenoTest, SlowDownEndBeyondTheGridIsRefused) {
  rallentamento(19000, 2000, 1, 40);  // end cell 421 > 400
  EXPECT_EQ(codice, codice::kRallentamentoOltre);
  for (const cella& c : t.percorso) EXPECT_EQ(c.tipo, 0);
  codice = 0;
  rallentamento(19000, 975, 0, 0);  // end cell 400, the last one
  EXPECT_EQ(codice, 0);
  EXPECT_EQ(t.percorso[400].tipo, tipo_cella::kFineRallentamento);
}

TEST_F(PosaTrenoTest, SlowDownBelowTheGridAndOversizedValues) {
  rallentamento(-100, 50, 0, 0);
  EXPECT_EQ(codice, codice::kFuoriPercorso);
  codice = 0;
  rallentamento(500, -700, 0, 0);
  EXPECT_EQ(codice, codice::kFuoriPercorso);
  codice = 0;
  rallentamento(3150, 500, 0, 40000);
  EXPECT_EQ(codice, codice::kValoreEccessivo);
  for (const cella& c : t.percorso) EXPECT_EQ(c.tipo, 0);
}

}  // namespace
