#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "compiler/codici_errore.h"
#include "support/sorgente_linea.h"
#include "supporto/memory_file_system.h"

namespace {

using LettoreLineaTest = LettoreLineaFixture;

// Sign of the turn between the step into row r and the step into row r+1:
// negative turns towards +x (a right-hand curve), positive towards -x.
double Svolta(Tabelle& t, int64_t r) {
  const double ax = t.linea(r, 0).numero() - t.linea(r - 1, 0).numero();
  const double ay = t.linea(r, 1).numero() - t.linea(r - 1, 1).numero();
  const double bx = t.linea(r + 1, 0).numero() - t.linea(r, 0).numero();
  const double by = t.linea(r + 1, 1).numero() - t.linea(r, 1).numero();
  return ax * by - ay * bx;
}

// ---- finding the file and its general section --------------------------------

TEST_F(LettoreLineaTest, MissingSourceIsCode101) {
  fs.files[PercorsoTreno()] = "x";
  EXPECT_FALSE(LeggiSenzaScrivere());
  EXPECT_EQ(t.codice_errore, codice::kNessunaLinea);
  EXPECT_EQ(t.stazioni[85].nome, "Lavrano_Cestelle");
  EXPECT_EQ(t.stazioni[86].nome, "58121");
  EXPECT_TRUE(fs.Exists(PercorsoTreno()));
}

TEST_F(LettoreLineaTest, NoGeneralMarkerIsCode102AndDeletesTheSource) {
  for (const std::string testo : {"", "     \r\nlunghezza percorso, 1000\r\n", "\r\n[generale]"}) {
    SCOPED_TRACE(testo);
    t.codice_errore = 0;
    EXPECT_FALSE(Leggi(testo));
    EXPECT_EQ(t.codice_errore, codice::kNessunGenerale);
    EXPECT_FALSE(LineaPresente());
    EXPECT_FALSE(t.ha_percorso());
  }
}

TEST_F(LettoreLineaTest, GeneralSettingsGoToTheHeaderEntries) {
  ASSERT_TRUE(Leggi(SorgenteLinea(
      {"lunghezza percorso,    176000", "progressiva chilometrica uno,    104400,    16400,    0",
       "progressiva chilometrica due,    115000,    700,    0",
       "progressiva chilometrica tre,    135500,    19250,    0", "sfondo uno,    1",
       "sfondo due,    2", "sfondo tre,    3", "ripetizione segnali 9 codici,    6800,    176000"},
      {})));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(t.stazioni[84].fine, 176000);
  EXPECT_EQ(t.limite_tabella, 183000);
  EXPECT_EQ(t.numero_celle, 3660);
  EXPECT_EQ(t.percorso.size(), 3661u);
  EXPECT_EQ(t.tabella_linea.size(), 2u * 183001);
  EXPECT_EQ(t.stazioni[81].inizio, 135500);
  EXPECT_EQ(t.stazioni[81].fine, 19250);
  EXPECT_EQ(t.stazioni[82].inizio, 115000);
  EXPECT_EQ(t.stazioni[82].fine, 700);
  EXPECT_EQ(t.stazioni[83].inizio, 104400);
  EXPECT_EQ(t.stazioni[83].fine, 16400);
  EXPECT_EQ(t.stazioni[85].inizio, 1);
  EXPECT_EQ(t.stazioni[85].posizione, 2);
  EXPECT_EQ(t.stazioni[85].fine, 3);
  EXPECT_EQ(t.stazioni[86].inizio, 6800);
  EXPECT_EQ(t.stazioni[86].fine, 176000);
  EXPECT_EQ(t.stazioni[86].posizione, 9);
  EXPECT_EQ(t.stazioni[85].nome, "Lavrano_Cestelle");
  EXPECT_EQ(t.stazioni[86].nome, "58121");
  EXPECT_EQ(cartello, 80);
  EXPECT_FALSE(LineaPresente());
}

TEST_F(LettoreLineaTest, ProgressiveChangesAreOrderedAfterTheSection) {
  ASSERT_TRUE(Leggi(SorgenteLinea(
      {"lunghezza percorso, 10000", "progressiva tre, 3000, 30, 0", "progressiva uno, 5000, 50, 1"},
      {})));
  EXPECT_EQ(t.stazioni[81].inizio, 5000);
  EXPECT_EQ(t.stazioni[81].fine, 150);
  EXPECT_EQ(t.stazioni[82].inizio, 3000);
  EXPECT_EQ(t.stazioni[83].inizio, 0);
}

TEST_F(LettoreLineaTest, GeneralKeywordsCountOnlyInsideTheGeneralSection) {
  // "pendenza" is not looked for in the section, and the section's own
  // keywords are not looked for after its end.
  ASSERT_TRUE(Leggi(Righe({"[generale]", "lunghezza percorso, 1000", "pendenza, 500, 5", "[altro]",
                           "sfondo uno, 7", "[fine]", ""})));
  EXPECT_EQ(t.stazioni[85].inizio, 0);
  EXPECT_EQ(t.percorso[0].pendenza, 100);
  EXPECT_EQ(t.percorso[10].pendenza, 100);
}

TEST_F(LettoreLineaTest, LengthKeywordIgnoresCaseTheOthersDoNot) {
  ASSERT_TRUE(Leggi(SorgenteLinea(
      {"LUNGHEZZA Percorso, 2000", "Sfondo uno, 4", "Progressiva tre, 100, 1, 0"}, {})));
  EXPECT_EQ(t.stazioni[84].fine, 2000);
  EXPECT_EQ(t.stazioni[85].inizio, 0);
  EXPECT_EQ(t.stazioni[81].inizio, 0);
}

TEST_F(LettoreLineaTest, TenCommentsAreSkippedInTheGeneralSection) {
  std::vector<std::string> r = {"[generale]"};
  for (int i = 1; i <= 10; ++i) r.push_back("- nota " + std::to_string(i));
  r.push_back("- lunghezza percorso, 2000");  // read by the tenth repetition: examined
  r.push_back("[fine]");
  r.push_back("");
  ASSERT_TRUE(Leggi(Righe(r)));
  EXPECT_EQ(t.stazioni[84].fine, 2000);

  // One comment more, and the length row is itself skipped as a comment.
  r.insert(r.begin() + 1, "- nota 0");
  Nuove();
  EXPECT_FALSE(Leggi(Righe(r)));
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);  // no length row
}

