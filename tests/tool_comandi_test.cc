// scenario_tool as an author runs it: export, edit, check, compile. The
// compiled files must be the builder's, byte for byte; the author's sources
// are never touched; a failed compile leaves the directory as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/executable_dir.h"
#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"
#include "tool/scrittura_atomica.h"

namespace {

namespace fs = std::filesystem;

constexpr char kLinea[] = "Lavrano_Cestelle_linea.txt";
constexpr char kTreno[] = "Lavrano_Cestelle_58121-.txt";
const char* const kCompilati[] = {"Lavrano_Cestelle_linea.dat", "Lavrano_Cestelle_58121.sim",
                                  "Lavrano_Cestelle_58121.dat"};

// A signal on the cell of the text board at 6800 m: code 16.
std::string TrenoConConflitto() {
  return SorgenteTrenoIncorporata() + "segnale, 6800, 2, 4, 1, 1, 0, 2, 2,1,1, 0\r\n";
}

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(sorgenti.path() / kLinea, SorgenteLineaIncorporata());
    WriteFileBytes(sorgenti.path() / kTreno, SorgenteTrenoIncorporata());
  }
  RunResult Compila(std::vector<std::string> altro = {}) {
    std::vector<std::string> args = {"compile", kLinea, kTreno, "-o", uscita.path().string()};
    args.insert(args.end(), altro.begin(), altro.end());
    return RunToolIn(sorgenti.path(), args);
  }
  TempDir sorgenti, uscita;
};

TEST_F(ToolTest, ExportPoiCompileDaIFileDelBuilder) {
  TempDir builder, esportati;
  ASSERT_EQ(RunBuilderIn(builder.path()).exit_status, 0);
  const auto del_builder = DirectoryFiles(builder.path());

  const RunResult e = RunToolIn(esportati.path(), {"export"});
  ASSERT_EQ(e.exit_status, 0) << e.err;
  auto attesi = del_builder;
  for (const char* n : kCompilati) attesi.erase(n);
  attesi[kLinea] = SorgenteLineaIncorporata();
  attesi[kTreno] = SorgenteTrenoIncorporata();
  const auto esportato = DirectoryFiles(esportati.path());
  EXPECT_EQ(esportato, attesi);
  // Each file written is named on standard output, the line source first.
  EXPECT_EQ(e.out.rfind(JoinPath(".", kLinea), 0), 0u) << e.out;
  EXPECT_EQ(std::count(e.out.begin(), e.out.end(), '\n'), 5) << e.out;

  // The built-in sources check with their one warning (the overlapping
  // curves) and the summary; --quiet leaves the summary out, --strict fails
  // on the warning.
  const std::string riassunto =
      "Lavrano_Cestelle: 176.0 km, 20 stations (9 stops), 50 signals, 0 slow-downs, 17 text "
      "boards, 19 tunnels; 0 errors, 1 warning\n";
  // Standard error is text: on Windows its lines end in CR LF.
  auto senza_cr = [](std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
    return s;
  };
  const RunResult c = RunToolIn(esportati.path(), {"check", kLinea, kTreno});
  EXPECT_EQ(c.exit_status, 0);
  const std::string err = senza_cr(c.err);
  ASSERT_GT(err.size(), riassunto.size());
  EXPECT_EQ(err.substr(err.size() - riassunto.size()), riassunto);
  const RunResult zitto = RunToolIn(esportati.path(), {"check", kLinea, kTreno, "--quiet"});
  EXPECT_EQ(senza_cr(zitto.err), err.substr(0, err.size() - riassunto.size()));
  EXPECT_EQ(RunToolIn(esportati.path(), {"check", kLinea, kTreno, "--strict"}).exit_status, 1);
  const fs::path annidata = uscita.path() / "a" / "b";
  const RunResult rigoroso = RunToolIn(
      esportati.path(), {"compile", kLinea, kTreno, "--strict", "-o", annidata.string()});
  EXPECT_EQ(rigoroso.exit_status, 1);
  EXPECT_FALSE(fs::exists(uscita.path() / "a")) << "nothing written, no folder left";
  // -o makes the folder and its parents.
  const RunResult k =
      RunToolIn(esportati.path(), {"compile", kLinea, kTreno, "-o", annidata.string()});
  ASSERT_EQ(k.exit_status, 0) << k.err;
  const auto compilati = DirectoryFiles(annidata);
  ASSERT_EQ(compilati.size(), 3u);
  for (const char* n : kCompilati) EXPECT_TRUE(compilati.at(n) == del_builder.at(n)) << n;
  // The sources are read, never changed or deleted.
  EXPECT_EQ(DirectoryFiles(esportati.path()), esportato);

  // A second export refuses to overwrite, unless asked to.
  WriteFileBytes(esportati.path() / kLinea, "edited");
  const RunResult rifiuto = RunToolIn(esportati.path(), {"export"});
  EXPECT_EQ(rifiuto.exit_status, 1);
  EXPECT_NE(rifiuto.err.find("--force"), std::string::npos) << rifiuto.err;
  EXPECT_EQ(ReadFileBytes(esportati.path() / kLinea), "edited");
  EXPECT_EQ(RunToolIn(esportati.path(), {"export", "--force"}).exit_status, 0);
  EXPECT_EQ(DirectoryFiles(esportati.path()), esportato);
}

