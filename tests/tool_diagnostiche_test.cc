// The authoring tool's diagnostics, as the author reads them: one case per
// family of codes and one for the warnings, each with its exact text; the
// JSON form; and the all-or-nothing writing of the compiled files.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"
#include "supporto/memory_file_system.h"
#include "tool/diagnosi/analisi.h"
#include "tool/diagnosi/distanza.h"
#include "tool/file_uscita_tool.h"
#include "tool/scrittura_atomica.h"

namespace {

constexpr char kLinea[] = "[generale]\r\nlunghezza percorso, 20000\r\n[fine]\r\n";
constexpr char kTreno[] = "[generale]\r\n";

std::unique_ptr<Analisi> Analizza(const std::string& linea, const std::string& treno) {
  return analizza("L_linea.txt", linea, "L_1-.txt", treno, "L", "1", 1);
}

struct Caso {
  const char* nome;
  std::string linea, treno, atteso;
  bool pulita = false;  // warnings only: the files would be written
};

class DiagnosticheTest : public ::testing::TestWithParam<Caso> {};

TEST_P(DiagnosticheTest, TestoEsatto) {
  const Caso& c = GetParam();
  const auto a = Analizza(c.linea, c.treno);
  EXPECT_EQ(a->testo(), c.atteso);
  EXPECT_EQ(a->pulita(), c.pulita);
}

INSTANTIATE_TEST_SUITE_P(
    Famiglie, DiagnosticheTest,
    ::testing::Values(
        // A reading code: the row being read and its position field.
        Caso{"lettura",
             "[generale]\r\nlunghezza percorso, 20000\r\n[cartelli]\r\n"
             "cartello_indicatore, 1200, (A)\r\ncartello_indicatore, 1210, (B)\r\n",
             kTreno,
             "L_linea.txt:5:22: error: text board at 1210 m falls on the cell of the text board "
             "at 1200 m (code 6)\n"
             "  cartello_indicatore, 1210, (B)\n"
             "                       ^~~~\n"},
        // A placement code in the train source, the occupant named.
        Caso{"posa", kLinea,
             "[generale]\r\n"
             "stazione,   17000, 12,  200,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, X\r\n"
             "segnale,   17000,   2, 4, 1,  1, 0,    2,  2,1,1, 0\r\n",
             "L_1-.txt:3:12: error: signal at 17000 m falls on the cell of the station at "
             "17000 m (code 16)\n"
             "  segnale,   17000,   2, 4, 1,  1, 0,    2,  2,1,1, 0\n"
             "             ^~~~~\n"},
        // The finishing pass records and carries on: both codes, in order,
        // each at the slow-down that placed the start.
        Caso{"passata", kLinea,
             "[generale]\r\nabbattimento, 9800, 270\r\nabbattimento, 9750, 270\r\n"
             "abbattimento, 9700, 270\r\nrallentamento, 10000, 120, 500, 1, 0, 0\r\n"
             "abbattimento, 14800, 270\r\nabbattimento, 14750, 270\r\n"
             "abbattimento, 14700, 270\r\nrallentamento, 15000, 120, 500, 1, 0, 0\r\n",
             "L_1-.txt:5:16: error: no room for the first of the three code cuts behind the "
             "start of the slow-down at 10000 m: the finishing pass tries the cells 5 to 7 before "
             "the start, and all three are taken: by the code cut at 9800 m, the code cut at "
             "9750 m and the code cut at 9700 m (code 12)\n"
             "  rallentamento, 10000, 120, 500, 1, 0, 0\n"
             "                 ^~~~~\n"
             "L_1-.txt:9:16: error: no room for the first of the three code cuts behind the "
             "start of the slow-down at 15000 m: the finishing pass tries the cells 5 to 7 before "
             "the start, and all three are taken: by the code cut at 14800 m, the code cut at "
             "14750 m and the code cut at 14700 m (code 12)\n"
             "  rallentamento, 15000, 120, 500, 1, 0, 0\n"
             "                 ^~~~~\n"},
        // A failed header check: what put a value into cell 1.
        Caso{"intestazione",
             "[generale]\r\nlunghezza percorso, 20000\r\n[cartelli]\r\n"
             "cartello indicatore, 0, (X)\r\n",
             kTreno,
             "L_linea.txt:4:22: error: the text board at 0 m stands on cell 1 of the track, "
             "whose first value is kept for the header of the grid and must be 0; move it "
             "further along the line (code 1250)\n"
             "  cartello indicatore, 0, (X)\n"
             "                       ^\n"},
        // A reading failure without a row of its own: the end of "[generale]".
        Caso{"senza_lunghezza", "[generale]\r\nsfondo uno, 1\r\n[pendenze]\r\npendenza, 9, 1\r\n",
             kTreno,
             "L_linea.txt:3:1: error: the \"[generale]\" section ends without a \"lunghezza "
             "percorso\" row: the track is built from the line's length, so nothing can be "
             "placed (code 25)\n"
             "  [pendenze]\n"
             "  ^~~~~~~~~~\n"},
        // Sentences that quote a keyword, the marker or a spelling.
        Caso{"nessun_generale", "lunghezza percorso, 20000\r\n", kTreno,
             "L_linea.txt:1:26: error: the line source has no \"[generale]\" row: everything up "
             "to a field holding \"[generale]\" is skipped, and none came before the end of the "
             "file (a marker on the very last line does not count) (code 102)\n"
             "  lunghezza percorso, 20000\n"
             "                           ^\n"},
        Caso{"ripetizione",
             "[generale]\r\nlunghezza percorso, 20000\r\nripetizione segnali, 0, 0\r\n[fine]\r\n",
             kTreno,
             "L_linea.txt:3:1: error: the signal repetition row must say how many codes are "
             "repeated with a \"4\" or a \"9\" in its keyword, as in \"ripetizione segnali 9 "
             "codici\" (code 5)\n"
             "  ripetizione segnali, 0, 0\n"
             "  ^~~~~~~~~~~~~~~~~~~\n"},
        Caso{"curva",
             "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\ncurvad, 100, 50\r\n[fine]\r\n",
             kTreno,
             "L_linea.txt:4:1: error: the curve keyword \"curvad\" gives no sharpness: it must "
             "hold one of the digits 1 to 6, as in \"curvad3\" (code 103)\n"
             "  curvad, 100, 50\n"
             "  ^~~~~~\n"},
        // A number too wide for its field, and the field at fault.
        Caso{"larghezza", kLinea,
             "[generale]\r\nstazione, 4000, 300, 600, 0, 0, 0, 0,0,0, 4,1,1, 0, 0,0,0, A\r\n",
             "L_1-.txt:2:17: error: \"300\" does not fit its field, which holds 0 to 255 "
             "(code 25)\n"
             "  stazione, 4000, 300, 600, 0, 0, 0, 0,0,0, 4,1,1, 0, 0,0,0, A\n"
             "                  ^~~\n"},
        // Warnings do not fail a compile. The run-on row reads the next
        // row's keyword as its number, and that row's own numbers are left
        // over; the "AC" of a code cut is no warning.
        Caso{"avvisi",
             "[generale]\r\nlunghezza percorso, 20000\r\n[pendenze]\r\npendneza, 950, -12\r\n"
             "pendenza, 1o00, 3\r\npendenza, 2000\r\npendenza, 3000, 2\r\n[pendenze]\r\n"
             "[fine]\r\nmontagna, 100, 200, 1\r\n",
             "[generale]\r\nabbattimento, 5000, AC\r\n",
             "L_linea.txt:4:1: warning: \"pendneza\" is not a keyword of the line source after "
             "\"[generale]\"; the row is ignored (did you mean \"pendenza\"?)\n"
             "  pendneza, 950, -12\n"
             "  ^~~~~~~~\n"
             "  pendenza\n"
             "L_linea.txt:5:11: warning: \"1o00\" is not a number and reads as 0: the gradient "
             "row gets 0 for its position p (a letter O for a zero? did you mean \"1000\"?)\n"
             "  pendenza, 1o00, 3\n"
             "            ^~~~\n"
             "            1000\n"
             "L_linea.txt:6:1: warning: the gradient row ends after 1 of its 2 fields: the "
             "reader takes the rest from line 7, its keyword \"pendenza\" among them, so the "
             "gradient at 3000 m on line 7 is not placed\n"
             "  pendenza, 2000\n"
             "  ^~~~~~~~\n"
             "L_linea.txt:7:1: note: the gradient row whose keyword is swallowed\n"
             "  pendenza, 3000, 2\n"
             "  ^~~~~~~~\n"
             "L_linea.txt:7:1: warning: \"pendenza\" is not a number and reads as 0: the "
             "gradient at 2000 m gets 0 for its gradient g\n"
             "  pendenza, 3000, 2\n"
             "  ^~~~~~~~\n"
             "L_linea.txt:7:11: warning: field \"3000\" is left over after the gradient row and "
             "is ignored\n"
             "  pendenza, 3000, 2\n"
             "            ^~~~\n"
             "L_linea.txt:8:1: warning: section \"[pendenze]\" occurs a second time (first at "
             "line 3)\n"
             "  [pendenze]\n"
             "  ^~~~~~~~~~\n"
             "L_linea.txt:10:1: warning: rows after \"[fine]\" are still read: the reader goes "
             "on to the end of the file\n"
             "  montagna, 100, 200, 1\n"
             "  ^~~~~~~~\n",
             true}),
    [](const auto& info) { return std::string(info.param.nome); });

// The distance behind "did you mean": swaps of adjacent letters count once,
// and rows of different lengths on either side.
TEST(DistanzaTest, ModificheEScambi) {
  EXPECT_EQ(distanza("pendneza", "pendenza"), 1u);
  EXPECT_EQ(distanza("", "curva"), 5u);
  EXPECT_EQ(distanza("segnale", ""), 7u);
  EXPECT_EQ(distanza("kitten", "sitting"), 3u);
  EXPECT_EQ(distanza("ca", "abc"), 3u);  // no edit of a swapped pair
  EXPECT_EQ(distanza("abcdef", "badcfe"), 3u);
  EXPECT_EQ(distanza("montagna", "montagna"), 0u);
  // Above a limit, the limit plus one, however far above.
  EXPECT_EQ(distanza("kitten", "sitting", 3), 3u);
  EXPECT_EQ(distanza("kitten", "sitting", 2), 3u);
  EXPECT_EQ(distanza("segnale", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 1), 2u);
  EXPECT_EQ(distanza("abcdef", "badcfe", 3), 3u);
}

TEST(DiagnosticheJsonTest, OggettoConStatoFinaleEDiagnostiche) {
  const auto a = Analizza("[generale]\r\nlunghezza percorso, 20000\r\n[x]\r\npendneza, 1, 2\r\n",
                          "[generale]\r\nsegnale, 30000, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0\r\n");
  const auto j = nlohmann::json::parse(a->json());
  EXPECT_EQ(j["codice_errore"], 15);
  EXPECT_EQ(j["posizione_errore"], 30000);
  ASSERT_EQ(j["diagnostics"].size(), 2u);
  const auto& w = j["diagnostics"][0];
  EXPECT_EQ(w["severity"], "warning");
  EXPECT_TRUE(w["code"].is_null());
  EXPECT_EQ(w["file"], "L_linea.txt");
  EXPECT_EQ(w["line"], 4);
  EXPECT_EQ(w["column"], 1);
  EXPECT_TRUE(w["position_m"].is_null());
  const auto& e = j["diagnostics"][1];
  EXPECT_EQ(e["severity"], "error");
  EXPECT_EQ(e["code"], 15);
  EXPECT_EQ(e["file"], "L_1-.txt");
  EXPECT_EQ(e["line"], 2);
  EXPECT_EQ(e["column"], 10);
  EXPECT_EQ(e["position_m"], 30000);
  EXPECT_EQ(std::string(e["message"]).rfind("signal at 30000 m lies beyond the end", 0), 0u);

  const auto pulita = nlohmann::json::parse(Analizza(kLinea, kTreno)->json());
  EXPECT_EQ(pulita["codice_errore"], 0);
  EXPECT_EQ(pulita["posizione_errore"], 0);
  EXPECT_TRUE(pulita["diagnostics"].empty());
}

// Three files already in a directory, and a new content for each.
class ScritturaInsiemeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* n : {"a", "b", "c"}) {
      fs.files[n] = std::string("old ") + n;
      nuovi.push_back({n, std::string("new ") + n});
    }
  }
  void AttesiVecchi() {
    EXPECT_EQ(fs.files,
              (std::map<std::string, std::string>{{"a", "old a"}, {"b", "old b"}, {"c", "old c"}}));
  }
  MemoryFileSystem fs;
  std::vector<FileDaScrivere> nuovi;
};

