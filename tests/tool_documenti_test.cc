// The driver's documents of an author's scenario: the built-in sources
// against the built-in timetable sheet, a small scenario of our own pinned
// as reference files (tests/data/documenti), and what is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/executable_dir.h"
#include "sources/documenti.h"
#include "sources/windows1252.h"
#include "support/righe_testo.h"
#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"
#include "tool/diagnosi/analisi.h"
#include "tool/documenti/documenti_autore.h"

namespace {

namespace fs = std::filesystem;

const std::vector<size_t> kBarreScheda = {1, 7, 13, 24, 30, 59, 76, 82};
const std::vector<size_t> kBarreOrdini = {1, 5, 34, 47, 58, 68, 81};
const std::u16string kRegoloScheda =
    u" |_____|_____|__________|_____|____________________________|________________|_____|";
const std::u16string kRegoloOrdini =
    u" |___|____________________________|____________|__________|_________|____________|";

// The rows of a written document, Windows-1252 decoded.
std::vector<std::u16string> RigheDi(const std::string& byte) {
  std::vector<std::u16string> righe;
  size_t inizio = 0;
  for (size_t p = byte.find("\r\n"); p != std::string::npos; p = byte.find("\r\n", inizio)) {
    std::u16string r;
    for (size_t i = inizio; i < p; ++i)
      r.push_back(Windows1252Char(static_cast<unsigned char>(byte[i])));
    righe.push_back(r);
    inizio = p + 2;
  }
  EXPECT_EQ(inizio, byte.size()) << "the last row has no CR LF";
  return righe;
}

// The rows of a grid: after the first `regolo` (its heading rule) up to
// the next one (its bottom rule).
std::vector<std::u16string> Griglia(const std::vector<std::u16string>& righe,
                                    const std::u16string& regolo) {
  auto inizio = std::find(righe.begin(), righe.end(), regolo);
  EXPECT_NE(inizio, righe.end());
  if (inizio == righe.end()) return {};
  auto fine = std::find(inizio + 1, righe.end(), regolo);
  EXPECT_NE(fine, righe.end());
  return {inizio + 1, fine};
}

void VerificaColonne(const std::vector<std::u16string>& griglia, const std::vector<size_t>& barre,
                     size_t larghezza) {
  for (const std::u16string& r : griglia) {
    EXPECT_EQ(r.size(), larghezza) << std::string(r.begin(), r.end());
    EXPECT_EQ(Barre(r), barre) << std::string(r.begin(), r.end());
  }
}

std::u16string Cella(const std::u16string& riga, size_t da, size_t a) {
  std::u16string c = riga.substr(da, a - da);
  while (!c.empty() && c.back() == u' ') c.pop_back();
  while (!c.empty() && c.front() == u' ') c.erase(0, 1);
  for (char16_t& x : c)
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - u'a' + u'A');
  return c;
}

DocumentiAutore Documenti(const std::string& linea, const std::string& treno) {
  const auto a = analizza("L_linea.txt", linea, "L_1-.txt", treno, "L", "1", 1);
  EXPECT_TRUE(a->pulita()) << a->testo();
  OpzioniScheda o;
  o.treno = u"1";
  return documenti_autore(*a, "L", "1", o);
}

