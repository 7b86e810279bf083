// The checks for mistakes the compile takes without a code: each with its
// exact words and range (the carets), the fix-its that, applied, give
// sources that check clean, and the file names of two sources that differ.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tool/diagnosi/analisi.h"

namespace {

std::unique_ptr<Analisi> Analizza(const std::string& linea, const std::string& treno) {
  return analizza("L_linea.txt", linea, "L_1-.txt", treno, "L", "1", 1);
}

struct Caso {
  const char* nome;
  std::string linea, treno, atteso;
};

class ControlliTest : public ::testing::TestWithParam<Caso> {};

TEST_P(ControlliTest, TestoEsatto) {
  const Caso& c = GetParam();
  const auto a = Analizza(c.linea, c.treno);
  EXPECT_EQ(a->testo(), c.atteso);
  EXPECT_TRUE(a->pulita()) << "a warning never stops the compile";
}

INSTANTIATE_TEST_SUITE_P(
    Controlli, ControlliTest,
    ::testing::Values(
        Caso{"ordine",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[elementi]\r\n"
             "pendenza, 3000, 5\r\n"
             "pendenza, 1000, 7\r\n"
             "[fine]\r\n",
             "[generale]\r\n",
             "L_linea.txt:5:11: warning: the gradient row at 1000 m comes after the one at 3000 m "
             "(line 4), and the compile fills the cells in the order of the rows without going "
             "back: its gradient takes effect only from 3050 m, and from 1000 m to 3000 m the "
             "gradient of the rows before it stays; put the gradient rows in order along the line\n"
             "  pendenza, 1000, 7\n"
             "            ^~~~\n"
             "L_linea.txt:4:11: note: the gradient row before it\n"
             "  pendenza, 3000, 5\n"
             "            ^~~~\n"},
        Caso{"stessa_cella",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[fine]\r\n",
             "[generale]\r\n"
             "velocita, 1000, 60\r\n"
             "velocita, 1010, 80\r\n"
             "[fine]\r\n",
             "L_1-.txt:3:11: warning: the speed limit row at 1010 m falls on the cell the speed "
             "limit row at 1000 m (line 2) already filled: its speed limit takes effect only from "
             "1050 m; rows of one kind need at least 50 m between them\n"
             "  velocita, 1010, 80\n"
             "            ^~~~\n"
             "L_1-.txt:2:11: note: the speed limit row before it\n"
             "  velocita, 1000, 60\n"
             "            ^~~~\n"},
        Caso{"curve_sovrapposte",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[elementi]\r\n"
             "curvad3, 1000, 700\r\n"
             "curvas3, 1600, 500\r\n"
             "curvad2, 1700, 100\r\n"
             "[fine]\r\n",
             "[generale]\r\n",
             "L_linea.txt:5:10: warning: the curve from 1600 m starts before the plan of the line "
             "reaches it: the curve from 1000 m (line 4) ends at 1700 m, and the plan is built one "
             "metre after another without going back, so this one turns only from metre 1701 and "
             "its first 100 m are not turned; curves must follow each other along the line without "
             "overlapping\n"
             "  curvas3, 1600, 500\n"
             "           ^~~~\n"
             "L_linea.txt:4:10: note: the curve before it\n"
             "  curvad3, 1000, 700\n"
             "           ^~~~\n"
             "L_linea.txt:6:10: warning: the curve from 1700 m starts before the plan of the line "
             "reaches it: the curve from 1600 m (line 5) ends at 2100 m, and the plan is built one "
             "metre after another without going back, so this curve is not turned at all; curves "
             "must follow each other along the line without overlapping\n"
             "  curvad2, 1700, 100\n"
             "           ^~~~\n"
             "L_linea.txt:5:10: note: the curve before it\n"
             "  curvas3, 1600, 500\n"
             "           ^~~~\n"},
        Caso{"curva_senza_lunghezza",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[elementi]\r\n"
             "curvad3, 1000, -50\r\n"
             "[fine]\r\n",
             "[generale]\r\n",
             "L_linea.txt:4:16: warning: the curve from 1000 m is -50 m long, so not one metre of "
             "it is turned: its length counts forward from its start and must be above 0\n"
             "  curvad3, 1000, -50\n"
             "                 ^~~\n"},
        Caso{"oltre_la_linea",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[fine]\r\n",
             "[generale]\r\n"
             "segnale, 25000, 2, 4, 1, 1, 0, 2, 2,1,1, 0\r\n"
             "rallentamento, 19500, 60, 1000, 1, 0, 0\r\n"
             "[fine]\r\n",
             "L_1-.txt:2:10: warning: the signal at 25000 m lies beyond the end of the line, at "
             "20000 m: the compile places it all the same, in the 7000 m of run-out the track has "
             "after the line's end (up to 27000 m); did you mean a position within the line?\n"
             "  segnale, 25000, 2, 4, 1, 1, 0, 2, 2,1,1, 0\n"
             "           ^~~~~\n"
             "L_1-.txt:3:27: warning: the slow-down at 19500 m, 1000 m long, ends at 20500 m, "
             "beyond the end of the line at 20000 m: its end is placed in the run-out after the "
             "line's end\n"
             "  rallentamento, 19500, 60, 1000, 1, 0, 0\n"
             "                            ^~~~\n"},
        Caso{"rallentamento_negativo",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[fine]\r\n",
             "[generale]\r\n"
             "rallentamento, 12000, 30, -500, 1, 0, 0\r\n"
             "[fine]\r\n",
             "L_1-.txt:2:27: warning: the slow-down at 12000 m has a negative length, -500 m: its "
             "end is placed at 11500 m, before its start, and the finishing pass, which walks "
             "forward from the start to an end, runs on past it; the length counts forward from "
             "the start (did you mean 500 m?)\n"
             "  rallentamento, 12000, 30, -500, 1, 0, 0\n"
             "                            ^~~~\n"
             "                            500\n"},
        Caso{"rallentamento_in_una_cella",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[fine]\r\n",
             "[generale]\r\n"
             "rallentamento, 12000, 30, 10, 1, 0, 0\r\n"
             "[fine]\r\n",
             "L_1-.txt:2:27: warning: the slow-down at 12000 m is 10 m long, so its start and its "
             "end fall on one cell, which keeps only the start: the slow-down has no end of its "
             "own; give it a length of at least 50 m\n"
             "  rallentamento, 12000, 30, 10, 1, 0, 0\n"
             "                            ^~\n"},
        Caso{"fermata_sul_cartello",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[elementi]\r\n"
             "cartello indicatore, 16150, (A)\r\n"
             "[fine]\r\n",
             "[generale]\r\n"
             "stazione,   16000, 12,  500,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, X\r\n"
             "[fine]\r\n",
             "L_1-.txt:2:13: warning: the stop of the station at 16000 m is written on cell 324, "
             "the cell just before the end of its area (at 16250 m), where the text board at 16150 "
             "m (line 4) stands: the stop overwrites it, so the text board at 16150 m is lost; "
             "move one of the two\n"
             "  stazione,   16000, 12,  500,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, X\n"
             "              ^~~~~\n"
             "L_linea.txt:4:22: note: the text board the stop overwrites\n"
             "  cartello indicatore, 16150, (A)\n"
             "                       ^~~~~\n"},
        Caso{"utf8",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[elementi]\r\n"
             "cartello indicatore, 6600, (A\xC3"
             "\xA8"
             ")\r\n"
             "[fine]\r\n",
             "[generale]\r\n",
             "L_linea.txt:4:28: warning: the text of the board at 6600 m looks like UTF-8: each "
             "accented letter is two or more bytes, and the compiled files store them one byte a "
             "letter in Windows-1252, so they show as other letters; save the source in "
             "Windows-1252\n"
             "  cartello indicatore, 6600, (A\xC3"
             "\xA8"
             ")\n"
             "                             ^~~~~\n"
             "                             (A\xE8"
             ")\n"},
        Caso{"byte_non_definito",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[fine]\r\n",
             "[generale]\r\n"
             "stazione,   16000, 12,  500,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, A\x81"
             "B\r\n"
             "[fine]\r\n",
             "L_1-.txt:2:73: warning: the name of the station at 16000 m holds the byte 81 (hex), "
             "which stands for no letter in Windows-1252, the code page of the compiled files\n"
             "  stazione,   16000, 12,  500,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, A\x81"
             "B\n"
             "                                                                          ^~~\n"},
        Caso{"virgola",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[elementi]\r\n"
             "cartello indicatore, 6000, (B), (C)\r\n"
             "[fine]\r\n",
             "[generale]\r\n",
             "L_linea.txt:4:28: warning: the text of the board at 6000 m ends at the comma: "
             "\"(B)\" is stored, and \", (C)\" is read as fields of their own; put the whole text "
             "in double quotes to keep the comma in it\n"
             "  cartello indicatore, 6000, (B), (C)\n"
             "                             ^~~~~~~~\n"
             "                             \"(B), (C)\"\n"
             "L_linea.txt:4:33: warning: field \"(C)\" is left over after the text board row and "
             "is ignored\n"
             "  cartello indicatore, 6000, (B), (C)\n"
             "                                  ^~~\n"},
        Caso{"trattino",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[elementi]\r\n"
             "cartello-indicatore, 5000, (A)\r\n"
             "[fine]\r\n",
             "[generale]\r\n",
             "L_linea.txt:4:1: warning: the hyphen in \"cartello-indicatore\" makes the field a "
             "comment, which the reader skips: the text board row is not read, so the text board "
             "at 5000 m is not placed, and the fields after it are read as rows of their own (did "
             "you mean \"cartello indicatore\"?)\n"
             "  cartello-indicatore, 5000, (A)\n"
             "  ^~~~~~~~~~~~~~~~~~~\n"
             "  cartello indicatore\n"},
        Caso{"curva_a_parole",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[elementi]\r\n"
             "curva destra 4, 2000, 300\r\n"
             "curvas24, 3000, 100\r\n"
             "[fine]\r\n",
             "[generale]\r\n",
             "L_linea.txt:4:1: warning: the curve keyword \"curva destra 4\" is read as a curve to "
             "the left of sharpness 4: any \"s\" in the keyword means left, and there is one here; "
             "write it as \"curvad4\", a side letter and a digit\n"
             "  curva destra 4, 2000, 300\n"
             "  ^~~~~~~~~~~~~~\n"
             "  curvad4\n"
             "L_linea.txt:5:1: warning: the curve keyword \"curvas24\" is read as a curve to the "
             "left of sharpness 2: of its digits the reader takes the first of 1 to 6 it finds, 2; "
             "write it as \"curvas2\", a side letter and a digit\n"
             "  curvas24, 3000, 100\n"
             "  ^~~~~~~~\n"
             "  curvas2\n"},
        Caso{"unita_e_decimali",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[elementi]\r\n"
             "pendenza, 1000, 17.5\r\n"
             "[fine]\r\n",
             "[generale]\r\n"
             "velocita, 6000 m, 60\r\n"
             "[fine]\r\n",
             "L_linea.txt:4:17: warning: \"17.5\" is not a number and reads as 0: the gradient at "
             "1000 m gets 0 for its gradient g (numbers are whole: the reader takes no decimal "
             "point)\n"
             "  pendenza, 1000, 17.5\n"
             "                  ^~~~\n"
             "L_1-.txt:2:16: warning: \"m\" is not a number and reads as 0: the speed limit at "
             "6000 m gets 0 for its speed v (a unit after a number is read as the next field; "
             "numbers "
             "are written without units)\n"
             "  velocita, 6000 m, 60\n"
             "                 ^\n"
             "L_1-.txt:2:19: warning: field \"60\" is left over after the speed limit row and is "
             "ignored\n"
             "  velocita, 6000 m, 60\n"
             "                    ^~\n"},
        Caso{"annidati",
             "[generale]\r\n"
             "lunghezza percorso, 20000\r\n"
             "[fine]\r\n",
             "[generale]\r\n"
             "rallentamento, 8000, 60, 3000, 0, 0, 0\r\n"
             "rallentamento, 9000, 30, 500, 0, 0, 0\r\n"
             "[fine]\r\n",
             "L_1-.txt:2:16: warning: the slow-down at 8000 m, to 11000 m, has the end of the "
             "slow-down at 9000 m (line 3) inside it, at 9500 m: the finishing pass walks from a "
             "start to the first end it meets, so from 9500 m to 11000 m this slow-down gets no "
             "code cuts every 400 m, and the first signal after its end at 11000 m gets no cut in "
             "front of it\n"
             "  rallentamento, 8000, 60, 3000, 0, 0, 0\n"
             "                 ^~~~\n"
             "L_1-.txt:3:16: note: the slow-down whose end the walk meets\n"
             "  rallentamento, 9000, 30, 500, 0, 0, 0\n"
             "                 ^~~~\n"}),
    [](const auto& info) { return std::string(info.param.nome); });

// Applies every fix of `d` in source s of `a`, from the last byte back.
std::string Corretto(const Analisi& a, int s) {
  std::vector<Correzione> tutte;
  for (const Diagnostica& d : a.diagnostiche)
    if (d.sorgente == s)
      for (const Correzione& c : d.correzioni) tutte.push_back(c);
  std::sort(tutte.begin(), tutte.end(),
            [](const Correzione& x, const Correzione& y) { return x.inizio > y.inizio; });
  std::string t = a.sorgenti[s]->testo();
  for (const Correzione& c : tutte) t.replace(c.inizio, c.fine - c.inizio, c.testo);
  return t;
}

TEST(ControlliCorrezioniTest, LeCorrezioniApplicateDannoSorgentiPulite) {
  const auto a = Analizza(
      "[generale]\r\nlunghezza percorso, 20000\r\n[elementi]\r\npendenza, 1000, 1O\r\n"
      "curva destra 4, 2000, 300\r\ncartello-indicatore, 5000, (A)\r\n"
      "cartello indicatore, 6000, (B), (C)\r\ncartello indicatore, 6600, (A\xC3\xA8)\r\n"
      "[fine]\r\n",
      "[generale]\r\nvelocita, 0, 100\r\nvelocita, 6000 m, 60\r\n"
      "rallentamento, 12000, 30, -500, 1, 0, 0\r\n[fine]\r\n");
  size_t correzioni = 0;
  for (const Diagnostica& d : a->diagnostiche) correzioni += d.correzioni.size();
  EXPECT_EQ(correzioni, 7u);
  const auto b = Analizza(Corretto(*a, 0), Corretto(*a, 1));
  EXPECT_EQ(b->testo(), "");
  EXPECT_TRUE(b->pulita());
}

TEST(ControlliNomiTest, IlNomeDelTrenoDiversoDaQuelloDellaLinea) {
  const auto a = analizza("Valfonda_linea.txt", "[generale]\r\nlunghezza percorso, 20000\r\n",
                          "dir/Valfnoda_7-.txt", "[generale]\r\n", "Valfonda", "7", 1);
  EXPECT_EQ(a->testo(),
            "dir/Valfnoda_7-.txt: warning: the train source's file name gives the scenario name "
            "\"Valfnoda\", but the scenario is compiled as \"Valfonda\" (the name the line "
            "source's file name or --name gives): did you mean the same name for both?\n");
  EXPECT_TRUE(analizza("V_linea.txt", "", "V_7-.txt", "", "V", "7", 1)->testo().find("file name") ==
              std::string::npos);
}

}  // namespace