TEST_F(LettoreLineaTest, LengthLimits) {
  ASSERT_TRUE(Leggi(LineaLunga(0, {})));
  EXPECT_EQ(t.numero_celle, 140);
  EXPECT_EQ(t.percorso.size(), 141u);

  ASSERT_TRUE(Leggi(LineaLunga(1000000, {})));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(t.numero_celle, 20140);
  EXPECT_EQ(t.limite_tabella, 1007000);
  EXPECT_EQ(t.linea(1006998, 1).numero(), 1006998.0);
  EXPECT_EQ(t.linea(1006999, 1).codice, valore::kVuoto);
}

TEST_F(LettoreLineaTest, LengthTooLongOrNegativeIsCode1) {
  for (int64_t l : {int64_t{1000001}, int64_t{-1}}) {
    Nuove();
    fs.files[PercorsoTreno()] = "x";
    EXPECT_FALSE(Leggi(LineaLunga(l, {})));
    EXPECT_EQ(t.codice_errore, codice::kLunghezzaEccessiva);
    EXPECT_EQ(t.stazioni[84].fine, l);
    EXPECT_FALSE(t.ha_percorso());
    EXPECT_TRUE(t.tabella_linea.empty());
    EXPECT_FALSE(LineaPresente());
    EXPECT_TRUE(fs.Exists(PercorsoTreno()));  // only code 25 deletes it
  }
}

// ---- signal-code repetition --------------------------------------------------

