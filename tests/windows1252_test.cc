#include "sources/windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252Test, AsciiAndLatin1MapToThemselves) {
  for (int c = 0; c < 0x80; ++c) EXPECT_EQ(Windows1252Byte(static_cast<char16_t>(c)), c);
  for (int c = 0xA0; c <= 0xFF; ++c) EXPECT_EQ(Windows1252Byte(static_cast<char16_t>(c)), c);
}

TEST(Windows1252Test, AccentedLettersOfTheDocumentsAreSingleBytes) {
  std::string out;
  ASSERT_TRUE(EncodeWindows1252(u"àèéòù", &out, nullptr));
  EXPECT_EQ(out, "\xE0\xE8\xE9\xF2\xF9");
}

TEST(Windows1252Test, HighBlockRoundTrips) {
  // Every byte maps to a character and back to the same byte.
  for (int b = 0; b < 256; ++b) {
    char16_t c = Windows1252Char(static_cast<unsigned char>(b));
    EXPECT_EQ(Windows1252Byte(c), b) << "byte " << b;
  }
  EXPECT_EQ(Windows1252Byte(u'€'), 0x80);
  EXPECT_EQ(Windows1252Byte(u'’'), 0x92);
  EXPECT_EQ(Windows1252Byte(u'Ÿ'), 0x9F);
}

TEST(Windows1252Test, CharactersOutsideTheCodePageAreRefused) {
  std::string out;
  size_t bad = 99;
  EXPECT_FALSE(EncodeWindows1252(u"ab\u0100c", &out, &bad));  // Ā
  EXPECT_EQ(bad, 2u);
  EXPECT_FALSE(EncodeWindows1252(u"\u0080", &out, &bad));  // C1 control with a byte of its own
  EXPECT_FALSE(EncodeWindows1252(u"\u20AD", &out, &bad));
  EXPECT_EQ(Windows1252Byte(u'\u4E2D'), -1);
}