TEST_F(ScritturaInsiemeTest, TuttiONessuno) {
  ASSERT_TRUE(scrivi_insieme(fs, nuovi).ok());
  EXPECT_EQ(fs.files,
            (std::map<std::string, std::string>{{"a", "new a"}, {"b", "new b"}, {"c", "new c"}}));
}

TEST_F(ScritturaInsiemeTest, UnGuastoAMetaLasciaIVecchi) {
  // Each step of the second file fails in turn: writing it beside its name,
  // moving the old one aside, giving the new one its name.
  const std::pair<MemoryFileSystem::Op, std::string> guasti[] = {
      {MemoryFileSystem::Op::kCreate, std::string("b") + kSuffissoNuovo},
      {MemoryFileSystem::Op::kRename, "b"},
      {MemoryFileSystem::Op::kRename, std::string("b") + kSuffissoNuovo},
  };
  for (const auto& [op, path] : guasti) {
    SCOPED_TRACE(path);
    fs = MemoryFileSystem();
    for (const char* n : {"a", "b", "c"}) fs.files[n] = std::string("old ") + n;
    fs.Fail(op, path);
    const Status s = scrivi_insieme(fs, nuovi);
    EXPECT_FALSE(s.ok());
    AttesiVecchi();
  }
}

// The compiled files take their names all together or not at all: a
// failure to write the second leaves no temporary and the old files as they
// were.
TEST(FileCompilatiTest, TuttiONessuno) {
  const auto a = analizza("L_linea.txt", kLinea, "L_1-.txt", kTreno, "L", "1", 1);
  ASSERT_TRUE(a->pulita());
  const std::string tabella = JoinPath("out", "L_linea.dat"), sim = JoinPath("out", "L_1.sim");
  const std::string griglia = JoinPath("out", "L_1.dat");

  MemoryFileSystem fs;
  ASSERT_TRUE(scrivi_file_compilati(fs, "out", a->compilazione->tabelle).ok());
  EXPECT_EQ(fs.files.size(), 3u);
  for (const std::string& f : {tabella, sim, griglia}) EXPECT_EQ(fs.files.count(f), 1u) << f;

  MemoryFileSystem guasto;
  guasto.files[sim] = "old";
  guasto.Fail(MemoryFileSystem::Op::kCreate, sim + kSuffissoNuovo);
  EXPECT_FALSE(scrivi_file_compilati(guasto, "out", a->compilazione->tabelle).ok());
  EXPECT_EQ(guasto.files, (std::map<std::string, std::string>{{sim, "old"}}));
}

