#include "sources/text_writer.h"

#include <gtest/gtest.h>

#include "platform/executable_dir.h"
#include "supporto/memory_file_system.h"

namespace {

TabellaRighe Righe(std::initializer_list<std::u16string> righe) {
  TabellaRighe t(righe);
  t.emplace_back(riferimento_fine_file);
  return t;
}

class TextWriterTest : public ::testing::Test {
 protected:
  MemoryFileSystem fs;
  Destinazione dest{&fs, "/dir", "S", "1"};
  std::string path = JoinPath("/dir", "doc.txt");
};

TEST_F(TextWriterTest, EmptyBlankAndTrailingBlankRowsAreWrittenAsTheyAre) {
  ASSERT_TRUE(scrivi_testo(dest, "doc.txt", Righe({u"", u"     ", u"abc  ", u"x"})).ok());
  EXPECT_EQ(fs.files[path], "\r\n     \r\nabc  \r\nx\r\n");
}

TEST_F(TextWriterTest, EndMarkerIsNeverWrittenAndRowsAfterItAreIgnored) {
  TabellaRighe t = Righe({u"uno"});
  t.push_back(u"dopo");
  ASSERT_TRUE(scrivi_testo(dest, "doc.txt", t).ok());
  EXPECT_EQ(fs.files[path], "uno\r\n");
}

TEST_F(TextWriterTest, TableOfOnlyTheMarkerGivesAnEmptyFile) {
  ASSERT_TRUE(scrivi_testo(dest, "doc.txt", Righe({})).ok());
  EXPECT_EQ(fs.files[path], "");
}

TEST_F(TextWriterTest, LongerOldFileIsReplacedWhole) {
  fs.files[path] = std::string(10000, 'z');
  ASSERT_TRUE(scrivi_testo(dest, "doc.txt", Righe({u"nuovo"})).ok());
  EXPECT_EQ(fs.files[path], "nuovo\r\n");
}

TEST_F(TextWriterTest, AccentsBecomeSingleBytes) {
  ASSERT_TRUE(scrivi_testo(dest, "doc.txt", Righe({u"è così"})).ok());
  EXPECT_EQ(fs.files[path], "\xE8 cos\xEC\r\n");
}

TEST_F(TextWriterTest, CharacterOutsideTheCodePageIsAnErrorNotAWrongByte) {
  Status s = scrivi_testo(dest, "doc.txt", Righe({u"ok", u"no \u0101"}));
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.message(),
            "cannot encode 'doc.txt': row 1 holds a character outside Windows-1252 at column 3");
  EXPECT_EQ(fs.files.count(path), 0u);
}

TEST_F(TextWriterTest, MissingEndMarkerIsAnError) {
  std::string bytes;
  EXPECT_FALSE(CodificaRighe(TabellaRighe{u"a"}, &bytes).ok());
}

TEST_F(TextWriterTest, FailuresOfEachStepArePassedUp) {
  for (auto op : {MemoryFileSystem::Op::kTouch, MemoryFileSystem::Op::kRemove,
                  MemoryFileSystem::Op::kCreate}) {
    MemoryFileSystem failing;
    failing.Fail(op, path);
    Destinazione d{&failing, "/dir", "S", "1"};
    Status s = scrivi_testo(d, "doc.txt", Righe({u"a"}));
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.message().find("'" + path + "'"), std::string::npos) << s.message();
  }
}

TEST(JoinPathTest, JoinsWithTheSeparatorOfThePlatform) {
#ifdef _WIN32
  EXPECT_EQ(JoinPath("C:\\giochi", "a.txt"), "C:\\giochi\\a.txt");
  EXPECT_EQ(JoinPath("C:\\", "a.txt"), "C:\\\\a.txt");
#else
  EXPECT_EQ(JoinPath("/opt/giochi", "a.txt"), "/opt/giochi/a.txt");
  EXPECT_EQ(JoinPath("/", "a.txt"), "/a.txt");
#endif
}

}  // namespace
