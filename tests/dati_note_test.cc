#include <gtest/gtest.h>

#include <set>

#include "platform/executable_dir.h"
#include "sources/documenti.h"
#include "supporto/memory_file_system.h"

namespace {

class NoteTest : public ::testing::Test {
 protected:
  TabellaRighe righe = righe_note("58121");
};

TEST_F(NoteTest, WrittenUnderItsNameWithSixtyLines) {
  MemoryFileSystem fs;
  ASSERT_TRUE(dati_note({&fs, "/exe", "Lavrano_Cestelle", "58121"}).ok());
  ASSERT_EQ(fs.files.size(), 1u);
  const std::string& bytes = fs.files[JoinPath("/exe", "Lavrano_Cestelle_58121_note.txt")];
  size_t fine_riga = 0;
  for (size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2))
    ++fine_riga;
  EXPECT_EQ(fine_riga, 60u);
  ASSERT_EQ(righe.size(), 61u);
  EXPECT_EQ(righe[60], riferimento_fine_file);
}

TEST_F(NoteTest, EveryCharacterIsOneByteAndTheAccentsAreLatin) {
  std::string bytes;
  ASSERT_TRUE(CodificaRighe(righe, &bytes).ok());
  size_t caratteri = 0;
  for (size_t i = 0; i + 1 < righe.size(); ++i) caratteri += righe[i].size() + 2;
  EXPECT_EQ(bytes.size(), caratteri);
  std::set<unsigned char> alti;
  for (char c : bytes)
    if (static_cast<unsigned char>(c) > 0x7F) alti.insert(static_cast<unsigned char>(c));
  // à è é ò ù, and nothing else: no two-byte sequences, no stray symbols.
  EXPECT_EQ(alti, (std::set<unsigned char>{0xE0, 0xE8, 0xE9, 0xF2, 0xF9}));
}

TEST_F(NoteTest, TheWordIsWrittenWithItsAccentAndOnceWithAnApostrophe) {
  size_t accentata = 0, apostrofo = 0;
  for (size_t i = 0; i + 1 < righe.size(); ++i) {
    const std::u16string& r = righe[i];
    for (size_t p = r.find(u" è "); p != r.npos; p = r.find(u" è ", p + 1)) ++accentata;
    for (size_t p = r.find(u"e'"); p != r.npos; p = r.find(u"e'", p + 1)) ++apostrofo;
  }
  EXPECT_GT(accentata, 0u);
  EXPECT_EQ(apostrofo, 1u);
  EXPECT_EQ(righe[17], u" - L'orario e' quello reale.");
}

TEST_F(NoteTest, FourteenRowsEndInExactlyOneBlank) {
  const std::set<size_t> attese = {0, 4, 6, 7, 11, 20, 25, 28, 40, 42, 46, 48, 49, 52};
  std::set<size_t> trovate;
  for (size_t i = 0; i + 1 < righe.size(); ++i) {
    const std::u16string& r = righe[i];
    if (r.empty() || r.back() != u' ') continue;
    trovate.insert(i);
    if (r.size() > 1) {
      EXPECT_NE(r[r.size() - 2], u' ') << "row " << i;
    }
  }
  EXPECT_EQ(trovate, attese);
  EXPECT_EQ(righe[42], u" ");
  for (size_t i : {2u, 18u, 21u, 55u, 57u}) EXPECT_EQ(righe[i], u"") << "row " << i;
}

TEST_F(NoteTest, WidestRowAndIndentation) {
  size_t piu_larga = 0;
  for (size_t i = 0; i + 1 < righe.size(); ++i) {
    const std::u16string& r = righe[i];
    piu_larga = std::max(piu_larga, r.size());
    if (!r.empty()) {
      EXPECT_EQ(r[0], u' ') << "row " << i;
    }
  }
  EXPECT_EQ(piu_larga, 98u);
  EXPECT_EQ(righe[0].find_first_not_of(u' '), 15u);
  EXPECT_EQ(righe[1].find_first_not_of(u' '), 26u);
  EXPECT_EQ(righe[22].find_first_not_of(u' '), 3u);
  // Items open with " - "; each continuation row is indented by three.
  for (size_t i : {5u, 7u, 8u, 10u, 11u, 12u, 13u, 15u, 45u, 47u, 48u, 49u, 50u, 53u, 54u})
    EXPECT_EQ(righe[i].find_first_not_of(u' '), 3u) << "row " << i;
  for (size_t i : {4u, 6u, 9u, 14u, 16u, 17u, 31u, 32u, 34u, 35u, 36u, 44u, 46u, 51u, 52u})
    EXPECT_EQ(righe[i].substr(0, 3), u" - ") << "row " << i;
}

TEST_F(NoteTest, FixedRows) {
  EXPECT_EQ(righe[0], u"               Treno 58121/58120 sul percorso Lavrano-Chiusi-Cestelle ");
  EXPECT_EQ(righe[1], u"                          (Orario invernale 2000/2001)");
  EXPECT_EQ(righe[3], u" Precisazioni sul percorso:");
  EXPECT_EQ(righe[16],
            u" - Le impostazioni relative alle velocita' massime ed i segnali sono reali.");
  EXPECT_EQ(righe[22], u"   Modifica del 21/09/2001");
  EXPECT_EQ(righe[43], u" Alcune ulteriori precisazioni:");
  EXPECT_EQ(righe[51], u" - sulla linea DD NON esistono segnali di avviso semplice;");
  EXPECT_EQ(righe[58], u" Buon divertimento");
  EXPECT_EQ(righe[59].back(), u')');
  EXPECT_NE(righe[59].find(u"@example.org"), std::u16string::npos);
}

TEST_F(NoteTest, TitleNamesTheTrainItIsGiven) {
  EXPECT_EQ(righe_note("7")[0],
            u"               Treno 7/58120 sul percorso Lavrano-Chiusi-Cestelle ");
}

}  // namespace