// Compiles in a row that lend each other the memory of the grid and the line
// table: a short line after a long one gets the same files and diagnostics
// as when compiled on fresh tables, nothing of the long one left in them.
TEST(CompilazioneTest, LaMemoriaPrestataNonPortaNullaAllaSeguente) {
  const std::string lunga = "[generale]\r\nlunghezza percorso, 30000\r\n[x]\r\npendenza, 100, 9\r\n"
                            "curvad2, 500, 900\r\n[fine]\r\n";
  const std::string corta = "[generale]\r\nlunghezza percorso, 3000\r\n[fine]\r\n";
  const std::string treno = "[generale]\r\nsegnale, 30000, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0\r\n";
  auto compila = [&](const std::string& linea, Tabelle* memoria, MemoryFileSystem* fs) {
    auto a = analizza("L_linea.txt", linea, "L_1-.txt", treno, "L", "1", 1, memoria);
    const std::string testo = a->testo();
    EXPECT_TRUE(scrivi_file_compilati(*fs, "out", a->compilazione->tabelle).ok());
    if (memoria != nullptr) riprendi_memoria(*a->compilazione, memoria);
    return testo;
  };
  Tabelle memoria;
  MemoryFileSystem prima, dopo, fresca;
  EXPECT_EQ(compila(lunga, &memoria, &prima), compila(lunga, nullptr, &fresca));
  EXPECT_GT(memoria.percorso.capacity(), 0u);  // the memory came back
  fresca = MemoryFileSystem();
  EXPECT_EQ(compila(corta, &memoria, &dopo), compila(corta, nullptr, &fresca));
  EXPECT_EQ(dopo.files, fresca.files);
  EXPECT_EQ(dopo.files.size(), 3u);
}