TEST_F(LettoreLineaTest, SignalRepetitionCountComesFromTheKeyword) {
  struct Caso {
    const char* riga;
    int32_t codice;
    int32_t posizione;
  };
  const Caso casi[] = {
      {"ripetizione segnali 9 codici, 6800, 176000", 0, 9},
      {"ripetizione segnali 4 codici, 6800, 176000", 0, 4},
      {"ripetizione segnali 9 o 4 codici, 50, 100", 0, 4},  // "4" is looked for first
      {"ripetizione segnali 4 codici, 6800, 0", 0, 0},      // no repetition
      {"ripetizione segnali 4 codici, 6810, 100", codice::kRipetizioneInizio, 0},
      {"ripetizione segnali 4 codici, -50, 120", codice::kRipetizioneFine, 0},
      {"ripetizione segnali codici, 50, 100", codice::kRipetizioneCodici, 0},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.riga);
    t.codice_errore = 0;
    t.stazioni[86].posizione = 0;
    EXPECT_EQ(Leggi(SorgenteLinea({"lunghezza percorso, 10000", c.riga}, {})), c.codice == 0);
    EXPECT_EQ(t.codice_errore, c.codice);
    EXPECT_EQ(t.stazioni[86].posizione, c.posizione);
    EXPECT_FALSE(LineaPresente());
  }
}

// ---- reading failures ----------------------------------------------------------

TEST_F(LettoreLineaTest, ReadingPastTheEndAmongCommentsIsCode25) {
  fs.files[PercorsoTreno()] = "x";
  EXPECT_FALSE(Leggi("[generale]\r\n- a\r\n- b\r\n"));
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
  EXPECT_FALSE(LineaPresente());
  EXPECT_FALSE(fs.Exists(PercorsoTreno()));
}

TEST_F(LettoreLineaTest, MissingNumbersAtTheEndAreCode25) {
  EXPECT_FALSE(Leggi(Righe({"[generale]", "lunghezza percorso, 1000", "[x]", "pendenza, 500"})));
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
  EXPECT_FALSE(LineaPresente());
}

TEST_F(LettoreLineaTest, NumberTooLargeIsCode25) {
  fs.files[PercorsoTreno()] = "x";
  EXPECT_FALSE(Leggi(SorgenteLinea({"lunghezza percorso, 2147483648"}, {})));
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
  EXPECT_FALSE(LineaPresente());
  EXPECT_FALSE(fs.Exists(PercorsoTreno()));
}

TEST_F(LettoreLineaTest, NoLengthRowIsCode25) {
  EXPECT_FALSE(Leggi(SorgenteLinea({"sfondo uno, 1"}, {"pendenza, 500, 5"})));
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
  EXPECT_FALSE(LineaPresente());
}

TEST_F(LettoreLineaTest, UnreadableSourceIsCode25) {
  fs.files[PercorsoTreno()] = "x";
  fs.Fail(MemoryFileSystem::Op::kRead, PercorsoLinea());
  EXPECT_FALSE(Leggi(LineaLunga(1000, {})));
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
  EXPECT_FALSE(LineaPresente());
  EXPECT_FALSE(fs.Exists(PercorsoTreno()));
}

TEST_F(LettoreLineaTest, UndeletableSourceIsCode25) {
  fs.files[PercorsoTreno()] = "x";
  fs.Fail(MemoryFileSystem::Op::kRemove, PercorsoLinea());
  EXPECT_FALSE(Leggi(LineaLunga(1000, {})));
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
  EXPECT_FALSE(fs.Exists(PercorsoTreno()));

  // Also where another code would have been recorded.
  t.codice_errore = 0;
  EXPECT_FALSE(Leggi("[generale]\r\n"));
  EXPECT_EQ(t.codice_errore, codice::kLetturaFallita);
}

// ---- fields, comments and keywords after the general section -----------------

TEST_F(LettoreLineaTest, TwoCommentsAreSkippedAThirdIsExamined) {
  ASSERT_TRUE(Leggi(LineaLunga(10000, {"- uno", "- cartello indicatore, 500, A"})));
  EXPECT_EQ(t.percorso[11].tipo, 0);  // the second comment was skipped with its row
  EXPECT_EQ(t.stazioni[80].nome, "");

  ASSERT_TRUE(Leggi(LineaLunga(10000, {"- uno", "- due", "- cartello indicatore, 500, A"})));
  EXPECT_EQ(t.percorso[11].tipo, tipo_cella::kCartello);
  EXPECT_EQ(t.stazioni[80].nome, "A");
}