// The built-in sheet carries what the sources do not hold: rows for the
// switches, speed boards and kilometre posts between stations, the junctions
// named as the driver knows them ("Primo Bivio ORTE SUD" for the row "BIVIO
// ORTE SUD"), and the rows on the slow line measured by that line's own
// kilometre markings, where the sources give positions along the line. So
// the rows compared are the stations both list under one name: their order
// and their kilometres agree.
TEST(DocumentiTest, SorgentiIncorporateComeLaSchedaIncorporata) {
  const DocumentiAutore d = Documenti(SorgenteLineaIncorporata(), SorgenteTrenoIncorporata());
  ASSERT_TRUE(d.problemi.empty());
  ASSERT_EQ(d.documenti.size(), 2u);
  const auto nostra = Griglia(RigheDi(d.documenti[0].byte), kRegoloScheda);
  VerificaColonne(nostra, kBarreScheda, 83);
  EXPECT_EQ(nostra.size(), 20u);  // the twenty station rows
  std::string incorporata;
  ASSERT_TRUE(CodificaRighe(righe_scheda("58121"), &incorporata).ok());
  const auto sua = Griglia(RigheDi(incorporata), kRegoloScheda);

  const std::u16string comuni[] = {u"LAVRANO CENTRALE",
                                   u"LAVRANO FLAVIA",
                                   u"P.C. CAPENA",
                                   u"P.M. S.ORESTE",
                                   u"P.C. GALLESE",
                                   u"P.C. BASSANO",
                                   u"P.C. CIVITELLA D'AGLIANO",
                                   u"P.C. ALLERONA"};
  size_t dopo_nostra = 0, dopo_sua = 0;
  for (const std::u16string& nome : comuni) {
    auto trova = [&](const std::vector<std::u16string>& g, size_t da) {
      for (size_t i = da; i < g.size(); ++i)
        if (Cella(g[i], 31, 59) == nome) return i;
      return g.size();
    };
    const size_t i = trova(nostra, dopo_nostra), k = trova(sua, dopo_sua);
    ASSERT_LT(i, nostra.size()) << std::string(nome.begin(), nome.end());
    ASSERT_LT(k, sua.size()) << std::string(nome.begin(), nome.end());
    EXPECT_EQ(nostra[i].substr(13, 11), sua[k].substr(13, 11))
        << std::string(nome.begin(), nome.end());
    dopo_nostra = i + 1;
    dopo_sua = k + 1;
  }
}

fs::path Dati() { return fs::path(SB_SOURCE_DIR) / "tests" / "data" / "documenti"; }

constexpr char kLineaValdora[] = "Valdora_linea.txt";
constexpr char kTrenoValdora[] = "Valdora_4711-.txt";
constexpr char kScheda[] = "Valdora_4711_scheda_treno.txt";
constexpr char kOrdini[] = "Valdora_4711_rallentamenti.txt";