TEST_F(ToolTest, KeepGoingScriveIFileDelBuilderPerQuesteSorgenti) {
  WriteFileBytes(sorgenti.path() / kTreno, TrenoConConflitto());
  for (int32_t j : {1, 0}) {
    SCOPED_TRACE(j);
    std::vector<std::string> opzioni;
    if (j == 0) opzioni.push_back("--no-line-table");
    const RunResult senza = Compila(opzioni);
    EXPECT_EQ(senza.exit_status, 1);
    EXPECT_NE(senza.err.find("(code 16)"), std::string::npos) << senza.err;
    EXPECT_TRUE(DirectoryFiles(uscita.path()).empty());

    opzioni.push_back("--keep-going");
    EXPECT_EQ(Compila(opzioni).exit_status, 1);
    CompilazioneInMemoria m;
    CompilaInMemoria(SorgenteLineaIncorporata(), TrenoConConflitto(), &m, j);
    ASSERT_EQ(m.tabelle.codice_errore, 16);
    std::map<std::string, std::string> attesi;
    for (const char* n : kCompilati) {
      auto it = m.fs.files.find(JoinPath(kDirectoryMemoria, n));
      if (it != m.fs.files.end()) attesi[n] = it->second;
    }
    EXPECT_EQ(attesi.size(), j == 0 ? 2u : 3u);
    EXPECT_TRUE(DirectoryFiles(uscita.path()) == attesi);
    for (const auto& [n, _] : attesi) fs::remove(uscita.path() / n);
  }
}

TEST_F(ToolTest, UnaCompilazioneFallitaLasciaIFileDiPrima) {
  std::map<std::string, std::string> vecchi;
  for (const char* n : kCompilati) {
    vecchi[n] = std::string("old ") + n;
    WriteFileBytes(uscita.path() / n, vecchi[n]);
  }
  // A recorded code.
  WriteFileBytes(sorgenti.path() / kTreno, TrenoConConflitto());
  EXPECT_EQ(Compila().exit_status, 1);
  EXPECT_EQ(DirectoryFiles(uscita.path()), vecchi);
  WriteFileBytes(sorgenti.path() / kTreno, SorgenteTrenoIncorporata());

  // Clean sources, but the second file cannot be written: a directory in
  // the way of its temporary name, then of its own name.
  const std::string sim = kCompilati[1];
  for (const std::string& bloccato : {sim + kSuffissoNuovo, sim}) {
    SCOPED_TRACE(bloccato);
    if (bloccato == sim) fs::remove(uscita.path() / sim);
    fs::create_directory(uscita.path() / bloccato);
    const RunResult r = Compila();
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_NE(r.err.find(bloccato + "'"), std::string::npos) << r.err;
    auto attesi = vecchi;
    if (bloccato == sim) attesi.erase(sim);
    EXPECT_EQ(DirectoryFiles(uscita.path()), attesi);
    fs::remove(uscita.path() / bloccato);
  }
}