TEST_F(LettoreLineaTest, TheLastFieldIsNeverExamined) {
  // Examined, the keyword would read a number past the end: code 25.
  ASSERT_TRUE(
      Leggi(Righe({"[generale]", "lunghezza percorso, 1000", "[curve]", "cartello indicatore"})));
  EXPECT_EQ(t.codice_errore, 0);
  ASSERT_TRUE(
      Leggi(Righe({"[generale]", "lunghezza percorso, 1000", "[curve]", "- x", "pendenza"})));
  EXPECT_EQ(t.codice_errore, 0);
}

TEST_F(LettoreLineaTest, BoardKeywordInBothFormsStoresTheTextWithoutLeadingBlanks) {
  ASSERT_TRUE(Leggi(LineaLunga(
      10000, {"cartello indicatore,  6200,     ( DOPPIO  ) ( BIVIO  ) (NOMENTANO)",
              "cartello_indicatore,  1050,   (ZONA)(COD.)", "Cartello_Indicatore, 100, X"})));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(t.stazioni[80].nome, "( DOPPIO  ) ( BIVIO  ) (NOMENTANO)");
  EXPECT_EQ(t.stazioni[79].nome, "(ZONA)(COD.)");
  EXPECT_EQ(t.stazioni[78].nome, "X");
  EXPECT_EQ(t.percorso[125].tipo, tipo_cella::kCartello);
  EXPECT_EQ(t.percorso[125].dato1, 80);
  EXPECT_EQ(t.percorso[22].dato1, 79);
  EXPECT_EQ(t.percorso[3].dato1, 78);
  EXPECT_EQ(cartello, 77);
}

TEST_F(LettoreLineaTest, OtherKeywordsPlaceNoBoard) {
  ASSERT_TRUE(Leggi(
      LineaLunga(10000, {"indicatori_vmax,  1050, 85, 90, 95, 0, 85, 90, 95, 0", "velocita, 0, 100",
                         "stazione, 500, 1, 600", "segnale, 900, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0"})));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(cartello, 80);
  EXPECT_EQ(t.stazioni[80].nome, "");
  EXPECT_EQ(t.percorso[22].tipo, tipo_cella::kIndicatoriVmax);
  EXPECT_EQ(t.percorso[22].dato1, 1717);
  for (size_t k = 0; k < t.percorso.size(); ++k) {
    if (k == 22) continue;
    EXPECT_EQ(t.percorso[k].tipo, 0) << k;
    EXPECT_EQ(t.percorso[k].velocita, 0) << k;
  }
}

TEST_F(LettoreLineaTest, BoardOnATakenCellIsCode6) {
  EXPECT_FALSE(Leggi(LineaLunga(10000, {"cartello indicatore, 1050, A",
                                        "cartello indicatore, 1040, B", "pendenza, 2000, 5"})));
  EXPECT_EQ(t.codice_errore, codice::kCartelloOccupato);
  EXPECT_EQ(t.posizione_errore, 1040);
  EXPECT_EQ(t.stazioni[79].nome, "");
  EXPECT_EQ(t.percorso[22].dato1, 80);
  EXPECT_EQ(t.percorso[0].pendenza, 0);  // nothing after the return
  EXPECT_FALSE(LineaPresente());

  t.codice_errore = 0;
  EXPECT_FALSE(Leggi(LineaLunga(10000, {"indicatori_vmax, 1050, 85, 90, 95, 0, 85, 90, 95, 0",
                                        "cartello indicatore, 1050, A"})));
  EXPECT_EQ(t.codice_errore, codice::kCartelloOccupato);
  EXPECT_EQ(t.percorso[22].tipo, tipo_cella::kIndicatoriVmax);
}

TEST_F(LettoreLineaTest, BoardOnATunnelMarkerIsPlaced) {
  // Tunnel 1000-2000 marks cells 23, 27, ...; the board at 1100 goes to cell 23.
  ASSERT_TRUE(
      Leggi(LineaLunga(10000, {"montagna, 1000, 2000, 11", "cartello indicatore, 1100, A"})));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(t.percorso[23].tipo, tipo_cella::kCartello);
  EXPECT_EQ(t.percorso[23].montagna, 1);
  EXPECT_EQ(t.percorso[27].tipo, tipo_cella::kMontagna);
}

