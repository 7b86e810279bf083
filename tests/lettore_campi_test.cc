#include "compiler/lettura/lettore_campi.h"

#include <gtest/gtest.h>

namespace {

using L = LettoreCampi::Larghezza;

TEST(LettoreCampiTest, TextFieldsEndAtCommasAndLineEnds) {
  LettoreCampi r("  uno, due ,tre\r\n\r\n   \r\nquattro");
  std::string s;
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_EQ(s, "uno");
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_EQ(s, "due ");  // blanks before the comma belong to the field
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_EQ(s, "tre");
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_EQ(s, "");  // empty line
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_EQ(s, "");  // blank line
  EXPECT_FALSE(r.fine_file());
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_EQ(s, "quattro");
  EXPECT_TRUE(r.fine_file());
  EXPECT_FALSE(r.leggi_testo(&s));  // past the end
}

TEST(LettoreCampiTest, QuotedTextRunsToTheClosingQuote) {
  LettoreCampi r("\"a, b\" resto,dopo\r\n\"aperto");
  std::string s;
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_EQ(s, "a, b");
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_EQ(s, "dopo");
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_EQ(s, "aperto");
  EXPECT_TRUE(r.fine_file());
}

TEST(LettoreCampiTest, EndOfFileIsReachedWithTheLastLineEnd) {
  LettoreCampi r("[fine]\r\n                \r\n");
  std::string s;
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_FALSE(r.fine_file());
  ASSERT_TRUE(r.leggi_testo(&s));
  EXPECT_EQ(s, "");
  EXPECT_TRUE(r.fine_file());
}

TEST(LettoreCampiTest, NumbersSeparatedByBlanksOrCommas) {
  LettoreCampi r("    17              48            30 \r\n950    , -12\r\n,  5");
  int32_t a = 0, b = 0, c = 0;
  ASSERT_TRUE(r.leggi_numero(L::kI16, &a));
  ASSERT_TRUE(r.leggi_numero(L::kI16, &b));
  ASSERT_TRUE(r.leggi_numero(L::kI16, &c));
  EXPECT_EQ(a, 17);
  EXPECT_EQ(b, 48);
  EXPECT_EQ(c, 30);
  ASSERT_TRUE(r.leggi_numero(L::kI32, &a));
  ASSERT_TRUE(r.leggi_numero(L::kI32, &b));
  EXPECT_EQ(a, 950);
  EXPECT_EQ(b, -12);
  ASSERT_TRUE(r.leggi_numero(L::kI32, &a));  // empty field before the comma
  EXPECT_EQ(a, 0);
  ASSERT_TRUE(r.leggi_numero(L::kI32, &a));
  EXPECT_EQ(a, 5);
  EXPECT_TRUE(r.fine_file());
}

TEST(LettoreCampiTest, NotANumberReadsAsZero) {
  LettoreCampi r("AC\r\n12x, -,7");
  int32_t v = 9;
  ASSERT_TRUE(r.leggi_numero(L::kI32, &v));
  EXPECT_EQ(v, 0);
  ASSERT_TRUE(r.leggi_numero(L::kI32, &v));
  EXPECT_EQ(v, 0);
  ASSERT_TRUE(r.leggi_numero(L::kI32, &v));
  EXPECT_EQ(v, 0);
  ASSERT_TRUE(r.leggi_numero(L::kI32, &v));
  EXPECT_EQ(v, 7);
}

TEST(LettoreCampiTest, WidthsAreEnforced) {
  int32_t v = 0;
  EXPECT_TRUE(LettoreCampi("255").leggi_numero(L::kU8, &v));
  EXPECT_EQ(v, 255);
  EXPECT_FALSE(LettoreCampi("256").leggi_numero(L::kU8, &v));
  EXPECT_FALSE(LettoreCampi("-1").leggi_numero(L::kU8, &v));
  EXPECT_TRUE(LettoreCampi("-32768").leggi_numero(L::kI16, &v));
  EXPECT_FALSE(LettoreCampi("32768").leggi_numero(L::kI16, &v));
  EXPECT_TRUE(LettoreCampi("2147483647").leggi_numero(L::kI32, &v));
  EXPECT_FALSE(LettoreCampi("2147483648").leggi_numero(L::kI32, &v));
  EXPECT_FALSE(LettoreCampi("99999999999999999999999999").leggi_numero(L::kI32, &v));
}

TEST(LettoreCampiTest, NumberPastTheEndFails) {
  int32_t v = 0;
  EXPECT_FALSE(LettoreCampi("").leggi_numero(L::kI32, &v));
  EXPECT_FALSE(LettoreCampi("  \r\n \r\n").leggi_numero(L::kI32, &v));
}

TEST(LettoreCampiTest, KeywordTests) {
  EXPECT_TRUE(contiene_nocase("Lunghezza Percorso", "percorso"));
  EXPECT_TRUE(contiene("progressiva chilometrica tre", "tre"));
  EXPECT_FALSE(contiene("Progressiva", "progressiva"));
  EXPECT_TRUE(contiene_nocase("[GENERALE]   ", "[generale]"));
  EXPECT_FALSE(contiene_nocase("indicatori_vmax", "cartello"));
  // A partial match does not hide one that starts inside it; the keyword
  // may end the field; only ASCII letters fold.
  EXPECT_TRUE(contiene_nocase("pendpendenza", "PENDENZA"));
  EXPECT_TRUE(contiene_nocase("curva", "curva"));
  EXPECT_FALSE(contiene_nocase("curv", "curva"));
  EXPECT_FALSE(contiene_nocase("velocit\xC0", "velocit\xE0"));
  EXPECT_TRUE(contiene_nocase("x", ""));
  EXPECT_FALSE(contiene_nocase("", ""));
}

}  // namespace