// Diagnostics without the plan of the line: the curve rows still read and
// checked, every code and warning the same as with the plan, the grid the
// same (so the train's files), and no line table built. On the built-in line and on the line seeds
// of the fuzz corpus, which reach the curve codes.
TEST(CompilazioneTest, SenzaIlPianoLeStesseDiagnostiche) {
  const std::string treno = SorgenteTrenoIncorporata();
  std::vector<std::string> linee = {SorgenteLineaIncorporata()};
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(SB_SOURCE_DIR) /
                                                           "fuzz/seeds/linea"))
    if (e.path().extension() == ".txt") linee.push_back(ReadFileBytes(e.path()));
  ASSERT_GT(linee.size(), 30u);
  for (const std::string& linea : linee) {
    const auto con = analizza("L_linea.txt", linea, "L_1-.txt", treno, "L", "1", 1);
    const auto senza =
        analizza("L_linea.txt", linea, "L_1-.txt", treno, "L", "1", 1, nullptr, true);
    EXPECT_EQ(con->testo(), senza->testo());
    const Tabelle &a = con->compilazione->tabelle, &b = senza->compilazione->tabelle;
    EXPECT_EQ(a.codice_errore, b.codice_errore);
    EXPECT_EQ(a.posizione_errore, b.posizione_errore);
    EXPECT_EQ(b.tabella_linea.size(), 0u);
    if (!con->pulita()) continue;
    // The grid and the stations: the train's files are the same.
    MemoryFileSystem fa, fb;
    ASSERT_TRUE(scrivi_file_compilati(fa, "out", a).ok());
    ASSERT_TRUE(scrivi_file_compilati(fb, "out", b).ok());
    fa.files.erase(JoinPath("out", "L_linea.dat"));
    fb.files.erase(JoinPath("out", "L_linea.dat"));
    EXPECT_EQ(fa.files, fb.files);
  }
}

}  // namespace