TEST_F(LettoreLineaTest, SpeedBoardOnATakenCellIsCode21) {
  EXPECT_FALSE(Leggi(LineaLunga(10000, {"cartello indicatore, 1050, A",
                                        "indicatori_vmax, 1060, 85, 90, 95, 0, 85, 90, 95, 0"})));
  EXPECT_EQ(t.codice_errore, codice::kIndicatoriOccupato);
  EXPECT_EQ(t.posizione_errore, 1060);
  EXPECT_EQ(t.percorso[22].tipo, tipo_cella::kCartello);
  EXPECT_FALSE(LineaPresente());
}

TEST_F(LettoreLineaTest, TunnelRowsReachThePlacement) {
  ASSERT_TRUE(Leggi(LineaLunga(30000, {"montagna, 19400,21300,11", "montagna,   21450,  22000,  2",
                                       "montagna, 28050, 29400, 13"})));
  EXPECT_EQ(t.numero_montagne, 3);
  EXPECT_EQ(t.percorso[388].montagna, 1);
  EXPECT_EQ(t.percorso[391].tipo, tipo_cella::kMontagna);
  EXPECT_EQ(t.percorso[429].montagna, 3);  // 150 m after the first
  for (int k = 561; k <= 587; ++k) EXPECT_EQ(t.percorso[k].montagna, 3);
  EXPECT_EQ(t.percorso[564].tipo, tipo_cella::kMontagna);
  EXPECT_EQ(t.percorso[584].tipo, tipo_cella::kMontagna);
}

TEST_F(LettoreLineaTest, TunnelCountStartsAfreshForEachLine) {
  t.numero_montagne = 5;
  ASSERT_TRUE(Leggi(LineaLunga(10000, {"montagna, 1000, 2000, 1"})));
  EXPECT_EQ(t.numero_montagne, 1);
  EXPECT_EQ(t.inizio_montagne[1], 1000);
  EXPECT_EQ(t.fine_montagne[1], 2000);
}

TEST_F(LettoreLineaTest, RefusedProgressiveChangeStopsTheReading) {
  // Flag 1 would add 100 beyond the 32-bit range: the ordering refuses it and
  // no feature row is read after it.
  EXPECT_FALSE(Leggi(SorgenteLinea({"lunghezza percorso, 10000",
                                    "progressiva uno, 1000, 2147483647, 1"},
                                   {"cartello indicatore, 1100, A"})));
  EXPECT_EQ(t.codice_errore, codice::kValoreEccessivo);
  EXPECT_EQ(t.percorso[23].tipo, 0);
  EXPECT_FALSE(LineaPresente());
}

// ---- gradients -----------------------------------------------------------------

TEST_F(LettoreLineaTest, GradientsFillTheCellsBeforeTheNextRow) {
  ASSERT_TRUE(Leggi(LineaLunga(1000, {"pendenza  , 950    , -12", "pendenza, 1025, 3",
                                      "pendenza, 1075, -100", "pendenza, 2000, 155   "})));
  // numero_celle 160: cells 0..157 written, the last three keep 0.
  for (int k = 0; k <= 18; ++k) EXPECT_EQ(t.percorso[k].pendenza, 100) << k;
  EXPECT_EQ(t.percorso[19].pendenza, 88);   // -12 from round(19)
  EXPECT_EQ(t.percorso[20].pendenza, 103);  // 1025: round(20.5) = 20
  EXPECT_EQ(t.percorso[21].pendenza, 103);
  for (int k = 22; k <= 39; ++k)
    EXPECT_EQ(t.percorso[k].pendenza, 0) << k;  // 1075: round(21.5) = 22
  for (int k = 40; k <= 157; ++k) EXPECT_EQ(t.percorso[k].pendenza, 255) << k;
  for (int k = 158; k <= 160; ++k) EXPECT_EQ(t.percorso[k].pendenza, 0) << k;
}

