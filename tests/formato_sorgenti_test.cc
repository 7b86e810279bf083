// The table of the sources' format against what it describes: the readers
// (which keep keyword tests of their own), the documentation's tables, the
// fuzzers' dictionary and the product code, which spells no keyword the
// table already holds.
#include "compiler/lettura/formato_sorgenti.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/sorgente_linea.h"
#include "support/sorgente_treno.h"

namespace {

// The keyword field of a row built from the table: its keywords, blank
// separated; the one at `maiuscola` (or every one, for -1) in capitals.
std::string Chiave(const RigaFormato& f, int maiuscola = -2) {
  std::string s;
  int i = 0;
  for (const char* p : parole(f)) {
    if (!s.empty()) s += ' ';
    std::string k = p;
    if (maiuscola == -1 || maiuscola == i++)
      for (char& c : k) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    s += k;
  }
  return s;
}

// The row: the keyword field, then a value of each field's width.
std::string Riga(const RigaFormato& f, const std::string& chiave) {
  std::string s = chiave;
  for (const CampoFormato& c : f.campi) {
    switch (c.larghezza) {
      case Larghezza::kU8:
        s += ", 10";
        break;
      case Larghezza::kI16:
      case Larghezza::kI32:
        s += ", 1000";
        break;
      case Larghezza::kTesto:
        s += ", X";
        break;
    }
  }
  return s;
}

CampoLetto::Tipo TipoLetto(Larghezza l) {
  switch (l) {
    case Larghezza::kU8:
      return CampoLetto::Tipo::kU8;
    case Larghezza::kI16:
      return CampoLetto::Tipo::kI16;
    case Larghezza::kI32:
      return CampoLetto::Tipo::kI32;
    case Larghezza::kTesto:
      break;
  }
  return CampoLetto::Tipo::kTesto;
}

// How the reader took a keyword field: the widths of the fields its
// handlers then read, as the account of the reading records them.
std::vector<CampoLetto::Tipo> CampiLetti(const std::string& riga, Sezione dove) {
  Registro reg;
  std::string testo;
  Sorgente s = Sorgente::kTreno;
  if (dove == Sezione::kTreno) {
    LetturaTreno l;
    l.t.registro = &reg;
    testo = "[generale]\r\n" + Righe({riga});
    l.leggi(testo);
  } else {
    s = Sorgente::kLinea;
    struct Linea : LettoreLineaFixture {
      void TestBody() override {}
      void LeggiCon(Registro* r, const std::string& testo) {
        Nuove();
        t.registro = r;
        Leggi(testo);
      }
    } l;
    testo = dove == Sezione::kGenerale ? SorgenteLinea({"lunghezza percorso, 10000", riga}, {})
                                       : LineaLunga(10000, {riga});
    l.LeggiCon(&reg, testo);
  }
  const std::string chiave = riga.substr(0, riga.find(','));
  const auto& campi = reg.di(s);
  // The last field that held the keyword: the general rows of a line come
  // with a length row of their own.
  std::vector<CampoLetto::Tipo> v;
  for (const RigaLetta& r : reg.righe) {
    const CampoLetto& k = campi[r.campo];
    if (r.sorgente != s || testo.substr(k.inizio, k.fine - k.inizio) != chiave) continue;
    v.clear();
    for (size_t i = r.campo + 1; i < r.fine; ++i) v.push_back(campi[i].tipo);
  }
  return v;
}

TEST(FormatoSorgentiTest, ReadersReadEveryRowAsTheTableSays) {
  for (const RigaFormato& f : righe_formato()) {
    const std::string riga = Riga(f, Chiave(f));
    SCOPED_TRACE(riga);
    std::vector<CampoLetto::Tipo> attesi;
    for (const CampoFormato& c : f.campi) attesi.push_back(TipoLetto(c.larghezza));
    EXPECT_EQ(CampiLetti(riga, f.sezione), attesi);
    ASSERT_NE(riga_riconosciuta(f.sezione, Chiave(f)), nullptr);
    EXPECT_EQ(riga_riconosciuta(f.sezione, Chiave(f))->tipo, f.tipo);
  }
}

TEST(FormatoSorgentiTest, ReadersNeedEveryKeywordInTheTablesCaseAndSection) {
  for (const RigaFormato& f : righe_formato()) {
    SCOPED_TRACE(Chiave(f));
    if (parole(f).size() == 2) {
      for (const char* sola : parole(f)) EXPECT_TRUE(CampiLetti(Riga(f, sola), f.sezione).empty());
    }
    for (int i = -1; i < static_cast<int>(parole(f).size()); ++i) {
      const std::string maiuscola = Riga(f, Chiave(f, i));
      EXPECT_EQ(CampiLetti(maiuscola, f.sezione).size(), f.ignora_maiuscole ? f.campi.size() : 0)
          << maiuscola;
    }
    if (f.sezione != Sezione::kTreno) {
      const Sezione altra =
          f.sezione == Sezione::kGenerale ? Sezione::kElementi : Sezione::kGenerale;
      EXPECT_TRUE(CampiLetti(Riga(f, Chiave(f)), altra).empty());
    }
  }
}

// ---- documents held to the table ----------------------------------------------------

std::string Testo(const std::string& relativo) {
  std::ifstream in(std::string(SB_SOURCE_DIR) + "/" + relativo, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Linee(const std::string& testo) {
  std::vector<std::string> v;
  std::istringstream in(testo);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

// The cells of a table row of a markdown document, without their blanks.
std::vector<std::string> Celle(const std::string& linea) {
  std::vector<std::string> v;
  size_t i = linea.find('|');
  while (i != std::string::npos) {
    const size_t j = linea.find('|', i + 1);
    if (j == std::string::npos) break;
    std::string c = linea.substr(i + 1, j - i - 1);
    c.erase(0, c.find_first_not_of(' '));
    c.erase(c.find_last_not_of(' ') + 1);
    v.push_back(c);
    i = j;
  }
  return v;
}

const char* Larghezze(Larghezza l) {
  switch (l) {
    case Larghezza::kU8:
      return "unsigned 8-bit";
    case Larghezza::kI16:
      return "signed 16-bit";
    case Larghezza::kI32:
      return "signed 32-bit";
    case Larghezza::kTesto:
      break;
  }
  return "text";
}

const char* Documento(Sorgente s) {
  return s == Sorgente::kLinea ? "docs/sorgente_linea.md" : "docs/sorgente_treno.md";
}

// Every row kind has a field table in its document (`| # | Field | Width |
// Unit | Meaning |`, a numbered row per field) that says what the table
// says, and a row naming its keywords and, where it has one, the case.
TEST(FormatoSorgentiTest, DocumentsSayWhatTheTableSays) {
  for (const RigaFormato& f : righe_formato()) {
    SCOPED_TRACE(Chiave(f));
    const std::vector<std::string> linee = Linee(Testo(Documento(f.sorgente)));
    ASSERT_FALSE(linee.empty());

    std::vector<std::vector<std::string>> attesa;
    for (size_t i = 0; i < f.campi.size(); ++i) {
      const CampoFormato& c = f.campi[i];
      attesa.push_back(
          {std::to_string(i + 1), c.nome, Larghezze(c.larghezza), c.unita, c.significato});
    }
    bool trovata = false;
    for (size_t i = 0; i + attesa.size() <= linee.size() && !trovata; ++i) {
      if (i == 0 || !linee[i - 1].starts_with('|') || Celle(linee[i]) != attesa[0]) continue;
      size_t n = 0;
      while (n < attesa.size() && Celle(linee[i + n]) == attesa[n]) ++n;
      const bool finita = i + n == linee.size() || Celle(linee[i + n]).empty();
      trovata = n == attesa.size() && finita;
    }
    EXPECT_TRUE(trovata) << "no field table in " << Documento(f.sorgente) << " reads\n"
                         << [&] {
                              std::string s;
                              for (const auto& r : attesa) {
                                for (const auto& c : r) s += "| " + c + " ";
                                s += "|\n";
                              }
                              return s;
                            }();

    bool nominata = false;
    for (const std::string& l : linee) {
      if (!l.starts_with('|')) continue;
      bool tutte = true;
      for (const char* p : parole(f))
        tutte = tutte && l.find(std::string("\"").append(p).append("\"")) != l.npos;
      if (!tutte) continue;
      const std::vector<std::string> celle = Celle(l);
      const bool qualsiasi = std::count(celle.begin(), celle.end(), "any") > 0;
      const bool esatta = std::count(celle.begin(), celle.end(), "exact") > 0;
      if (qualsiasi || esatta) {
        EXPECT_EQ(qualsiasi, f.ignora_maiuscole) << l;
      }
      nominata = true;
    }
    EXPECT_TRUE(nominata) << "no table row of " << Documento(f.sorgente) << " names the keywords";
  }
}

// The dictionary offers every keyword (alone, or as a row starts with it),
// and every word it offers is a
// keyword or a field some row recognises.
TEST(FormatoSorgentiTest, FuzzDictionaryHoldsTheKeywords) {
  std::set<std::string> voci;
  for (const std::string& l : Linee(Testo("fuzz/sorgenti.dict"))) {
    if (l.size() >= 2 && l.front() == '"' && l.back() == '"')
      voci.insert(l.substr(1, l.size() - 2));
  }
  ASSERT_FALSE(voci.empty());
  EXPECT_EQ(voci.count(kMarcaGenerale), 1u);
  std::set<std::string> chiavi;
  for (const RigaFormato& f : righe_formato())
    for (const char* p : parole(f)) {
      chiavi.insert(p);
      EXPECT_EQ(voci.count(p) + voci.count(std::string(p) + ","), 1u) << p;
    }
  for (const std::string& v : voci) {
    const bool parola = v.size() >= 3 && v.find_first_of("[\\") == v.npos &&
                        std::any_of(v.begin(), v.end(), [](char c) {
                          return std::isalpha(static_cast<unsigned char>(c));
                        });
    if (!parola || chiavi.count(v) != 0) continue;
    bool riconosciuta = false;
    for (const RigaFormato& f : righe_formato()) riconosciuta = riconosciuta || riconosce(f, v);
    EXPECT_TRUE(riconosciuta) << v;
  }
}

// ---- one spelling of each keyword in the product --------------------------------------

// The string literals of a C++ file, comments left out.
std::vector<std::string> Letterali(const std::string& testo) {
  std::vector<std::string> v;
  for (size_t i = 0; i < testo.size(); ++i) {
    if (testo.compare(i, 2, "//") == 0) {
      i = testo.find('\n', i);
      if (i == std::string::npos) break;
    } else if (testo.compare(i, 2, "/*") == 0) {
      i = testo.find("*/", i);
      if (i == std::string::npos) break;
      ++i;
    } else if (testo[i] == '\'') {
      i += testo[i + 1] == '\\' ? 3 : 2;
    } else if (testo[i] == '"') {
      std::string s;
      for (++i; i < testo.size() && testo[i] != '"'; ++i) {
        if (testo[i] == '\\') ++i;
        s += testo[i];
      }
      v.push_back(s);
    }
  }
  return v;
}

// Each keyword is spelled as a literal by the table and by at most one
// other product file: the reader whose keyword test it is. Everything else
// takes the keywords from the table.
TEST(FormatoSorgentiTest, EachKeywordIsSpelledInAtMostTwoProductFiles) {
  // Names of the grid cell's bytes and of a station entry's field that the
  // dumps print, which happen to be keywords too.
  const std::set<std::pair<std::string, std::string>> nomi_di_campi = {
      {"compiler/uscita/formato_percorso.cc", "montagna"},
      {"compiler/uscita/formato_percorso.cc", "pendenza"},
      {"compiler/uscita/formato_percorso.cc", "aderenza"},
      {"tool/ispezione/descrizione.cc", "montagna"},
      {"tool/ispezione/descrizione.cc", "pendenza"},
      {"tool/ispezione/descrizione.cc", "aderenza"},
      {"tool/ispezione/descrizione.cc", "sabbia"},
  };
  std::set<std::string> chiavi = {kMarcaGenerale};
  for (const RigaFormato& f : righe_formato())
    for (const char* p : parole(f)) chiavi.insert(p);

  namespace fs = std::filesystem;
  const fs::path radice(SB_SOURCE_DIR);
  std::map<std::string, std::set<std::string>> dove;
  for (const char* cartella : {"app", "compiler", "fuzz", "platform", "tool"}) {
    for (const auto& e : fs::recursive_directory_iterator(radice / cartella)) {
      const std::string ext = e.path().extension().string();
      if (ext != ".cc" && ext != ".h") continue;
      const std::string file = fs::relative(e.path(), radice).generic_string();
      for (const std::string& l : Letterali(Testo(file)))
        if (chiavi.count(l) != 0 && nomi_di_campi.count({file, l}) == 0) dove[l].insert(file);
    }
  }
  for (const auto& [chiave, file] : dove) {
    std::set<std::string> altri = file;
    altri.erase("compiler/lettura/formato_sorgenti.h");
    altri.erase("compiler/lettura/formato_sorgenti.cc");
    EXPECT_LE(altri.size(), 1u) << '"' << chiave << "\" is spelled in " << [&] {
      std::string s;
      for (const auto& f : altri) s += f + " ";
      return s;
    }();
  }
}

}  // namespace
