// The VS Code grammars name the keywords of the sources in their own regular
// expressions: one lookahead `(?=[^,]*WORD)` (or `(?=[^,]*(?i:WORD))` when
// case is ignored) for every keyword a row kind needs, side by side for the
// keywords that must all occur. This holds them to the format table: every
// row kind of a section once, with its keywords and its comparison, and
// nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "compiler/lettura/formato_sorgenti.h"

namespace {

// One row kind's test as a grammar writes it: the keywords, each with
// whether case is ignored.
using Parole = std::set<std::pair<std::string, bool>>;

nlohmann::json grammatica(const char* nome) {
  std::ifstream f(std::string(SB_SOURCE_DIR) + "/editors/vscode/syntaxes/" + nome);
  EXPECT_TRUE(f) << nome;
  return nlohmann::json::parse(f, nullptr, /*allow_exceptions=*/false);
}

// The keyword tests in the regular expressions `espressioni`: runs of
// adjacent lookaheads, one run per row kind.
std::multiset<Parole> test_di(const std::vector<std::string>& espressioni) {
  static const std::regex lookahead(R"(\(\?=\[\^,\]\*(?:\(\?i:([^()]*)\)|([^()]*))\))");
  std::multiset<Parole> out;
  for (const std::string& e : espressioni) {
    Parole corrente;
    size_t fine = std::string::npos;
    for (auto it = std::sregex_iterator(e.begin(), e.end(), lookahead);
         it != std::sregex_iterator(); ++it) {
      const std::smatch& m = *it;
      if (static_cast<size_t>(m.position(0)) != fine && !corrente.empty()) {
        out.insert(corrente);
        corrente.clear();
      }
      corrente.emplace(m[1].matched ? m[1].str() : m[2].str(), m[1].matched);
      fine = m.position(0) + m.length(0);
    }
    if (!corrente.empty()) out.insert(corrente);
  }
  return out;
}

std::multiset<Parole> test_della_tabella(Sezione s) {
  std::multiset<Parole> out;
  for (const RigaFormato& r : righe_formato()) {
    if (r.sezione != s) continue;
    Parole p;
    for (const char* parola : parole(r)) p.emplace(parola, r.ignora_maiuscole);
    out.insert(p);
  }
  return out;
}

std::string testo(const std::multiset<Parole>& t) {
  std::string out;
  for (const Parole& p : t) {
    out += "{";
    for (const auto& [parola, ignora] : p) out += " " + parola + (ignora ? "(i)" : "");
    out += " } ";
  }
  return out;
}

TEST(GrammaticaEditorTest, EachSectionTestsTheKeywordsOfTheTableAndNoOthers) {
  const nlohmann::json linea = grammatica("linea.tmLanguage.json");
  const nlohmann::json treno = grammatica("treno.tmLanguage.json");
  ASSERT_FALSE(linea.is_discarded());
  ASSERT_FALSE(treno.is_discarded());
  const nlohmann::json& rl = linea["repository"];
  const nlohmann::json& rt = treno["repository"];

  const struct {
    Sezione sezione;
    std::vector<std::string> espressioni;
  } casi[] = {
      {Sezione::kGenerale, {rl["keyword-generale"]["match"]}},
      {Sezione::kElementi, {rl["keyword"]["match"], rl["cartello"]["match"]}},
      {Sezione::kTreno, {rt["row"]["begin"], rt["stazione"]["begin"]}},
  };
  for (const auto& c : casi) {
    const std::multiset<Parole> attese = test_della_tabella(c.sezione);
    ASSERT_FALSE(attese.empty());
    EXPECT_EQ(test_di(c.espressioni), attese)
        << "grammar: " << testo(test_di(c.espressioni)) << "\ntable: " << testo(attese);
  }
}

}  // namespace