TEST_F(LettoreLineaTest, GradientsWithoutRowsAreLevel) {
  ASSERT_TRUE(Leggi(LineaLunga(1000, {})));
  EXPECT_EQ(t.percorso[0].pendenza, 100);
  EXPECT_EQ(t.percorso[157].pendenza, 100);
  EXPECT_EQ(t.percorso[158].pendenza, 0);
}

TEST_F(LettoreLineaTest, GradientRowsOutOfOrderPushTheCursorOneCellEach) {
  ASSERT_TRUE(Leggi(LineaLunga(
      1000, {"pendenza, 500, 1", "pendenza, 100, 2", "pendenza, 0, 9", "pendenza, 200, 3"})));
  for (int k = 0; k <= 9; ++k) EXPECT_EQ(t.percorso[k].pendenza, 100) << k;
  EXPECT_EQ(t.percorso[10].pendenza, 101);  // the row at 100 still writes one cell
  EXPECT_EQ(t.percorso[11].pendenza, 109);  // the row at 0 writes none but sets the gradient
  EXPECT_EQ(t.percorso[12].pendenza, 103);
  EXPECT_EQ(t.percorso[157].pendenza, 103);
}

TEST_F(LettoreLineaTest, GradientBeyondTheGridIsCode15AndStillFinishes) {
  // numero_celle 160: 7900 + 100 = 8000 passes, 7901 does not.
  EXPECT_TRUE(Leggi(
      LineaLunga(1000, {"pendenza, 7900, 5", "pendenza, 7901, 1", "cartello indicatore, 500, A"})));
  EXPECT_EQ(t.codice_errore, codice::kFuoriPercorso);
  EXPECT_EQ(t.posizione_errore, 7901);
  EXPECT_EQ(t.percorso[157].pendenza, 100);
  EXPECT_EQ(t.percorso[158].pendenza, 105);  // the cursor stood at 158: one cell more
  EXPECT_EQ(t.percorso[11].tipo, 0);         // nothing read after the code
  EXPECT_FALSE(LineaPresente());
  EXPECT_EQ(t.linea(7998, 1).numero(), 7998.0);  // the plan is finished too
}

TEST_F(LettoreLineaTest, GradientCursorMayNotRunPastTheGrid) {
  const std::string r = "pendenza, 7900, 1";
  ASSERT_TRUE(Leggi(LineaLunga(1000, {r, r, r})));
  EXPECT_EQ(t.percorso[159].pendenza, 101);
  EXPECT_EQ(t.percorso[160].pendenza, 101);  // the closing stage writes the cursor's cell

  EXPECT_FALSE(Leggi(LineaLunga(1000, {r, r, r, r})));
  EXPECT_EQ(t.codice_errore, codice::kCursoreOltre);
  EXPECT_EQ(t.posizione_errore, 7900);
  EXPECT_FALSE(LineaPresente());
}

TEST_F(LettoreLineaTest, PositionsOffEitherEndOfTheGridAreCode15) {
  struct Caso {
    const char* riga;
    int32_t posizione;
  };
  const Caso casi[] = {
      {"pendenza, -26, 1", -26},  // round(-0.52) = -1
      {"curvad1, -26, 100", -26},
      {"montagna, -26, 500, 1", -26},
      {"cartello indicatore, -76, A", -76},  // round(-1.52 + 1) = -1
      {"indicatori_vmax, -76, 1, 1, 1, 0, 1, 1, 1, 0", -76},
      {"pendenza, 2147483647, 1", 2147483647},  // + 100 must not wrap
      {"cartello indicatore, 2147483600, A", 2147483600},
      {"indicatori_vmax, 7901, 1, 1, 1, 0, 1, 1, 1, 0", 7901},
      {"montagna, 7901, 7950, 1", 7901},
      {"curvad1, 7901, 10", 7901},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.riga);
    t.codice_errore = 0;
    EXPECT_TRUE(Leggi(LineaLunga(1000, {c.riga})));
    EXPECT_EQ(t.codice_errore, codice::kFuoriPercorso);
    EXPECT_EQ(t.posizione_errore, c.posizione);
  }
  // The cells next to the ends are still inside.
  t.codice_errore = 0;
  ASSERT_TRUE(Leggi(LineaLunga(1000, {"cartello indicatore, -75, A", "pendenza, -25, 1"})));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(t.percorso[0].tipo, tipo_cella::kCartello);
}

