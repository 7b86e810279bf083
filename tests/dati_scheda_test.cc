#include <gtest/gtest.h>

#include <vector>

#include "platform/executable_dir.h"
#include "sources/documenti.h"
#include "support/righe_testo.h"
#include "supporto/memory_file_system.h"

namespace {

class SchedaTest : public ::testing::Test {
 protected:
  TabellaRighe righe = righe_scheda("58121");
};

// Columns of the vertical bars of every row of the timetable grid.
const std::vector<size_t> kBarre = {1, 7, 13, 24, 30, 59, 76, 82};


TEST_F(SchedaTest, WrittenUnderItsNameWithFiftyLinesOf3788Bytes) {
  MemoryFileSystem fs;
  ASSERT_TRUE(dati_scheda({&fs, "/exe", "Lavrano_Cestelle", "58121"}).ok());
  ASSERT_EQ(fs.files.size(), 1u);
  const std::string& bytes = fs.files[JoinPath("/exe", "Lavrano_Cestelle_58121_scheda_treno.txt")];
  EXPECT_EQ(bytes.size(), 3788u);
  size_t fine_riga = 0;
  for (size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2))
    ++fine_riga;
  EXPECT_EQ(fine_riga, 50u);
  EXPECT_EQ(bytes.substr(0, 4), "\r\n\r\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  ASSERT_EQ(righe.size(), 51u);
  EXPECT_EQ(righe[50], riferimento_fine_file);
}

TEST_F(SchedaTest, TheOnlyByteAbove7FIsTheAccentOfTheFootnote) {
  std::string bytes;
  ASSERT_TRUE(CodificaRighe(righe, &bytes).ok());
  std::vector<size_t> alti;
  for (size_t i = 0; i < bytes.size(); ++i)
    if (static_cast<unsigned char>(bytes[i]) > 0x7F) alti.push_back(i);
  ASSERT_EQ(alti.size(), 1u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[alti[0]]), 0xE0);
  // The footnote is the last line: 52 characters and its line end.
  EXPECT_GE(alti[0], bytes.size() - 54);
}

TEST_F(SchedaTest, EmptyRowsAndRepeatedRule) {
  for (size_t i : {0u, 1u, 11u, 48u}) EXPECT_EQ(righe[i], u"") << "row " << i;
  EXPECT_EQ(righe[47], righe[15]);
  EXPECT_EQ(righe[12], u"  " + std::u16string(80, u'_'));
}

TEST_F(SchedaTest, HeadingBoxes) {
  EXPECT_EQ(righe[2],
            u"  ___________________                                               ______________");
  EXPECT_EQ(righe[3],
            u" |                   |                    SCHEDA  1/1              |              |");
  EXPECT_EQ(righe[4],
            u" |   TRENO n.58121   |                   da: Lavrano Centrale      |    V250 C    |");
  EXPECT_EQ(righe[5],
            u" |___________________|                    a: Cestelle              |     130%     |");
  EXPECT_EQ(righe[6],
            u"                                                                   |______________|");
  EXPECT_EQ(righe[7], u"  ___________________                ___________________");
  EXPECT_EQ(righe[8], u" |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ");
  EXPECT_EQ(righe[9], u" |     EUROSTAR      |              |      530T         |");
  EXPECT_EQ(righe[10], u" |___________________|              |___________________|");
  EXPECT_EQ(righe[4].find(u':'), 43u);
  EXPECT_EQ(righe[5].find(u':'), 43u);
}

TEST_F(SchedaTest, AnotherTrainNumberKeepsTheBoxShut) {
  const TabellaRighe altro = righe_scheda("9");
  EXPECT_EQ(altro[4].substr(0, 22), u" |     TRENO n.9     |");
  EXPECT_EQ(altro[4].size(), 83u);
}

TEST_F(SchedaTest, GridRows) {
  EXPECT_EQ(righe[13],
            u" | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |");
  EXPECT_EQ(righe[14],
            u" | Lim.|Marc.|          |  Rs |                            |                |     |");
  EXPECT_EQ(righe[15],
            u" |_____|_____|__________|_____|____________________________|________________|_____|");
  EXPECT_EQ(righe[16],
            u" |  30 |  30 |    0     |  30 | LAVRANO Centrale           |          17.50 |     |");
  EXPECT_EQ(righe[17],
            u" |  95 |  95 |    1.050 |  95 | Deviatoio di uscita        |      17.53     |     |");
  EXPECT_EQ(righe[18],
            u" |     |     |    4.100 |     | LAVRANO Flavia             |      17.55     | 0.5 |");
  EXPECT_EQ(righe[19],
            u" | 110 | 110 |    4.700 |  90 | dev. uscita Lavrano F.     |      17.56     |     |");
  EXPECT_EQ(righe[21],
            u" | 250 | 220 |   16.300 | 150 | P.C. SETTEBAGNI            |      18.03     | 0.5 |");
  EXPECT_EQ(righe[28],
            u" |     |     |   93.700 |     | P.C. CIVITELLA D'AGLIANO   |      18.27     | 0.5 |");
  EXPECT_EQ(righe[30],
            u" |     |     |  122.800 |     |a) Secondo Bivio ORVIETO SUD|      18.29     |     |");
  EXPECT_EQ(righe[31],
            u" |     |     |  124.850 |     |a) ORVIETO                  |  18.30   18.31 |     |");
  EXPECT_EQ(righe[33],
            u" | 100 |     |  130.750 | 100 |a) Primo Bivio ORVIETO NORD |      18.36     |     |");
  EXPECT_EQ(righe[34],
            u" | 250 | 220 |  116.000 | 150 | cippo Km 116.000           |      18.37     |     |");
  EXPECT_EQ(righe[38],
            u" | 150 |     |  155.450 | 120 |a) Secondo Bivio CHIUSI SUD |      18.48     |     |");
  EXPECT_EQ(righe[40],  // with its trailing blank
            u" | 100 |     |  161.900 |     |a) Km 161.900               |      18.50     |     |"
            u" ");
  EXPECT_EQ(righe[41],
            u" |     |     |  163.200 |     |a) CHIUSI-CHIANCIANO TERME  |  18.53   18.55 |     |");
  EXPECT_EQ(righe[42],
            u" | 140 | 140 |  165.250 |     |a) Km 165.250               |      18.56     |     |");
  EXPECT_EQ(righe[43],
            u" |     |     |  174.750 |     |a) P.M. PANICALE-S.FATUCCHIO|      18.59     |     |");
  EXPECT_EQ(righe[45],
            u" |     |     |  181.800 |     |a) CASTIGLION DEL LAGO      |      19.04     |     |");
  EXPECT_EQ(righe[46],
            u" |     |     |  191.800 |     |a) CESTELLE-CORTONA         |  19.11         |     |");
  EXPECT_EQ(righe[49], u" a) località di servizio sulla linea LL Lavrano-Sena");
}

TEST_F(SchedaTest, EveryGridRowHasItsBarsInTheSameColumns) {
  for (size_t i = 13; i <= 47; ++i) {
    EXPECT_EQ(Barre(righe[i]), kBarre) << "row " << i;
    EXPECT_EQ(righe[i][0], u' ') << "row " << i;
    // Only the Km 161.900 row carries a blank after its last bar.
    EXPECT_EQ(righe[i].size(), i == 40 ? 84u : 83u) << "row " << i;
  }
}

}  // namespace
