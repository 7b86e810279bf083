// Formatting a source aligns its fields and nothing else: what the sources
// compile to, and every diagnostic of them, stay the same, on the built-in
// sources and on every seed of the fuzz corpus (which hold the odd spacing,
// tabs, quotes, comments and run-on rows authors write).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"
#include "supporto/fuzz_compila.h"
#include "tool/diagnosi/analisi.h"
#include "tool/lsp/formattazione.h"
#include "tool/lsp/righe.h"

namespace {

namespace fs = std::filesystem;

// All a compile of the pair leaves behind (a source it stops on stays, by
// name), and the check's account of it (without columns, which the new
// blanks move).
std::string Esito(const std::string& linea, const std::string& treno) {
  CompilazioneInMemoria c;
  CompilaInMemoria(linea, treno, &c);
  std::string s = std::to_string(static_cast<int>(c.esito.tipo)) + " " +
                  std::to_string(c.esito.numero) + " " + std::to_string(c.tabelle.codice_errore) +
                  " " + std::to_string(c.tabelle.posizione_errore) + "\n";
  for (const auto& [nome, dati] : c.fs.files)
    s += nome + "\n" + (nome.ends_with(".txt") ? std::string() : dati) + "\n";
  const auto a = analizza("Lavrano_Cestelle_linea.txt", linea, "Lavrano_Cestelle_58121-.txt", treno,
                          "Lavrano_Cestelle", "58121", 1);
  for (const Diagnostica& d : a->diagnostiche)
    s += std::to_string(d.codice.value_or(-1)) + " " + std::to_string(d.sorgente) + ":" +
         std::to_string(a->sorgenti[d.sorgente]->riga(d.inizio)) + " " + d.messaggio + "\n";
  return s;
}

// The lines of a text with their line ends.
std::vector<std::string> Linee(const std::string& t) {
  std::vector<std::string> out(1);
  for (size_t i = 0; i < t.size(); ++i) {
    out.back() += t[i];
    const bool crlf = t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n';
    if ((t[i] == '\r' && !crlf) || t[i] == '\n') out.emplace_back();
  }
  return out;
}

std::string SenzaBlank(std::string s) {
  std::erase_if(s, [](char c) { return c == ' ' || c == '\t'; });
  return s;
}

// Formats one source and checks what must hold of any text: only blanks
// of rows that are not comments change, and a second pass changes nothing.
std::string Formatta(const std::string& testo, int sorgente) {
  const std::vector<RigaAllineata> righe = allinea_colonne(testo, sorgente);
  const std::string nuovo = applica(testo, righe);
  // The runs of blanks, applied from the last, make the same text.
  std::string a_pezzi = testo;
  for (auto r = righe.rbegin(); r != righe.rend(); ++r)
    for (auto b = r->blank.rbegin(); b != r->blank.rend(); ++b)
      a_pezzi.replace(b->inizio, b->fine - b->inizio, std::string(b->spazi, ' '));
  EXPECT_EQ(a_pezzi, nuovo);
  EXPECT_TRUE(allinea_colonne(nuovo, sorgente).empty()) << nuovo;
  const std::vector<std::string> prima = Linee(testo), dopo = Linee(nuovo);
  EXPECT_EQ(prima.size(), dopo.size());
  for (size_t i = 0; i < prima.size() && i < dopo.size(); ++i) {
    if (prima[i] == dopo[i]) continue;
    EXPECT_FALSE(e_commento(prima[i]) || e_marca(prima[i])) << prima[i];
    EXPECT_EQ(SenzaBlank(prima[i]), SenzaBlank(dopo[i]));
    EXPECT_EQ(prima[i].find('"'), std::string::npos) << prima[i];
  }
  return nuovo;
}

void CompilaUguale(const std::string& linea, const std::string& treno) {
  const std::string l = Formatta(linea, 0), t = Formatta(treno, 1);
  const std::string prima = Esito(linea, treno), dopo = Esito(l, t);
  size_t i = 0;
  while (i < prima.size() && i < dopo.size() && prima[i] == dopo[i]) ++i;
  EXPECT_EQ(prima.size(), dopo.size());
  EXPECT_EQ(i, prima.size()) << "first difference: " << prima.substr(i, 80)
                             << "\nnow: " << dopo.substr(i, 80);
}

TEST(LspFormattazioneTest, SorgentiIncorporate) {
  const std::string linea = SorgenteLineaIncorporata(), treno = SorgenteTrenoIncorporata();
  CompilaUguale(linea, treno);
  // Not a vacuous pass: the built-in rows are realigned.
  EXPECT_FALSE(allinea_colonne(linea, 0).empty());
  EXPECT_FALSE(allinea_colonne(treno, 1).empty());
}

TEST(LspFormattazioneTest, SemiDelFuzz) {
  int semi = 0;
  for (const char* cartella : {"linea", "treno", "entrambi"}) {
    for (const auto& e :
         fs::directory_iterator(fs::path(SB_SOURCE_DIR) / "fuzz/seeds" / cartella)) {
      if (!e.is_regular_file() || e.path().filename() == ".keep") continue;
      SCOPED_TRACE(e.path().string());
      const std::string seme = ReadFileBytes(e.path());
      const std::string_view cosa = cartella;
      if (cosa == "linea") {
        CompilaUguale(seme, SorgenteTrenoIncorporata());
      } else if (cosa == "treno") {
        CompilaUguale(LineaDelTreno(), seme);
      } else {
        std::string_view linea, treno;
        DividiIngresso(seme, &linea, &treno);
        CompilaUguale(std::string(linea), std::string(treno));
      }
      ++semi;
    }
  }
  EXPECT_GT(semi, 80);
}

TEST(LspFormattazioneTest, ColonneECasiDelicati) {
  // Fields start at one column per section, numbers right-aligned; the
  // blanks a field keeps before its comma, a quoted text and the lines it
  // may span, comments, free text and the line ends stay as they were.
  const std::string t =
      "testo libero,   qui\r\n"
      "[generale]\r\n"
      "lunghezza percorso,3000\r\n"
      "[cartelli]\r\n"
      "pendenza  ,\t950, -12\n"
      "montagna, 1000,1600,11\r"
      "- nota,    libera\r\n"
      "Nota libera,  qui\r\n"
      "pendenza, 5,   \r\n"
      "[indicazioni]\r\n"
      "cartello_indicatore, 1200,   ( DOPPIO ) \r\n"
      "cartello_indicatore, 1800, \"(A,\r\n"
      "B)\"\r\n";
  EXPECT_EQ(Formatta(t, 0),
            "testo libero,   qui\r\n"
            "[generale]\r\n"
            "lunghezza percorso, 3000\r\n"
            "[cartelli]\r\n"
            "pendenza  ,  950,  -12\n"
            "montagna,   1000, 1600, 11\r"
            "- nota,    libera\r\n"
            "Nota libera,  qui\r\n"
            "pendenza,      5,   \r\n"
            "[indicazioni]\r\n"
            "cartello_indicatore, 1200, ( DOPPIO ) \r\n"
            "cartello_indicatore, 1800, \"(A,\r\n"
            "B)\"\r\n");
}

}  // namespace