// ---- room in the tables ----------------------------------------------------------

TEST_F(LettoreLineaTest, EightyFirstBoardIsCode105) {
  std::vector<std::string> righe;
  for (int i = 1; i <= 80; ++i)
    righe.push_back("cartello_indicatore, " + std::to_string(i * 100) + ", B");
  ASSERT_TRUE(Leggi(LineaLunga(20000, righe)));
  EXPECT_EQ(cartello, 0);
  EXPECT_EQ(t.stazioni[1].nome, "B");
  EXPECT_EQ(t.stazioni[0].nome, "");

  righe.push_back("cartello_indicatore, 9000, C");
  EXPECT_FALSE(Leggi(LineaLunga(20000, righe)));
  EXPECT_EQ(t.codice_errore, codice::kTroppiCartelli);
  EXPECT_EQ(t.posizione_errore, 9000);
  EXPECT_EQ(t.percorso[181].tipo, 0);
  EXPECT_EQ(t.stazioni[0].nome, "");
}

TEST_F(LettoreLineaTest, TunnelTheTablesCannotHoldIsRefused) {
  EXPECT_FALSE(Leggi(LineaLunga(1000, {"montagna, 7000, 9000, 11"})));
  EXPECT_EQ(t.codice_errore, codice::kMontagnaOltrePercorso);
  EXPECT_EQ(t.posizione_errore, 7000);
  EXPECT_EQ(t.percorso[140].montagna, 0);
  EXPECT_FALSE(LineaPresente());

  std::vector<std::string> righe;
  for (int i = 1; i <= 81; ++i)
    righe.push_back("montagna, " + std::to_string(i * 1000) + ", " +
                    std::to_string(i * 1000 + 200) + ", 1");
  Nuove();
  EXPECT_FALSE(Leggi(LineaLunga(90000, righe)));
  EXPECT_EQ(t.codice_errore, codice::kTroppeMontagne);
  EXPECT_EQ(t.posizione_errore, 81000);
  EXPECT_EQ(t.numero_montagne, 80);
  EXPECT_EQ(t.percorso[1620].montagna, 0);
}

// ---- the plan of the line --------------------------------------------------------

TEST_F(LettoreLineaTest, StraightLineRunsAlongY) {
  ASSERT_TRUE(Leggi(LineaLunga(1000, {})));
  ASSERT_EQ(t.limite_tabella, 8000);
  EXPECT_EQ(t.linea(0, 0).codice, valore::kIntero);
  EXPECT_EQ(t.linea(1, 1).codice, valore::kIntero);
  EXPECT_EQ(t.linea(1, 1).intero, 1);
  for (int r = 2; r <= 7998; ++r) {
    ASSERT_EQ(t.linea(r, 0).codice, valore::kReale) << r;
    ASSERT_EQ(t.linea(r, 0).reale, 0.0) << r;
    ASSERT_EQ(t.linea(r, 1).reale, static_cast<double>(r)) << r;
  }
  EXPECT_EQ(t.linea(7999, 0).codice, valore::kVuoto);
  EXPECT_EQ(t.linea(8000, 1).codice, valore::kVuoto);
}

TEST_F(LettoreLineaTest, CurveTurnsFromItsStartToItsEnd) {
  ASSERT_TRUE(Leggi(LineaLunga(1000, {"curvad4, 100, 10"})));
  EXPECT_EQ(t.linea(100, 0).reale, 0.0);
  EXPECT_EQ(t.linea(100, 1).reale, 100.0);
  // First curved metre: the step (0, 1) turns to (0.001, 1); the second to
  // (0.002, 0.999999).
  EXPECT_EQ(t.linea(101, 0).reale, 0.001);
  EXPECT_EQ(t.linea(101, 1).reale, 101.0);
  EXPECT_DOUBLE_EQ(t.linea(102, 0).reale, 0.003);
  EXPECT_DOUBLE_EQ(t.linea(102, 1).reale, 101.999999);
  EXPECT_LT(Svolta(t, 109), -0.0009);         // metre 110 still turns
  EXPECT_LT(std::abs(Svolta(t, 110)), 1e-9);  // metre 111 runs straight on
  EXPECT_GT(t.linea(7998, 0).reale, 70.0);    // heading now bent towards +x
}

