// Checks of the two source tables the compiler reads back: their fixed rows,
// the forms of the data rows, and that the features they place leave every
// 50 m cell of the track grid to at most one of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "sources/documenti.h"
#include "supporto/compila_memoria.h"

namespace {

using Righe = std::vector<std::string>;

// Rows before the end marker, narrowed to bytes; a row with a character
// outside printable ASCII fails the test.
Righe Ascii(const TabellaRighe& tabella) {
  Righe out;
  for (size_t i = 0; i + 1 < tabella.size(); ++i) {
    std::string r;
    for (char16_t c : tabella[i]) {
      EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "row " << i << " column " << r.size();
      r.push_back(static_cast<char>(c));
    }
    out.push_back(r);
  }
  return out;
}

// Whole numbers of a row after its first comma, in order ("AC" is skipped).
std::vector<long> Numeri(const std::string& riga) {
  std::vector<long> out;
  static const std::regex numero("-?[0-9]+");
  std::string resto = riga.substr(riga.find(',') + 1);
  for (std::sregex_iterator it(resto.begin(), resto.end(), numero), end; it != end; ++it)
    out.push_back(std::stol(it->str()));
  return out;
}

// Rows first..last (inclusive) that are not comment rows.
Righe Dati(const Righe& righe, size_t first, size_t last) {
  Righe out;
  for (size_t i = first; i <= last; ++i)
    if (righe[i].empty() || righe[i][0] != '-') out.push_back(righe[i]);
  return out;
}

size_t Conta(const Righe& righe, const std::string& regex) {
  std::regex re(regex);
  return static_cast<size_t>(std::count_if(righe.begin(), righe.end(), [&](const std::string& r) {
    return std::regex_match(r, re);
  }));
}

bool Contiene(const Righe& righe, const std::string& riga) {
  return std::find(righe.begin(), righe.end(), riga) != righe.end();
}

void ExpectAscending(const Righe& righe, const char* sezione) {
  long prima = -1;
  for (const std::string& r : righe) {
    long p = Numeri(r).at(0);
    EXPECT_GT(p, prima) << sezione << ": " << r;
    prima = p;
  }
}

// Line length 176000 plus 7000 of run-out, in 50 m cells; every position a
// row names must leave two cells of room below the top of the grid.
constexpr long kCelle = (176000 + 7000) / 50;
bool NellaGriglia(long p) { return p + 100 <= 50 * kCelle; }

class SorgentiTest : public ::testing::Test {
 protected:
  TabellaRighe tab_linea = righe_linea();
  TabellaRighe tab_treno = righe_treno();
  Righe linea = Ascii(tab_linea);
  Righe treno = Ascii(tab_treno);
};

TEST_F(SorgentiTest, TablesHaveTheirRowCountsAndEndWithTheMarkerOnly) {
  ASSERT_EQ(tab_linea.size(), 234u);
  ASSERT_EQ(tab_treno.size(), 199u);
  EXPECT_EQ(tab_linea.back(), riferimento_fine_file);
  EXPECT_EQ(tab_treno.back(), riferimento_fine_file);
  for (const Righe* t : {&linea, &treno})
    for (const std::string& r : *t) EXPECT_NE(r, "riferimento fine del file");
}

TEST_F(SorgentiTest, LineSourceFixedRows) {
  ASSERT_EQ(linea.size(), 233u);
  const std::map<size_t, std::string> fisse = {
      {0, "     "},
      {1, "[generale]                        "},
      {2, "lunghezza percorso,    176000"},
      {3, "progressiva chilometrica uno,    104400,    16400,    0"},
      {4, "progressiva chilometrica due,    115000,    700,    0"},
      {5, "progressiva chilometrica tre,    135500,    19250,    0"},
      {6, "sfondo uno,    1"},
      {7, "sfondo due,    0"},
      {8, "sfondo tre,    0"},
      {9, "ripetizione segnali 9 codici,    6800,    176000"},
      {10, "[pendenze]"},
      {11, "pendenza  , 950    , -12"},
      {101, "pendenza  , 172150   , 0"},
      {102, ""},
      {103, "[curve]"},
      {104, "curvas6,  1650,  400"},
      {105, "- Lavrano Flavia"},
      {181, "curvas2,  174050,  300"},
      {182, "[cartelli]"},
      {183, "indicatori_vmax,  1050, 85, 90, 95, 0, 85, 90, 95, 0"},
      {193, "[montagne]"},
      {194, "montagna, 19400,21300,11"},
      {212, "montagna, 128150,  129200,  11"},
      {213, "[indicazioni]"},
      {231, "[fine]"},
      {232, "                "},
  };
  for (const auto& [i, r] : fisse) EXPECT_EQ(linea[i], r) << "row " << i;
  EXPECT_EQ(linea[1].size(), 34u);

  const char* cartelli[] = {
      "cartello indicatore,  6200,     ( DOPPIO  ) ( BIVIO  ) (NOMENTANO)",
      "cartello indicatore,  6250,     ( DOPPIO  ) ( BIVIO  ) (NOMENTANO)",
      "cartello_indicatore,  6500,   (AVVISO)(ZONA  )(COD.  )",
      "cartello_indicatore,  6800,   (ZONA)(COD.)",
      "cartello_indicatore,  22400,   (GALLERIA  )(M. PERAZZO)",
      "cartello_indicatore,  37100,   (GALLERIA)(S.ORESTE)",
      "cartello_indicatore,  62800,   (GALLERIA)(ORTE    )",
      "cartello indicatore,  64750,    ( BIVIO  ) (ORTE SUD)",
      "cartello indicatore,  65100,    ( BIVIO  ) (ORTE SUD)",
      "cartello_indicatore,  87050,   (SOTTOPASSO F.S.)(SIPICCIANO     )",
      "cartello_indicatore,  98950,   (GALLERIA   )(CASTIGLIONE)",
      "cartello_indicatore,  106800,   (FINE)(ZONA)(COD.)",
      "cartello_indicatore,  109300,   (AVVISO)(ZONA  )(COD.  )",
      "cartello_indicatore,  109600,   (ZONA)(COD.)",
      "cartello_indicatore,  115800,   (VIADOTTO)(PAGLIA  )",
      "cartello_indicatore,  120500,   (FINE VIADOTTO)(PAGLIA       )",
      "cartello_indicatore,  143950,   (DEV. I.)",
  };
  for (size_t i = 0; i < 17; ++i) EXPECT_EQ(linea[214 + i], cartelli[i]) << "row " << 214 + i;

  for (const char* r : {"pendenza  , 17200          , -4", "pendenza  , 100150   , -2        ",
                        "pendenza  , 115800   , 8 ", "pendenza  , 150150   , -3        ",
                        "pendenza  , 169000   , -2       ", "curvad4, 11000,  300",
                        "curvad1,  145700,  2000",
                        "indicatori_vmax, 16300,140,160,250, 0,140,160,250, 0",
                        "indicatori_vmax,  142350,  90,  95,  100,  2,  90,  95,  100,  2",
                        "indicatori_vmax,  142650,  90,  95,  100,  1,  90,  95,  100,  1",
                        "montagna,   37150,  43500,  12", "montagna, 87100,  87150,  2"})
    EXPECT_TRUE(Contiene(linea, r)) << r;
  auto coppia = std::find(linea.begin(), linea.end(), "curvad3,  114950,  700");
  ASSERT_NE(coppia, linea.end());
  EXPECT_EQ(*(coppia + 1), "curvad3,  115600,  1500");
}

TEST_F(SorgentiTest, LineSourceDataRowForms) {
  Righe pendenze(linea.begin() + 11, linea.begin() + 102);
  EXPECT_EQ(Conta(pendenze, "pendenza  , [0-9]+ +, -?[0-9]+ *"), 91u);
  // The blank run after the position depends on where the row lies; only
  // four rows carry blanks after the value.
  size_t con_coda = 0;
  for (const std::string& r : pendenze) {
    long p = Numeri(r).at(0), g = Numeri(r).at(1);
    size_t bianchi = r.find(',', 12) - r.find(' ', 12);
    size_t atteso = p == 950 ? 4 : (p <= 16950 || p >= 100150) ? 3 : 10;
    if (p > 16950 && p < 17200) ADD_FAILURE() << "no blank run fits " << r;
    if (p > 96500 && p < 100150) ADD_FAILURE() << "no blank run fits " << r;
    EXPECT_EQ(bianchi, atteso) << r;
    EXPECT_TRUE(g >= -12 && g <= 12) << r;
    if (r.back() == ' ') ++con_coda;
  }
  EXPECT_EQ(con_coda, 4u);

  Righe curve = Dati(linea, 104, 181);
  ASSERT_EQ(curve.size(), 77u);
  const std::map<std::string, size_t> per_chiave = {
      {"s2", 9}, {"s3", 22}, {"s4", 6}, {"s5", 2}, {"s6", 1},
      {"d1", 1}, {"d2", 3},  {"d3", 24}, {"d4", 7}, {"d5", 2}};
  for (const auto& [k, n] : per_chiave)
    EXPECT_EQ(Conta(curve, "curva" + k + ", {1,2}[0-9]+,  [0-9]+"), n) << k;
  EXPECT_EQ(Conta(curve, "curva[sd][1-6], [0-9]+,  [0-9]+"), 6u);
  for (const std::string& r : curve) {
    long lunghezza = Numeri(r).at(1);
    EXPECT_TRUE(lunghezza >= 200 && lunghezza <= 3200) << r;
  }

  Righe indicatori(linea.begin() + 183, linea.begin() + 193);
  EXPECT_EQ(Conta(indicatori, "indicatori_vmax,( {0,2}[0-9]+,){8} {0,2}[0-9]+"), 10u);
  EXPECT_EQ(Numeri(indicatori.back()).at(0), 156500);
  for (const std::string& r : indicatori) {
    std::vector<long> v = Numeri(r);
    EXPECT_TRUE(v[4] <= 2 && v[8] <= 2) << r;
  }

  Righe montagne(linea.begin() + 194, linea.begin() + 213);
  EXPECT_EQ(Conta(montagne, "montagna, +[0-9]+,[0-9]+,(1|2|3|11|12|13)"), 12u);
  EXPECT_EQ(Conta(montagne, "montagna, +[0-9]+,  [0-9]+,  (1|2|3|11|12|13)"), 7u);

  Righe cartelli(linea.begin() + 214, linea.begin() + 231);
  EXPECT_EQ(Conta(cartelli, "cartello indicatore,.*"), 4u);
  EXPECT_EQ(Conta(cartelli, "cartello_indicatore,.*"), 13u);
}

TEST_F(SorgentiTest, LineSourcePositionsAscendAndFitTheGrid) {
  ExpectAscending(Righe(linea.begin() + 11, linea.begin() + 102), "pendenze");
  ExpectAscending(Dati(linea, 104, 181), "curve");
  ExpectAscending(Righe(linea.begin() + 183, linea.begin() + 193), "cartelli");
  ExpectAscending(Righe(linea.begin() + 194, linea.begin() + 213), "montagne");
  ExpectAscending(Righe(linea.begin() + 214, linea.begin() + 231), "indicazioni");
  for (size_t i = 11; i <= 230; ++i) {
    if (linea[i].empty() || linea[i][0] == '-' || linea[i][0] == '[') continue;
    EXPECT_TRUE(NellaGriglia(Numeri(linea[i]).at(0))) << linea[i];
  }
}

TEST_F(SorgentiTest, CurvesFollowEachOtherExceptTheOnePairThatOverlaps) {
  long fine_prima = -1;
  for (const std::string& r : Dati(linea, 104, 181)) {
    long inizio = Numeri(r).at(0), fine = inizio + Numeri(r).at(1);
    if (inizio == 115600)
      EXPECT_EQ(fine_prima, inizio + 50);
    else
      EXPECT_GT(inizio, fine_prima) << r;
    // The plan of the line has rows up to the length plus 7000, less two.
    EXPECT_LE(fine, 176000 + 7000 - 2) << r;
    fine_prima = fine;
  }
}

TEST_F(SorgentiTest, BoardsNamingATunnelStandJustBeforeIt) {
  std::vector<long> inizi;
  for (size_t i = 194; i <= 212; ++i) inizi.push_back(Numeri(linea[i]).at(0));
  for (size_t i = 214; i <= 230; ++i) {
    if (linea[i].find("GALLERIA") == std::string::npos &&
        linea[i].find("SOTTOPASSO") == std::string::npos)
      continue;
    long p = Numeri(linea[i]).at(0);
    auto dopo = std::upper_bound(inizi.begin(), inizi.end(), p);
    ASSERT_NE(dopo, inizi.end()) << linea[i];
    EXPECT_LE(*dopo - p, 100) << linea[i];
  }
}

TEST_F(SorgentiTest, TrainSourceFixedRows) {
  ASSERT_EQ(treno.size(), 198u);
  const char* testa[] = {
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
      "velocita,    4700,   110",
      "",
      "velocita,   16300,   250",
      "velocita,  106400,   100",
      "velocita,  109000,   110",
      "velocita,  116000,   250",
      "velocita,  136400,   150",
      "velocita,  143350,   100",
      "velocita,  146700,   140",
      "velocita,  156500,   150",
      "velocita,  175000,   120",
      "[stazioni]",
      "-           pos. tipo lung. t  t  m    d d r   d d d   a   o  o  o   nome",
      "-                           p  a  a    2 3 a   1 2 3   c   r  r  r",
      "-                           s  b  r        p               o  m  s",
  };
  for (size_t i = 0; i < 28; ++i) EXPECT_EQ(treno[i], testa[i]) << "row " << i;
  EXPECT_EQ(treno[28], "stazione,       0,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,50, 0, "
                       "LAVRANO CENTRALE");
  EXPECT_EQ(treno[29], "stazione,    4100,  2,  800,  0, 1, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, "
                       "LAVRANO FLAVIA");
  EXPECT_EQ(treno[47], "stazione,  173250, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,    0,  19,11, 0, "
                       "CESTELLE-CORTONA");
  for (const char* r : {
           "stazione,   16000, 22,  500,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, SETTEBAGNI",
           "stazione,  32250, 25, 400,  0, 0, 0,   0,0,0,  0,0,0,  0,  0, 0, 0, P.C. CAPENA",
           "stazione,  108450, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   60,  18,31, 0, ORVIETO",
           "stazione,   93700, 25,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, "
           "P.C. CIVITELLA D'AGLIANO",
           "stazione,  137450, 22,  400,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, "
           "CITTA` DELLA PIEVE",
           "stazione,   65050, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, "
           "BIVIO ORTE SUD",
           "segnale,    7250,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
           "segnale,  104400,   2, 2, 5,  7, 2,    2,  2,1,1, 0"})
    EXPECT_TRUE(Contiene(treno, r)) << r;

  const std::map<size_t, std::string> fisse = {
      {48, "[segnali]"},
      {49, "-                1                     destra"},
      {50, "-                a  d1 d2 d3 ra       d1 d2 d3 ac"},
      {51, "-                v"},
      {52, "segnale,    1100,   2, 4, 1,  1, 0,    2,  2,1,1, 0"},
      {56, "- avviso Settebagni"},
      {63, "- avviso Capena"},
      {66, "- avviso s.Oreste "},
      {70, "- avviso Gallese"},
      {73, "- avviso Bivio Orte Sud"},
      {74, "- avviso Bivio Orte Nord"},
      {77, "- avviso Bassano in Teverina"},
      {81, "- avviso Civitella D` Agliano"},
      {84, "- avviso Bivio Orvieto Sud"},
      {85, "- avviso Orvieto (P.C.)"},
      {86, "- avviso Bivio Orvieto Nord"},
      {89, "- avviso Allerona"},
      {92, "- avviso Bivio Chiusi Sud"},
      {93, "- avviso Citta della Pieve"},
      {115, "segnale,  172550,   2, 3, 1,  1, 0,    2,  2,1,1, 0"},
      {116, "[codici]"},
      {197, "[fine]"},
  };
  for (const auto& [i, r] : fisse) EXPECT_EQ(treno[i], r) << "row " << i;
}

TEST_F(SorgentiTest, TrainSourceDataRowForms) {
  Righe stazioni(treno.begin() + 28, treno.begin() + 48);
  EXPECT_EQ(Conta(stazioni, "stazione(, *[0-9]+){16}, [A-Z][-A-Z .'`]*[A-Z]"), 20u);

  Righe segnali = Dati(treno, 52, 115);
  EXPECT_EQ(segnali.size(), 50u);
  for (const std::string& r : segnali) {
    EXPECT_EQ(r.size(), 51u) << r;
    EXPECT_TRUE(std::regex_match(
        r, std::regex("segnale, *[0-9]+,   [0-9], [0-9], [0-9],  [0-9], [0-9],    [0-9],  "
                      "[0-9],[0-9],[0-9], [0-9]")))
        << r;
    // The position fills the eight columns after "segnale," from the right.
    std::string campo = r.substr(8, 8);
    EXPECT_EQ(campo.find_first_not_of(' '), 8 - std::to_string(Numeri(r)[0]).size()) << r;
  }

  Righe tagli(treno.begin() + 117, treno.begin() + 197);
  EXPECT_EQ(Conta(Righe(tagli.begin(), tagli.begin() + 11), "abbattimento codice, [0-9]+,270"),
            11u);
  EXPECT_EQ(tagli[11], "abbattimento,   16400,   270");
  EXPECT_EQ(Conta(Righe(tagli.begin() + 12, tagli.begin() + 60), "abbattimento,  [0-9]+,   AC"),
            48u);
  EXPECT_EQ(Conta(Righe(tagli.begin() + 60, tagli.end()), "abbattimento,  [0-9]+,   270"), 20u);
  EXPECT_EQ(Numeri(tagli[0])[0], 5300);
  EXPECT_EQ(Numeri(tagli[10])[0], 15200);
  EXPECT_EQ(Numeri(tagli[60])[0], 110000);
  EXPECT_EQ(Numeri(tagli[79])[0], 169250);
  // The uncoded stretch: every 50 m from 107100 to 109600 but three cells.
  std::vector<long> ac, attesi;
  for (size_t i = 12; i < 60; ++i) ac.push_back(std::stol(tagli[i].substr(13)));
  for (long p = 107100; p <= 109600; p += 50)
    if (p != 107500 && p != 108700 && p != 109350) attesi.push_back(p);
  EXPECT_EQ(ac, attesi);
}

TEST_F(SorgentiTest, TrainSourcePositionsAscendAndFitTheGrid) {
  Righe velocita = Dati(treno, 11, 23);
  velocita.erase(std::find(velocita.begin(), velocita.end(), ""));
  ExpectAscending(velocita, "vel_limite");
  ExpectAscending(Righe(treno.begin() + 28, treno.begin() + 48), "stazioni");
  ExpectAscending(Dati(treno, 52, 115), "segnali");
  ExpectAscending(Righe(treno.begin() + 117, treno.begin() + 197), "codici");
  for (size_t i = 28; i <= 47; ++i) EXPECT_LE(Numeri(treno[i])[0] + 800, 50 * kCelle);
  for (size_t i = 52; i <= 196; ++i) {
    if (treno[i][0] == 's' || treno[i][0] == 'a') {
      EXPECT_TRUE(NellaGriglia(Numeri(treno[i])[0])) << treno[i];
    }
  }
}

// The two sources as written, through the whole compile: nothing may be
// refused, and every feature must land where the rows put it. A signal, board
// or cut on a taken cell records a code, a stop written over another feature
// changes a count, and stations too close together, off the 50 m grid or of
// a length off 100 m record theirs, so no two features can share a cell
// unnoticed; the kept reference files pin where each one lies.
TEST(SorgentiCompilazioneTest, TheScenarioCompilesWithoutAnyRecordedCode) {
  CompilazioneInMemoria c;
  CompilaInMemoria(SorgenteLineaIncorporata(), SorgenteTrenoIncorporata(), &c);
  const Tabelle& t = c.tabelle;
  ASSERT_EQ(c.esito.tipo, EsitoCompilazione::Tipo::kCompletato);
  EXPECT_EQ(t.codice_errore, 0) << "at " << t.posizione_errore;

  std::map<int, int> per_tipo;
  for (const cella& k : t.percorso) ++per_tipo[k.tipo];
  EXPECT_EQ(per_tipo[tipo_cella::kSegnale], 50);
  EXPECT_EQ(per_tipo[tipo_cella::kIndicatoriVmax], 10);
  EXPECT_EQ(per_tipo[tipo_cella::kFermata], 9);
  EXPECT_EQ(per_tipo[tipo_cella::kAbbattimento], 32);
  EXPECT_EQ(per_tipo[tipo_cella::kAbbattimentoNullo], 48);
  EXPECT_EQ(per_tipo[tipo_cella::kCartello], 17);

  EXPECT_EQ(t.stazioni[1].nome, "LAVRANO CENTRALE");
  EXPECT_EQ(t.stazioni[2].nome, "LAVRANO FLAVIA");
  EXPECT_EQ(t.stazioni[20].nome, "CESTELLE-CORTONA");
  EXPECT_EQ(t.stazioni[21].nome, "");
  // No signal announces itself over the approach marks of Orvieto's stop.
  EXPECT_EQ(t.percorso[2174].tipo, tipo_cella::kFermata);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(t.percorso[2174 - k].avviso, 80 + k) << k;
  // The marked tunnel from 28050 to 29400 keeps every one of its markers.
  for (int k = 564; k <= 584; k += 4) EXPECT_EQ(t.percorso[k].tipo, tipo_cella::kMontagna) << k;
}

}  // namespace