// Valdora: four stations (a name 27 characters long, the cell's width; one
// with a letter of the code page's upper half; a stop at 08:06:45), speed
// limits that change before and at stations, and two slow-downs given out
// of order, the second one lying within the first and within a station.
TEST(DocumentiTest, ScenarioDiProvaComeIFileDiRiferimento) {
  TempDir uscita;
  const fs::path dir = uscita.path() / "nuova" / "cartella";  // made by the command
  const RunResult r =
      RunToolIn(Dati(), {"documents", kLineaValdora, kTrenoValdora, "-o", dir.string(),
                         "--classificazione", "Regionale", "--massa-bloccata", "180 t"});
  ASSERT_EQ(r.exit_status, 0) << r.err;
  // The one warning is the check's word on the slow-down within the other.
  EXPECT_EQ(r.err.find("error"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.rfind("Valdora_4711-.txt:11:17: warning: the slow-down at 3000 m, to 6000 m, "
                        "has the end of the slow-down at 4050 m",
                        0),
            0u)
      << r.err;
  // The paths written, as the writer joined them (Windows ends each line
  // with a CR LF on the console).
  std::string stampati = r.out;
  std::erase(stampati, '\r');
  EXPECT_EQ(stampati,
            JoinPath(dir.string(), kScheda) + "\n" + JoinPath(dir.string(), kOrdini) + "\n");
  const auto scritti = DirectoryFiles(dir);
  ASSERT_EQ(scritti.size(), 2u);
  EXPECT_TRUE(scritti.at(kScheda) == ReadFileBytes(Dati() / kScheda));
  EXPECT_TRUE(scritti.at(kOrdini) == ReadFileBytes(Dati() / kOrdini));

  const auto scheda = RigheDi(scritti.at(kScheda));
  VerificaColonne(Griglia(scheda, kRegoloScheda), kBarreScheda, 83);
  const auto ordini = RigheDi(scritti.at(kOrdini));
  VerificaColonne(Griglia(ordini, kRegoloOrdini), kBarreOrdini, 82);
  EXPECT_EQ(Griglia(ordini, kRegoloOrdini).size(), 26u);

  // compile --documents writes them beside the compiled files, alike.
  TempDir compilati;
  const RunResult c = RunToolIn(
      Dati(), {"compile", kLineaValdora, kTrenoValdora, "-o", compilati.path().string(),
               "--documents", "--classificazione", "Regionale", "--massa-bloccata", "180 t"});
  ASSERT_EQ(c.exit_status, 0) << c.err;
  const auto tutti = DirectoryFiles(compilati.path());
  EXPECT_EQ(tutti.size(), 5u);
  EXPECT_TRUE(tutti.at(kScheda) == scritti.at(kScheda));
  EXPECT_TRUE(tutti.at(kOrdini) == scritti.at(kOrdini));
}

// A name the documents cannot show is refused at its row, and nothing at
// all is written: neither the documents nor, with compile, the compiled
// files.
TEST(DocumentiTest, NomeFuoriDalCodiceRifiutatoAllaSuaRiga) {
  TempDir sorgenti, uscita;
  std::string treno = ReadFileBytes(Dati() / kTrenoValdora);
  const size_t p = treno.find("VALDORA MARINA");
  ASSERT_NE(p, std::string::npos);
  treno.replace(p, 7,
                "\xC5\x81"
                "ODZ");  // saved as UTF-8: a letter outside Windows-1252
  WriteFileBytes(sorgenti.path() / kTrenoValdora, treno);
  fs::copy_file(Dati() / kLineaValdora, sorgenti.path() / kLineaValdora);

  const fs::path dir = uscita.path() / "documenti";
  const RunResult r =
      RunToolIn(sorgenti.path(), {"documents", kLineaValdora, kTrenoValdora, "-o", dir.string()});
  EXPECT_EQ(r.exit_status, 1);
  // After the check's own warning that the name looks like UTF-8.
  EXPECT_NE(r.err.find("\nValdora_4711-.txt:20:73: error: this station name cannot go into the "
                       "driver's documents: U+0141, a letter outside Windows-1252"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(dir));
  const RunResult c = RunToolIn(sorgenti.path(), {"compile", kLineaValdora, kTrenoValdora, "-o",
                                                  uscita.path().string(), "--documents"});
  EXPECT_EQ(c.exit_status, 1);
  EXPECT_TRUE(DirectoryFiles(uscita.path()).empty());

  // Letters of the code page saved as UTF-8 would be printed as two others
  // each; a byte the code page leaves without a letter, or a control
  // character, has nothing to print.
  for (const char* nome : {"CITT\xC3\x80",
                           "A\x81"
                           "B",
                           "A\tB"}) {
    const std::string linea = "[generale]\r\nlunghezza percorso, 20000\r\n[fine]\r\n";
    const DocumentiAutore d = Documenti(
        linea,
        std::string("[generale]\r\nstazione, 1000, 25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, ") +
            nome + "\r\n");
    ASSERT_EQ(d.problemi.size(), 1u) << nome;
    EXPECT_EQ(d.problemi[0].inizio,
              std::string("[generale]\r\nstazione, 1000, 25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, ")
                  .size());
    EXPECT_TRUE(d.documenti.empty());
  }
}

// Sources with a code give no documents: compile --keep-going writes its
// three files and says the documents are not written. Options the sheet
// cannot hold are bad usage, refused before anything is compiled.
TEST(DocumentiTest, SorgentiConProblemiEOpzioniRifiutate) {
  TempDir sorgenti, uscita;
  fs::copy_file(Dati() / kLineaValdora, sorgenti.path() / kLineaValdora);
  WriteFileBytes(sorgenti.path() / kTrenoValdora,
                 ReadFileBytes(Dati() / kTrenoValdora) +
                     "segnale, 4050, 2, 4, 1, 1, 0, 2, 2,1,1, 0\r\n");  // on a slow-down: 16
  const RunResult c =
      RunToolIn(sorgenti.path(), {"compile", kLineaValdora, kTrenoValdora, "-o",
                                  uscita.path().string(), "--documents", "--keep-going"});
  EXPECT_EQ(c.exit_status, 1);
  EXPECT_NE(c.err.find("(code 16)"), std::string::npos) << c.err;
  EXPECT_NE(c.err.find("driver's documents are written only from sources without problems"),
            std::string::npos)
      << c.err;
  const auto scritti = DirectoryFiles(uscita.path());
  EXPECT_EQ(scritti.size(), 3u);
  EXPECT_EQ(scritti.count(kScheda), 0u);

  // The same account as JSON, for scripts; the directory -o named is not
  // left behind when nothing is written.
  const fs::path json_dir = uscita.path() / "json";
  const RunResult j =
      RunToolIn(sorgenti.path(), {"documents", kLineaValdora, kTrenoValdora, "-o",
                                  json_dir.string(), "--diagnostics-format", "json"});
  EXPECT_EQ(j.exit_status, 1);
  EXPECT_EQ(j.out.rfind("{", 0), 0u) << j.out;
  EXPECT_NE(j.out.find("\"code\": 16"), std::string::npos) << j.out;
  EXPECT_EQ(j.err.find("(code 16)"), std::string::npos) << j.err;
  EXPECT_FALSE(fs::exists(json_dir));

  const fs::path dir = uscita.path() / "d";
  for (const std::vector<std::string>& opzioni :
       {std::vector<std::string>{"--classificazione", "PI\xC3\xB9 DI DICIANNOVE CARATTERI"},
        std::vector<std::string>{"--massa-bloccata", "\xC5\x81"},
        std::vector<std::string>{"--number", "123456789012"}}) {
    std::vector<std::string> args = {"documents", kLineaValdora, kTrenoValdora, "-o", dir.string()};
    args.insert(args.end(), opzioni.begin(), opzioni.end());
    const RunResult r = RunToolIn(Dati(), args);
    EXPECT_EQ(r.exit_status, 2) << opzioni[0];
    EXPECT_NE(r.err.find("scenario_tool documents: the "), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir));
}

// A timetable longer than the built-in one adds rows, as does a form with
// more orders than its 26 rows; long names are cut at the cell's end.
TEST(DocumentiTest, OrarioLungoAggiungeRighe) {
  std::string treno = "[generale]\r\n";
  for (int i = 0; i < 40; ++i)
    treno += "stazione, " + std::to_string(4000 * i + 1000) +
             ", 25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, STAZIONE " + std::to_string(i) +
             " DAL NOME TROPPO LUNGO PER LA SUA CELLA\r\n";
  for (int i = 1; i <= 30; ++i)
    treno += "rallentamento, " + std::to_string(4000 * i + 3000) + ", 30, 500, 0, 0, 0\r\n";
  const DocumentiAutore d =
      Documenti("[generale]\r\nlunghezza percorso, 170000\r\n[fine]\r\n", treno);
  ASSERT_TRUE(d.problemi.empty());
  const auto scheda = Griglia(RigheDi(d.documenti[0].byte), kRegoloScheda);
  ASSERT_EQ(scheda.size(), 40u);
  VerificaColonne(scheda, kBarreScheda, 83);
  EXPECT_EQ(scheda[39].substr(30, 30), u"| STAZIONE 39 DAL NOME TROPPO|");
  const auto ordini = Griglia(RigheDi(d.documenti[1].byte), kRegoloOrdini);
  EXPECT_GE(ordini.size(), 30u);
  VerificaColonne(ordini, kBarreOrdini, 82);
}

}  // namespace
