#include "compiler/finitura/codice_gara.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Codici {
  double st;
  int16_t og;
};

Codici calcola(const std::string& treno, const std::string& scenario) {
  Tabelle t;
  t.stazioni[86].nome = treno;
  t.stazioni[85].nome = scenario;
  valore st = codice_gara_st(t);
  valore og = codice_gara_og(t);
  EXPECT_EQ(og.codice, valore::kIntero);
  return {st.numero(), og.intero};
}

TEST(CodiceGaraTest, WorkedExamples) {
  Codici a = calcola("7", "Abc");
  EXPECT_EQ(a.og, 2492);
  EXPECT_EQ(a.st, 33523);
  Codici b = calcola("", "abc");
  EXPECT_EQ(b.og, 2546);
  EXPECT_EQ(b.st, 33756);
  Codici vuoti = calcola("", "");
  EXPECT_EQ(vuoti.og, 2583);
  EXPECT_EQ(vuoti.st, 34355);
}

TEST(CodiceGaraTest, CodeTextIsBuiltInRiga) {
  Tabelle t;
  const std::string treno = "7", scenario = "Abc", precedente = "campo precedente";
  t.stazioni[86].nome = treno;
  t.stazioni[85].nome = scenario;
  t.riga = precedente;
  codice_gara_og(t);
  EXPECT_EQ(t.riga, "7abcaabbccddeeffgghhiillmmnnoo");
  EXPECT_EQ(t.stazioni[85].nome, "Abc");  // the identity itself is not changed
}

TEST(CodiceGaraTest, CaseDoesNotMatterIncludingAccentedLetters) {
  Codici upper = calcola("58121", "LAVRANO_CESTELLE");
  Codici mixed = calcola("58121", "Lavrano_Cestelle");
  EXPECT_EQ(upper.og, mixed.og);
  EXPECT_EQ(upper.st, mixed.st);
  // Windows-1252 capitals: À (C0), Š (8A), Œ (8C), Ž (8E), Ÿ (9F) against
  // à (E0), š (9A), œ (9C), ž (9E), ÿ (FF).
  Codici accenti = calcola("", "\xC0\x8A\x8C\x8E\x9F");
  Codici minuscole = calcola("", "\xE0\x9A\x9C\x9E\xFF");
  EXPECT_EQ(accenti.og, minuscole.og);
  EXPECT_EQ(accenti.st, minuscole.st);
  EXPECT_NE(calcola("", "\xD7").og, calcola("", "\xF7").og);  // × is not a letter
}

TEST(CodiceGaraTest, OnlyTheFirst25CharactersCount) {
  Codici a = calcola("58121", "abcdefghijklmnopqrstu");  // 26 characters joined
  Codici b = calcola("58121", "abcdefghijklmnopqrstZZZZ");
  EXPECT_EQ(a.og, b.og);
  EXPECT_EQ(a.st, b.st);
  // The largest possible sums fit their fields.
  Codici massimo = calcola(std::string(25, '\xFF'), "");
  EXPECT_EQ(massimo.og, 6375);
  EXPECT_EQ(massimo.st, 82875);
}

TEST(CodiceGaraTest, ExchangingTheIdentityKeepsThePlainSumOnly) {
  Codici a = calcola("58121", "Lavrano_Cestelle");
  Codici b = calcola("Lavrano_Cestelle", "58121");
  EXPECT_EQ(a.og, b.og);
  EXPECT_NE(a.st, b.st);
}

}  // namespace