TEST_F(ToolTest, UsoErrato) {
  struct Caso {
    std::vector<std::string> args;
    std::string messaggio;  // how the one line on standard error starts
  };
  // The system's reason follows the path; its wording (and the console's
  // line end) is the platform's own, so only what comes before it is fixed.
  const Caso casi[] = {
      {{"check", "nope_linea.txt", kTreno}, "scenario_tool check: cannot open 'nope_linea.txt': "},
      {{"check", kLinea, kTreno, "--bogus"}, ""},
      {{"compile", kLinea, kTreno, "-o", std::string(kLinea) + "/sub"},
       "scenario_tool compile: cannot create directory 'Lavrano_Cestelle_linea.txt/sub': "},
      {{"export", "-o", std::string(kLinea) + "/sub"},
       "scenario_tool export: cannot create directory 'Lavrano_Cestelle_linea.txt/sub': "},
      {{"check", kTreno, kLinea},
       "scenario_tool check: LINE and TRAIN are in the wrong order: 'Lavrano_Cestelle_linea.txt' "
       "is the line source and 'Lavrano_Cestelle_58121-.txt' the train source; give them as: "
       "scenario_tool check 'Lavrano_Cestelle_linea.txt' 'Lavrano_Cestelle_58121-.txt'"},
      // documents and preview read the pair the same way.
      {{"documents", kTreno, kLinea},
       "scenario_tool documents: LINE and TRAIN are in the wrong order: "
       "'Lavrano_Cestelle_linea.txt' is the line source"},
      {{"preview", kTreno, kLinea},
       "scenario_tool preview: LINE and TRAIN are in the wrong order: "
       "'Lavrano_Cestelle_linea.txt' is the line source"},
      {{"check", kLinea, "treno.txt"},
       "scenario_tool check: cannot tell the train number from 'treno.txt' (a train source is "
       "named NAME_NUMBER-.txt): give it with --number NUMBER"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.args.back());
    if (c.args.back() == "treno.txt") WriteFileBytes(sorgenti.path() / "treno.txt", "");
    const RunResult r = RunToolIn(sorgenti.path(), c.args);
    EXPECT_EQ(r.exit_status, 2);
    if (!c.messaggio.empty()) {
      EXPECT_EQ(r.err.rfind(c.messaggio, 0), 0u) << r.err;
      EXPECT_GT(r.err.size(), c.messaggio.size()) << r.err;
      EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    }
  }
  // With the options, any file names do.
  fs::rename(sorgenti.path() / kTreno, sorgenti.path() / "treno.txt");
  const RunResult r = RunToolIn(sorgenti.path(), {"check", kLinea, "treno.txt", "--number",
                                                  "58121", "--diagnostics-format", "json"});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["codice_errore"], 0);
  // The overlapping curves: a range, no fix, the curve before as related.
  ASSERT_EQ(j["diagnostics"].size(), 1u);
  const auto& d = j["diagnostics"][0];
  EXPECT_EQ(d["severity"], "warning");
  EXPECT_EQ(d["line"], 155);
  EXPECT_EQ(d["column"], 11);
  EXPECT_EQ(d["end_column"], 17);
  EXPECT_TRUE(d["fixes"].empty());
  ASSERT_EQ(d["related"].size(), 1u);
  EXPECT_EQ(d["related"][0]["file"], kLinea);
  EXPECT_EQ(d["related"][0]["line"], 154);
  EXPECT_EQ(d["related"][0]["column"], 11);
  EXPECT_EQ(d["related"][0]["message"], "the curve before it");
}

// The one-shot preview: the page named after the sources, beside them;
// sources with problems still give a page, which shows them.
TEST_F(ToolTest, PreviewScriveLaPaginaOppureDiceIlPerche) {
  RunResult r = RunToolIn(sorgenti.path(), {"preview", kLinea, kTreno});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Lavrano_Cestelle_58121_anteprima.html", 0), 0u) << r.out;
  EXPECT_EQ(ReadFileBytes(sorgenti.path() / "Lavrano_Cestelle_58121_anteprima.html")
                .rfind("<!doctype html>", 0),
            0u);

  WriteFileBytes(sorgenti.path() / "treno.txt", TrenoConConflitto());
  r = RunToolIn(sorgenti.path(),
                {"preview", kLinea, "treno.txt", "--number", "58121", "-o", "conflitto.html"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_NE(r.err.find("error"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(sorgenti.path() / "conflitto.html"));

  // A source that cannot be read: its reason ends its line, and is on the page.
  r = RunToolIn(sorgenti.path(), {"preview", "nessuna_linea.txt", kTreno, "-o", "manca.html"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.err.rfind("cannot open 'nessuna_linea.txt': ", 0), 0u) << r.err;
  EXPECT_EQ(r.err.back(), '\n');
  EXPECT_NE(ReadFileBytes(sorgenti.path() / "manca.html").find("cannot open"), std::string::npos);

  const struct {
    std::vector<std::string> args;
    const char* messaggio;
  } rifiuti[] = {
      {{"preview", kLinea, "treno.txt"},
       "scenario_tool preview: cannot tell the train number from 'treno.txt'"},
      {{"preview", kLinea, kTreno, "--watch", "-o", "x.html"},
       "scenario_tool preview: -o writes a page; --watch serves it instead: give one"},
      {{"preview", kLinea, kTreno, "-o", std::string(kLinea) + "/x.html"},
       "scenario_tool preview: cannot create "},
  };
  for (const auto& c : rifiuti) {
    r = RunToolIn(sorgenti.path(), c.args);
    EXPECT_EQ(r.exit_status, 2);
    EXPECT_EQ(r.err.rfind(c.messaggio, 0), 0u) << r.err;
  }
}

// The version the build gives the project, alone on standard output; the
// one place a package's version can be read back from the program.
TEST_F(ToolTest, Versione) {
  const RunResult r = RunToolIn(sorgenti.path(), {"--version"});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  std::string riga = r.out;
  if (riga.size() >= 2 && riga.compare(riga.size() - 2, 2, "\r\n") == 0) riga.erase(riga.size() - 2, 1);
  EXPECT_EQ(riga, std::string("scenario_tool ") + SB_VERSIONE + "\n");
}

}  // namespace