TEST_F(LettoreLineaTest, CurveMagnitudeAndSide) {
  struct Caso {
    const char* riga;
    double x101;
  };
  const Caso casi[] = {
      {"curvas1, 100, 5", -0.0001},  {"curvad2, 100, 5", 0.0002}, {"CurvaS3, 100, 5", -0.0004},
      {"curvad4, 100, 5", 0.001},    {"curvas5, 100, 5", -0.002}, {"curvad6, 100, 5", 0.003},
      {"curvas62, 100, 5", -0.0002},  // "2" is tested before "6"
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.riga);
    ASSERT_TRUE(Leggi(LineaLunga(1000, {c.riga})));
    EXPECT_EQ(t.linea(101, 0).reale, c.x101);
  }
}

TEST_F(LettoreLineaTest, CurveWithoutMagnitudeIsCode103) {
  for (const char* riga : {"curvas, 100, 10", "curvad7, 100, 10"}) {
    SCOPED_TRACE(riga);
    t.codice_errore = 0;
    EXPECT_FALSE(Leggi(LineaLunga(1000, {riga})));
    EXPECT_EQ(t.codice_errore, codice::kCurvaErrata);
    EXPECT_FALSE(LineaPresente());
  }
}

TEST_F(LettoreLineaTest, OverlappingCurveStartsWhereThePlanStands) {
  ASSERT_TRUE(Leggi(LineaLunga(120000, {"curvad3,  114950,  700", "curvas3,  115600,  1500"})));
  EXPECT_LT(std::abs(Svolta(t, 114949)), 1e-9);  // 114950 straight
  EXPECT_LT(Svolta(t, 114950), 0);               // 114951 turns right
  EXPECT_LT(Svolta(t, 115649), 0);               // 115650: the first curve's last metre
  EXPECT_GT(Svolta(t, 115650), 0);               // 115651: the second curve begins
  EXPECT_GT(Svolta(t, 117099), 0);               // 117100: its last metre
  EXPECT_LT(std::abs(Svolta(t, 117100)), 1e-9);
}

TEST_F(LettoreLineaTest, WithoutTheLineTableCurvesAreIgnored) {
  t.scrivi_linea = 0;
  ASSERT_TRUE(
      Leggi(LineaLunga(1000, {"curvad3, 500, 700", "curvas, 100, 10", "pendenza, 1000, 5"})));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_TRUE(t.tabella_linea.empty());
  EXPECT_EQ(t.percorso[19].pendenza, 100);
  EXPECT_EQ(t.percorso[20].pendenza, 105);
}

TEST_F(LettoreLineaTest, CurveEndingBeyondTheTableIsCode104) {
  ASSERT_TRUE(Leggi(LineaLunga(1000, {"curvad1, 7000, 998"})));
  EXPECT_EQ(t.linea(7998, 0).codice, valore::kReale);
  EXPECT_LT(Svolta(t, 7000), 0);

  for (const char* riga : {"curvad1, 7000, 999", "curvad1, 100, 2147483647"}) {
    SCOPED_TRACE(riga);
    t.codice_errore = 0;
    EXPECT_FALSE(Leggi(LineaLunga(1000, {riga})));
    EXPECT_EQ(t.codice_errore, codice::kCurvaOltreTabella);
    EXPECT_EQ(t.linea(3, 1).codice, valore::kVuoto);  // nothing computed
  }
}

TEST_F(LettoreLineaTest, PlanBeyondAMillionMetresIsCode103) {
  EXPECT_FALSE(Leggi(LineaLunga(1000000, {"curvad1, 999990, 20"})));
  EXPECT_EQ(t.codice_errore, codice::kCurvaErrata);
  EXPECT_EQ(t.linea(1000000, 0).codice, valore::kReale);
  EXPECT_EQ(t.linea(1000001, 0).codice, valore::kVuoto);
  EXPECT_FALSE(LineaPresente());
}

}  // namespace
