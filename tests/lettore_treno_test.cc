#include <gtest/gtest.h>

#include <string>

#include "compiler/codici_errore.h"
#include "compiler/memorizza_percorso.h"
#include "platform/executable_dir.h"
#include "support/sorgente_treno.h"
#include "supporto/memory_file_system.h"

namespace {

using LettoreTrenoTest = LettoreTrenoFixture;

const std::string kSorgente = LetturaTreno::Sorgente();

TEST_F(LettoreTrenoTest, GeneralRowsSpeedLimitsAndAdhesion) {
  leggi(Righe({
      "numero vetture,    4",  // before the marker: skipped
      "Riprendere da PC Allerona",
      "[generale]",
      "numero vetture,    9",
      "percentuale massa frenata,    130",
      "sabbia,    300",
      "orologio,    17              48            30 ",
      "aderenza,       0, 80",
      "[aderenze] ",
      "aderenza,       0,    90",
      "[rallentamenti]",
      "[vel_limite]",
      "velocita' limite ,     0    ,   30",
      "velocita,    1050,    95",
      "",
      "velocita,    4700,   110",
      "[fine]",
  }));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(s(84).inizio, 130);
  EXPECT_EQ(s(84).posizione, 9);
  EXPECT_EQ(s(86).d2a, 300);
  EXPECT_EQ(s(86).d1b, 17);
  EXPECT_EQ(s(86).d2b, 48);
  EXPECT_EQ(s(86).d3b, 30);
  for (int k = 0; k <= 20; ++k) ASSERT_EQ(c(k).velocita, 6) << k;
  for (int k = 21; k <= 93; ++k) ASSERT_EQ(c(k).velocita, 19) << k;
  for (int k = 94; k <= 3657; ++k) ASSERT_EQ(c(k).velocita, 22) << k;
  for (int k = 0; k <= 3657; ++k) ASSERT_EQ(c(k).aderenza, 90) << k;
  for (int k = 3658; k <= 3660; ++k) {
    EXPECT_EQ(c(k).velocita, 0);
    EXPECT_EQ(c(k).aderenza, 0);
  }
  EXPECT_EQ(fs.files.count(kSorgente), 0u);  // consumed
}

TEST_F(LettoreTrenoTest, SourceWithoutMarkerReadsNothingButFinishes) {
  leggi(Righe({"numero vetture, 9", "velocita, 0, 100"}));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(s(84).posizione, 0);
  EXPECT_EQ(c(0).velocita, 0);
  EXPECT_EQ(fs.files.count(kSorgente), 0u);
}

TEST_F(LettoreTrenoTest, StationRowsFillTheTableAndTheGrid) {
  leggi_righe({
      "-           pos. tipo lung. t  t  m    d d r   d d d   a   o  o  o   nome",
      "-                           p  a  a    2 3 a   1 2 3   c   r  r  r",
      "-                           s  b  r        p               o  m  s",
      "stazione,    4100,  2,  800,  0, 1, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, PRIMA STAZIONE",
      "stazione,   16000, 22,  500,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, SETTEBAGNI",
      "stazione,   65050, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, BIVIO ORTE SUD",
      "stazione,   93700, 25,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, P.C. CIVITELLA "
      "D'AGLIANO",
      "stazione,  108450, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   60,  18,31, 0, ORVIETO",
      Stazione(120000, 12, 800, "P.M. PANICALE-SANFATUCCHIO", 1, 1),
      Stazione(130000, 5, 600, "CITTA` DELLA PIEVE", 1, 1),
      Stazione(140000, 7, 600, "SETTE", 1, 1),
  });
  ASSERT_EQ(t.codice_errore, 0);

  // The first station's extra 50 m are added before its mar is cleared.
  EXPECT_EQ(s(1).inizio, 3700);
  EXPECT_EQ(s(1).fine, 4550);
  EXPECT_EQ(s(1).mar, 0);
  EXPECT_EQ(s(1).tab, 0);
  EXPECT_EQ(c(90).tipo, tipo_cella::kFermata);
  EXPECT_EQ(c(90).dato1, 1);
  EXPECT_EQ(s(2).nome, "SETTEBAGNI");
  EXPECT_EQ(c(324).dato1, 2);

  EXPECT_EQ(s(3).inizio, 64950);
  EXPECT_EQ(s(3).fine, 65150);
  EXPECT_EQ(s(3).tipo, 25);
  for (int k = 1290; k <= 1310; ++k) {
    EXPECT_EQ(c(k).tipo, 0) << k;
    EXPECT_EQ(c(k).avviso, 0) << k;
  }
  EXPECT_EQ(s(4).nome, "P.C. CIVITELLA D'AGLIANO");

  const record_stazione& orvieto = s(5);
  EXPECT_EQ(orvieto.nome, "ORVIETO");
  EXPECT_EQ(orvieto.posizione, 108450);
  EXPECT_EQ(orvieto.tipo, 12);
  EXPECT_EQ(orvieto.inizio, 108150);
  EXPECT_EQ(orvieto.fine, 108750);
  EXPECT_EQ(orvieto.orario, 66660);
  EXPECT_EQ(orvieto.ac, 60);
  EXPECT_EQ(orvieto.d2a, 1);
  EXPECT_EQ(orvieto.d3a, 1);
  EXPECT_EQ(orvieto.rap, 0);
  EXPECT_EQ(orvieto.d1b, 4);
  EXPECT_EQ(orvieto.d2b, 1);
  EXPECT_EQ(orvieto.d3b, 1);
  EXPECT_EQ(c(2174).tipo, tipo_cella::kFermata);
  EXPECT_EQ(c(2174).dato1, 5);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(c(2174 - k).avviso, 80 + k) << k;
  EXPECT_EQ(c(2169).avviso, 0);

  // Later stations keep mar and tab, and mar adds 50 m.
  EXPECT_EQ(s(6).nome, "P.M. PANICALE-SANFATUCCHIO");
  EXPECT_EQ(s(6).fine, 120450);
  EXPECT_EQ(s(6).mar, 1);
  EXPECT_EQ(s(6).tab, 1);
  // Kind 5: the area ends 150 m after the position, no approach marks.
  EXPECT_EQ(s(7).nome, "CITTA` DELLA PIEVE");
  EXPECT_EQ(s(7).inizio, 129400);
  EXPECT_EQ(s(7).fine, 130150);
  EXPECT_EQ(s(7).mar, 0);
  EXPECT_EQ(c(2602).tipo, tipo_cella::kFermata);
  EXPECT_EQ(c(2601).avviso, 0);
  // Kind 7: the whole length on both sides.
  EXPECT_EQ(s(8).inizio, 139400);
  EXPECT_EQ(s(8).fine, 140600);
  EXPECT_EQ(c(2811).dato1, 8);
  EXPECT_EQ(c(2810).avviso, 81);
  EXPECT_EQ(s(9).nome, "");
}

TEST_F(LettoreTrenoTest, ShortStopLosesItsBoardAndTheStopCellOverwrites) {
  t.percorso[324].tipo = tipo_cella::kSegnale;
  leggi_righe({Stazione(4100, 2, 800, "A"), Stazione(16000, 22, 500, "B", 0, 1),
               Stazione(20000, 22, 600, "C", 0, 1)});
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(s(2).tab, 0);  // stop below 600 m
  EXPECT_EQ(s(3).tab, 1);
  EXPECT_EQ(c(324).tipo, tipo_cella::kFermata);
}

TEST_F(LettoreTrenoTest, StationPositionAndLengthChecks) {
  leggi_righe({"velocita, 500, 100", Stazione(16010, 22, 500, "X"), "numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, codice::kStazionePosizione);
  EXPECT_EQ(t.posizione_errore, 16010);
  EXPECT_EQ(s(84).posizione, 0);  // reading stopped
  EXPECT_EQ(c(100).velocita, 0);  // and the speeds were not finished
  EXPECT_EQ(fs.files.count(kSorgente), 0u);
}

TEST_F(LettoreTrenoTest, StationLengthOffAHundredIsCode9) {
  leggi_righe({Stazione(16000, 22, 550, "X")});
  EXPECT_EQ(t.codice_errore, codice::kStazioneLunghezza);
  EXPECT_EQ(t.posizione_errore, 16000);
  EXPECT_EQ(s(1).posizione, 16000);  // the part read stays
}

TEST_F(LettoreTrenoTest, StationsMustKeep350MetresApart) {
  leggi_righe(
      {Stazione(4100, 2, 800, "A"), Stazione(16000, 22, 500, "B"), Stazione(16850, 22, 500, "C")});
  EXPECT_EQ(t.codice_errore, 0);  // exactly 350 m
}

TEST_F(LettoreTrenoTest, StationsCloserThan350MetresAreCode22) {
  leggi_righe({Stazione(4100, 2, 800, "A"), Stazione(16000, 22, 500, "B"),
               Stazione(16800, 22, 500, "C"), "numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, codice::kStazioniVicine);
  EXPECT_EQ(t.posizione_errore, 16800);
  EXPECT_EQ(c(16800 / 50 + 4).tipo, tipo_cella::kFermata);  // written before the check
  EXPECT_EQ(s(84).posizione, 0);
}

TEST_F(LettoreTrenoTest, StopCellAtIndexOneIsRefused) {
  t.posizione_errore = 77;
  leggi_righe({Stazione(0, 12, 200, "A")});
  EXPECT_EQ(t.codice_errore, codice::kFermataInizio);
  EXPECT_EQ(t.posizione_errore, 77);
  EXPECT_EQ(c(1).tipo, 0);
}

TEST_F(LettoreTrenoTest, StopCellAtIndexTwoIsPlaced) {
  leggi_righe({Stazione(0, 5, 100, "A")});  // stop cell 2
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(c(2).tipo, tipo_cella::kFermata);
}

TEST_F(LettoreTrenoTest, ApproachMarksStopAboveCellOne) {
  // The area ends at 300: stop in cell 5, marks 81, 82, 83 in cells 4, 3,
  // 2; the fourth would fall on cell 1, the header cell, and is left out.
  leggi_righe({Stazione(200, 22, 200, "A")});
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(c(5).tipo, tipo_cella::kFermata);
  EXPECT_EQ(c(4).avviso, 81);
  EXPECT_EQ(c(2).avviso, 83);
  EXPECT_EQ(c(1).avviso, 0);
}

TEST_F(LettoreTrenoTest, StationsAndBoardsShareTheTable) {
  // 17 boards leave room for 61 stations; the 62nd is stored, then refused.
  std::string righe = "[generale]\r\n";
  for (int i = 0; i < 62; ++i) righe += Stazione(1000 + 1000 * i, 22, 200, "N") + "\r\n";
  righe += "numero vetture, 9\r\n";
  leggi(righe, 63);
  EXPECT_EQ(t.codice_errore, codice::kStazioniPiene);
  EXPECT_EQ(s(62).posizione, 62000);
  EXPECT_EQ(s(84).posizione, 0);
}

TEST_F(LettoreTrenoTest, SixtyOneStationsBesideSeventeenBoardsFit) {
  std::string righe = "[generale]\r\n";
  for (int i = 0; i < 61; ++i) righe += Stazione(1000 + 1000 * i, 22, 200, "N") + "\r\n";
  leggi(righe, 63);
  EXPECT_EQ(t.codice_errore, 0);
}

TEST_F(LettoreTrenoTest, StationNeverOverwritesABoard) {
  // 80 boards fill entries 80 to 1: no room for any station.
  t.stazioni[1].nome = "(ZONA)";
  leggi_righe({Stazione(16000, 22, 500, "B")}, 0);
  EXPECT_EQ(t.codice_errore, codice::kStazioniPiene);
  EXPECT_EQ(s(1).nome, "(ZONA)");
  EXPECT_EQ(s(1).posizione, 0);
  EXPECT_EQ(c(324).tipo, 0);
}

TEST_F(LettoreTrenoTest, StationNearTheGridEnd) {
  t.stazioni[81].inizio = 1025;
  leggi_righe({"velocita, 0, 100", Stazione(182250, 12, 600, "X"), "numero vetture, 9"});
  // Code 15 still finishes the speeds and runs the progressive check.
  EXPECT_EQ(t.codice_errore, codice::kProgressivaErrata);
  EXPECT_EQ(t.posizione_errore, 182250);
  EXPECT_EQ(c(3657).velocita, 20);
  EXPECT_EQ(s(84).posizione, 0);
}

TEST_F(LettoreTrenoTest, StationPastTheWiderMarginIsCode15) {
  leggi_righe({Stazione(182250, 12, 600, "X")});
  EXPECT_EQ(t.codice_errore, codice::kFuoriPercorso);
}

TEST_F(LettoreTrenoTest, StationAtTheWiderMarginIsRead) {
  leggi_righe({Stazione(182200, 12, 600, "X")});
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(c(3649).tipo, tipo_cella::kFermata);
}

TEST_F(LettoreTrenoTest, StationCellsBeyondTheGridAreRefused) {
  leggi_righe({Stazione(100000, 12, 200000, "X")});
  EXPECT_EQ(t.codice_errore, codice::kStazioneOltre);
  EXPECT_EQ(t.posizione_errore, 100000);
  for (const cella& k : t.percorso) ASSERT_EQ(k.avviso, 0);
}

TEST_F(LettoreTrenoTest, StationOfKind25BeyondTheGridIsAccepted) {
  leggi_righe({Stazione(100000, 25, 200000, "X")});  // no cells: accepted
  EXPECT_EQ(t.codice_errore, 0);
}

TEST_F(LettoreTrenoTest, CodeCuts) {
  t.percorso[2160].tipo = tipo_cella::kMontagna;
  leggi_righe({"abbattimento codice, 5300,270", "abbattimento,  107100,   AC",
               "abbattimento,  107150,   0", "abbattimento,  107200,   -5",
               "abbattimento,  108000,   270"});
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(c(106).tipo, tipo_cella::kAbbattimento);
  EXPECT_EQ(c(106).dato1, 270);
  EXPECT_EQ(c(107).tipo, 0);
  for (int k : {2142, 2143, 2144}) {
    EXPECT_EQ(c(k).tipo, tipo_cella::kAbbattimentoNullo) << k;
    EXPECT_EQ(c(k).dato1, 0) << k;
  }
  EXPECT_EQ(c(2160).tipo, tipo_cella::kAbbattimento);  // over a tunnel marker
}

TEST_F(LettoreTrenoTest, CodeCutConflictsAndLimits) {
  t.percorso[106].tipo = tipo_cella::kAbbattimento;
  leggi_righe({"abbattimento, 5300, 270", "numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, codice::kAbbattimentoOccupato);
  EXPECT_EQ(t.posizione_errore, 5300);
  EXPECT_EQ(s(84).posizione, 0);
}

TEST_F(LettoreTrenoTest, CodeCutValueBeyond16BitsIsRefused) {
  leggi_righe({"abbattimento, 5300, 32768"});
  EXPECT_EQ(t.codice_errore, codice::kValoreEccessivo);
  EXPECT_EQ(c(106).tipo, 0);
}

TEST_F(LettoreTrenoTest, CodeCutBeforeTheLineStartIsCode15) {
  leggi_righe({"abbattimento, -100, 270"});
  EXPECT_EQ(t.codice_errore, codice::kFuoriPercorso);
}

TEST_F(LettoreTrenoTest, SignalRowsAroundComments) {
  leggi_righe({
      "-                1                     destra",
      "-                a  d1 d2 d3 ra       d1 d2 d3 ac",
      "-                v",
      "segnale,    9100,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
      "- avviso Settebagni",
      "segnale,   12100,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
      "- avviso Bivio Orte Sud",
      "- avviso Bivio Orte Nord",
      "segnale,   15100,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
      "- avviso Bivio Orvieto Sud",
      "- avviso Orvieto (P.C.)",
      "- avviso Bivio Orvieto Nord",
      "segnale,   18100,   2, 4, 0,  0, 0,    2,  1,0,0, 50",
  });
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(c(183).dato1, 41);
  EXPECT_EQ(c(183).dato4, 8);
  EXPECT_EQ(c(181).avviso, 81);
  for (int k : {183, 243, 303, 363}) EXPECT_EQ(c(k).tipo, tipo_cella::kSegnale) << k;
  EXPECT_EQ(c(363).tempo, 101);
}

TEST_F(LettoreTrenoTest, PlacementConflictStopsTheReading) {
  t.percorso[183].tipo = tipo_cella::kCartello;
  leggi_righe({"segnale,    9100,   2, 4, 0,  0, 0,    2,  1,0,0, 0", "numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, codice::kSegnaleOccupato);
  EXPECT_EQ(t.posizione_errore, 9100);
  EXPECT_EQ(s(84).posizione, 0);
  EXPECT_EQ(fs.files.count(kSorgente), 0u);
}

TEST_F(LettoreTrenoTest, NumberedCellsTakenIsCode20AfterTheSlowDown) {
  leggi_righe({"rallentamento, 1575, 60, 500, 3, 1, 0", "numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, codice::kPrimaAvvisoOccupato);
  EXPECT_EQ(t.posizione_errore, 1575);
  EXPECT_EQ(c(32).tipo, tipo_cella::kInizioRallentamento);
  EXPECT_EQ(s(84).posizione, 0);
}

TEST_F(LettoreTrenoTest, ACodeLeftByTheLineHalfIsNotTakenForAConflict) {
  t.codice_errore = codice::kFuoriPercorso;
  t.posizione_errore = 999;
  leggi_righe({"segnale,    9100,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
               "rallentamento, 3150, 60, 500, 3, 1, 40", "numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, codice::kFuoriPercorso);
  EXPECT_EQ(t.posizione_errore, 999);
  EXPECT_EQ(c(183).tipo, tipo_cella::kSegnale);
  EXPECT_EQ(c(64).tipo, tipo_cella::kInizioRallentamento);
  EXPECT_EQ(s(84).posizione, 9);
}

TEST_F(LettoreTrenoTest, ReadingFailures) {
  // No file at all.
  leggi_sorgente_treno(t, Ambiente{&fs, "/d"}, 63);
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);

  for (const std::string& riga :
       {std::string("sabbia, 40000"), std::string("velocita, 0, 1280"),
        std::string("stazione, 16000, 22"), std::string("stazione, 16000, 256, 500")}) {
    LetturaTreno r;
    r.leggi_righe({"velocita, 0, 100", riga});
    EXPECT_EQ(r.t.codice_errore, codice::kLetturaFallita) << riga;
    EXPECT_EQ(r.fs.files.count(kSorgente), 0u) << riga;
    EXPECT_EQ(r.c(0).velocita, 0) << riga;  // not finished
  }
}

TEST_F(LettoreTrenoTest, SpeedOf1275StillFits) {
  leggi_righe({"velocita, 0, 1275"});  // 255 steps still fit
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(c(0).velocita, 255);
}

TEST_F(LettoreTrenoTest, SpeedQuotientTestedWhereWrittenNotWhereRead) {
  // A speed whose 5 km/h steps do not fit the byte is refused when cells
  // are to receive it: by the next speed row's fill, or by the final fill.
  // The rows between are read as usual; the cells before keep the earlier
  // speed, and the refused value is never stored.
  const struct {
    const char* velocita;
    bool altra_riga;  // another speed row follows the bad one
  } casi[] = {{"1280", false}, {"1280", true}, {"-3", false}, {"-3", true}};
  for (const auto& caso : casi) {
    SCOPED_TRACE(std::string(caso.velocita) + (caso.altra_riga ? " then another" : " last"));
    LetturaTreno r;
    r.leggi_righe({"aderenza, 0, 7", "velocita, 0, 100",
                 std::string("velocita, 1000, ") + caso.velocita, Stazione(16000, 22, 500, "X"),
                 "segnale,    9100,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
                 caso.altra_riga ? "velocita, 20000, 100" : "", "numero vetture, 9"});
    EXPECT_EQ(r.t.codice_errore, codice::kLetturaFallita);
    EXPECT_EQ(r.fs.files.count(kSorgente), 0u);
    EXPECT_EQ(r.s(1).nome, "X");
    EXPECT_EQ(r.c(324).tipo, tipo_cella::kFermata);
    EXPECT_EQ(r.c(183).tipo, tipo_cella::kSegnale);
    // Stopped at the other speed row; or read to the end, then stopped at
    // the final fill, before the adhesion is finished.
    EXPECT_EQ(r.s(84).posizione, caso.altra_riga ? 0 : 9);
    for (int k = 0; k <= 19; ++k) ASSERT_EQ(r.c(k).velocita, 20) << k;
    for (int k = 20; k <= 3660; ++k) ASSERT_EQ(r.c(k).velocita, 0) << k;
    EXPECT_EQ(r.c(0).aderenza, 0);
  }

  // A bad speed that no cell receives is never tested; -2 km/h rounds to 0.
  for (const char* velocita : {"1280", "-2"}) {
    LetturaTreno r;
    r.leggi_righe({std::string("velocita, 0, ") + velocita, "velocita, 0, 100"});
    EXPECT_EQ(r.t.codice_errore, 0) << velocita;
    EXPECT_EQ(r.c(0).velocita, 20) << velocita;
  }
}

TEST_F(LettoreTrenoTest, NegativeSpeedRoundsToZero) {
  leggi_righe({"velocita, 0, -2", "velocita, 1000, 100"});
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(c(0).velocita, 0);
  EXPECT_EQ(c(20).velocita, 20);
}

TEST_F(LettoreTrenoTest, AFailedDeleteIsAReadingFailure) {
  fs.Fail(MemoryFileSystem::Op::kRemove, kSorgente);
  leggi_righe({"numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
  EXPECT_EQ(s(84).posizione, 9);
}

TEST_F(LettoreTrenoTest, UnreadableTrainSourceIsAReadingFailure) {
  fs.Fail(MemoryFileSystem::Op::kRead, kSorgente);
  leggi_righe({"numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
  EXPECT_EQ(s(84).posizione, 0);
}

TEST_F(LettoreTrenoTest, FailedDeleteAfterAConflictKeepsThePositionFromBefore) {
  // The signal's conflict names 9100, but the reading failure that replaces
  // it has no position of its own.
  t.posizione_errore = 77;
  t.percorso[183].tipo = tipo_cella::kCartello;
  fs.Fail(MemoryFileSystem::Op::kRemove, kSorgente);
  leggi_righe({"segnale, 9100, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0"});
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
  EXPECT_EQ(t.posizione_errore, 77);
}

// A signal or slow-down before the start of the line passes the grid test
// (which looks only at the far end) but has no cell: refused as outside.
class PrimaDellInizioTest : public LettoreTrenoTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(PrimaDellInizioTest, SignalAndSlowDownBeforeTheStart) {
  leggi_righe({GetParam(), "numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, codice::kFuoriPercorso);
  EXPECT_EQ(s(84).posizione, 0);  // the rows after it are not read
}

INSTANTIATE_TEST_SUITE_P(Righe, PrimaDellInizioTest,
                         ::testing::Values("segnale, -100, 2, 4, 0, 0, 0, 2, 1,0,0, 0",
                                           "rallentamento, -100, 60, 50, 3, 1, 0",
                                           "rallentamento, 1000, 60, -1200, 3, 1, 0"));

// A train source that ends with a code of its own and then cannot be
// deleted: the failed delete is what is recorded, at the position before.
TEST_F(LettoreTrenoTest, AFailedDeleteAfterACodeIsAReadingFailure) {
  fs.Fail(MemoryFileSystem::Op::kRemove, kSorgente);
  t.posizione_errore = 7;
  leggi_righe({Stazione(16010, 12, 600, "X")});
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
  EXPECT_EQ(t.posizione_errore, 7);
}

TEST_F(LettoreTrenoTest, ProgressiveChangesAreCheckedLast) {
  t.stazioni[83].fine = 16425;
  leggi_righe({"numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, codice::kProgressivaErrata);
}

TEST_F(LettoreTrenoTest, ProgressiveChangesOnTheGridPass) {
  t.stazioni[82].inizio = 115000;
  t.stazioni[82].fine = 700;
  leggi_righe({"numero vetture, 9"});
  EXPECT_EQ(t.codice_errore, 0);
}

TEST_F(LettoreTrenoTest, ManyAdhesionRowsAtOnePlaceStayInsideTheGrid) {
  t.numero_celle = 10;
  t.percorso.assign(11, cella{});
  std::string righe = "[generale]\r\n";
  for (int i = 0; i < 30; ++i) righe += "aderenza, 50, " + std::to_string(i) + "\r\n";
  for (int i = 0; i < 30; ++i) righe += "velocita, 50, 100\r\n";
  leggi(righe);
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(c(9).aderenza, 8);
  EXPECT_EQ(c(10).aderenza, 29);  // the finishing write at the last cursor position
  EXPECT_EQ(c(10).velocita, 20);
}

}  // namespace
