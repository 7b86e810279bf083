// The fuzzers' row mutator: every kind of mutation leaves a source made of
// whole rows the readers know, changed only the way its kind says, and the
// compile of the result keeps the fuzzers' invariants.
#include "supporto/mutatore_righe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "supporto/compila_memoria.h"
#include "supporto/fuzz_compila.h"

namespace {

std::vector<std::string> Righe(const std::string& s) {
  std::vector<std::string> r;
  for (size_t at = 0; at < s.size();) {
    size_t fine = s.find('\n', at);
    fine = fine == std::string::npos ? s.size() : fine + 1;
    r.push_back(s.substr(at, fine - at));
    at = fine;
  }
  return r;
}

// Rows of `a` not in `b`, counted with their repeats.
std::vector<std::string> Meno(std::vector<std::string> a, std::vector<std::string> b) {
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  std::vector<std::string> d;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(d));
  return d;
}

std::string Dopo(const std::string& riga) { return riga.substr(riga.find(',')); }
std::string Chiave(const std::string& riga) { return riga.substr(0, riga.find(',')); }

// The part of a row left when its numbers are taken out.
std::string SenzaNumeri(const std::string& riga) {
  std::string s;
  for (size_t i = 0; i < riga.size(); ++i) {
    const bool cifra = std::isdigit(static_cast<unsigned char>(riga[i])) ||
                       (riga[i] == '-' && i + 1 < riga.size() && std::isdigit(static_cast<unsigned char>(riga[i + 1])));
    if (!cifra) s += riga[i];
    else if (s.empty() || s.back() != '#') s += '#';
  }
  return s;
}

struct Caso {
  Mutazione m;
  int righe_in_piu;  // how the row count changes
  // Checks the rows that left (`via`) and came (`nuove`).
  void (*verifica)(const std::vector<std::string>& via, const std::vector<std::string>& nuove);
};

void StesseRighe(const std::vector<std::string>& via, const std::vector<std::string>& nuove) {
  EXPECT_TRUE(via.empty() && nuove.empty());
}

const Caso kCasi[] = {
    {Mutazione::kDuplica, 1,
     [](const auto& via, const auto& nuove) { EXPECT_TRUE(via.empty()); EXPECT_LE(nuove.size(), 1u); }},
    {Mutazione::kElimina, -1,
     [](const auto& via, const auto& nuove) { EXPECT_LE(via.size(), 1u); EXPECT_TRUE(nuove.empty()); }},
    {Mutazione::kScambia, 0, StesseRighe},
    {Mutazione::kSposta, 0, StesseRighe},
    {Mutazione::kConfine, 0,
     [](const auto& via, const auto& nuove) {
       ASSERT_EQ(via.size(), nuove.size());
       ASSERT_LE(via.size(), 1u);
       // The same row with a whole number in place of another.
       if (!via.empty()) {
         EXPECT_EQ(SenzaNumeri(via[0]), SenzaNumeri(nuove[0]));
       }
     }},
    {Mutazione::kChiave, 0,
     [](const auto& via, const auto& nuove) {
       ASSERT_EQ(via.size(), nuove.size());
       ASSERT_LE(via.size(), 1u);
       if (via.empty()) return;
       // The same fields behind another keyword of its section.
       EXPECT_EQ(Dopo(via[0]), Dopo(nuove[0]));
       EXPECT_NE(Chiave(via[0]), Chiave(nuove[0]));
     }},
};

TEST(MutatoreRigheTest, EachKindKeepsWholeRowsOfTheSources) {
  const std::string linea = SorgenteLineaIncorporata(), treno = SorgenteTrenoIncorporata();
  const struct {
    Bersaglio b;
    std::string testo;
  } sorgenti[] = {{Bersaglio::kLinea, Finestra(linea, 42000, 8000)}, {Bersaglio::kTreno, treno}};
  for (const Caso& caso : kCasi) {
    for (const auto& s : sorgenti) {
      const auto prima = Righe(s.testo);
      for (unsigned seme = 0; seme < 20; ++seme) {
        SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(caso.m) << " seed " << seme);
        std::mt19937 rng(seme);
        const std::string dopo = Muta(s.testo, caso.m, 176000, rng);
        const auto righe = Righe(dopo);
        EXPECT_EQ(static_cast<int>(righe.size()), static_cast<int>(prima.size()) + caso.righe_in_piu);
        for (const auto& r : righe) EXPECT_TRUE(r.ends_with("\r\n")) << r;
        caso.verifica(Meno(prima, righe), Meno(righe, prima));
        CompilaIngresso(s.b, dopo);
      }
    }
  }
}

TEST(MutatoreRigheTest, LengthRowReadAndRewritten) {
  const std::string linea = SorgenteLineaIncorporata();
  EXPECT_EQ(LunghezzaLinea(linea), 176000);
  EXPECT_EQ(LunghezzaLinea(ConLunghezza(linea, 4050)), 4050);
  EXPECT_EQ(LunghezzaLinea(SorgenteTrenoIncorporata()), -1);
}

}  // namespace

namespace {

// A run of digits longer than any field holds has no boundary values that
// fit 64 bits; the mutator leaves it (a fuzzer's finding under the sanitizer).
TEST(MutatoreRigheTest, NumbersTooLongForAnyFieldAreLeftAlone) {
  const std::string riga = "pendenza, -99999999999999999999999, 99999999999999999999\r\n";
  std::mt19937 rng(1);
  EXPECT_EQ(Muta(riga, Mutazione::kConfine, 176000, rng), riga);
}

}  // namespace
