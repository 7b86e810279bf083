#include <gtest/gtest.h>

#include <vector>

#include "platform/executable_dir.h"
#include "sources/documenti.h"
#include "support/righe_testo.h"
#include "supporto/memory_file_system.h"

namespace {

class RallentamentiTest : public ::testing::Test {
 protected:
  TabellaRighe righe = righe_rallentamenti();
};

const std::u16string kRigaVuota =
    u" |   |                            |            |          |         |            |";
const std::u16string kRegolo =
    u" |___|____________________________|____________|__________|_________|____________|";

TEST_F(RallentamentiTest, WrittenUnderItsNameWithFortySixLinesOf3283AsciiBytes) {
  MemoryFileSystem fs;
  ASSERT_TRUE(dati_rallentamenti({&fs, "/exe", "Lavrano_Cestelle", "58121"}).ok());
  const std::string& bytes = fs.files[JoinPath("/exe", "Lavrano_Cestelle_58121_rallentamenti.txt")];
  EXPECT_EQ(bytes.size(), 3283u);
  size_t fine_riga = 0;
  for (size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2))
    ++fine_riga;
  EXPECT_EQ(fine_riga, 46u);
  for (char c : bytes) ASSERT_LE(static_cast<unsigned char>(c), 0x7F);
  ASSERT_EQ(righe.size(), 47u);
  EXPECT_EQ(righe[46], riferimento_fine_file);
}

TEST_F(RallentamentiTest, SameFormForEveryScenarioOnlyTheNameChanges) {
  MemoryFileSystem fs;
  ASSERT_TRUE(dati_rallentamenti({&fs, "/exe", "Lavrano_Cestelle", "58121"}).ok());
  ASSERT_TRUE(dati_rallentamenti({&fs, "/exe", "Altro", "7"}).ok());
  ASSERT_EQ(fs.files.size(), 2u);
  EXPECT_EQ(fs.files[JoinPath("/exe", "Altro_7_rallentamenti.txt")],
            fs.files[JoinPath("/exe", "Lavrano_Cestelle_58121_rallentamenti.txt")]);
}

TEST_F(RallentamentiTest, TitleAndHeading) {
  EXPECT_EQ(righe[0], u"");
  EXPECT_EQ(righe[1], u"                               Modulo M. 3");
  EXPECT_EQ(righe[2], u"                           ORDINE DI RALLENTAMENTO");
  EXPECT_EQ(righe[3], u" " + std::u16string(80, u'_'));
  EXPECT_EQ(righe[4], u"  Linea  xxxxxx xxxxxxx");
  EXPECT_EQ(righe[5], u"");
  EXPECT_EQ(righe[6],
            u"  Si ordina al macchinista del treno xxxxx di effettuare i seguenti rallentamenti");
  EXPECT_EQ(righe[7], u"  " + std::u16string(79, u'_'));
  EXPECT_EQ(righe[8],
            u" |   |                            |Inizio dopo |          |         |            |");
  EXPECT_EQ(righe[9],
            u" | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|");
  EXPECT_EQ(righe[10],
            u" |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |");
  EXPECT_EQ(righe[11], kRegolo);
}

TEST_F(RallentamentiTest, TwentySixEmptyOrderRowsBetweenTheRules) {
  for (size_t i = 12; i <= 37; ++i) EXPECT_EQ(righe[i], kRigaVuota) << "row " << i;
  EXPECT_EQ(righe[38], righe[11]);
  EXPECT_EQ(righe[39], u"");
}

TEST_F(RallentamentiTest, EveryGridRowHasItsBarsInTheSameColumns) {
  const std::vector<size_t> attese = {1, 5, 34, 47, 58, 68, 81};
  for (size_t i = 8; i <= 38; ++i) {
    EXPECT_EQ(Barre(righe[i]), attese) << "row " << i;
    EXPECT_EQ(righe[i].size(), 82u) << "row " << i;
  }
}

TEST_F(RallentamentiTest, PrescriptionKeyInItsOrder) {
  EXPECT_EQ(righe[40], u"              Prescrizioni specifiche");
  EXPECT_EQ(righe[41], u" A - Da rispettare con tutto il treno (per i treni viaggiatori)");
  EXPECT_EQ(righe[42], u" B - Interessa anche la stazione di.......");
  EXPECT_EQ(righe[43], u" D - Rallentamneto N. ... e N. ...  sono contigui");
  EXPECT_EQ(righe[44], u" C - Da rispettare dalle ore ....  alle ore ..... di tutti");
  EXPECT_EQ(righe[45], u"     i giorni esclusi i seguenti:.........");
}

}  // namespace
