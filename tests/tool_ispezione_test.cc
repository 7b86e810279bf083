// Reading compiled files back: the decoders beside the encoders, and the
// dump, plot and diff commands of scenario_tool over the built-in scenario.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "compiler/uscita/formato_linea.h"
#include "compiler/uscita/formato_percorso.h"
#include "compiler/uscita/formato_stazioni.h"
#include "platform/executable_dir.h"
#include "sources/windows1252.h"
#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"
#include "tool/ispezione/diff.h"
#include "tool/ispezione/dump.h"
#include "tool/ispezione/plot.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

namespace fs = std::filesystem;

const char kGriglia[] = "Lavrano_Cestelle_58121.dat";
const char kStazioni[] = "Lavrano_Cestelle_58121.sim";
const char kLinea[] = "Lavrano_Cestelle_linea.dat";

// The files of one run of the builder, made once for all tests here.
const fs::path& Costruiti() {
  static TempDir dir;
  static const bool fatto = [] {
    RunResult r = RunBuilderIn(dir.path());
    EXPECT_EQ(r.exit_status, 0) << r.err;
    return true;
  }();
  (void)fatto;
  return dir.path();
}

std::string Originale(const char* nome) { return ReadFileBytes(Costruiti() / nome); }

// A directory holding copies of the three compiled files.
void CopiaCompilati(const fs::path& dir) {
  for (const char* n : {kGriglia, kStazioni, kLinea}) fs::copy_file(Costruiti() / n, dir / n);
}

struct Uscita {
  int stato;
  std::string out, err;
};

Uscita Dump(const fs::path& file, Formato formato = Formato::kJson) {
  OpzioniDump o;
  o.file = file.string();
  o.formato = formato;
  std::ostringstream out, err;
  int stato = esegui_dump(o, out, err);
  return {stato, out.str(), err.str()};
}

// Record `indice` of a JSON dump, on one line.
std::string Record(const Uscita& u, size_t indice) {
  return nlohmann::ordered_json::parse(u.out)["records"][indice].dump();
}

TEST(ToolIspezioneTest, DumpShowsChosenCellsAndEntriesByName) {
  const Uscita griglia = Dump(Costruiti() / kGriglia);
  ASSERT_EQ(griglia.stato, 0) << griglia.err;
  const Uscita stazioni = Dump(Costruiti() / kStazioni);
  ASSERT_EQ(stazioni.stato, 0) << stazioni.err;
  struct Caso {
    const Uscita* dump;
    size_t indice;
    const char* json;
  } casi[] = {
      {&griglia, 0,
       R"j({"index":0,"km":0.0,"kind":"header","tipo":0,"dato1":0,"dato2":0,"dato3":0,"dato4":0,"tempo":0,"avviso":0,"montagna":0,"velocita":6,"speed_kmh":30,"pendenza":100,"gradient_permille":0,"aderenza":90,"fields":{}})j"},
      {&griglia, 1,
       R"j({"index":1,"km":0.05,"kind":"header","tipo":0,"dato1":5121,"dato2":2346,"dato3":0,"dato4":0,"tempo":0,"avviso":0,"montagna":0,"velocita":6,"speed_kmh":30,"pendenza":100,"gradient_permille":0,"aderenza":90,"fields":{"mark":5121,"codice_gara_og":2346}})j"},
      {&griglia, 23,
       R"j({"index":23,"km":1.15,"kind":"signal","tipo":1,"dato1":42,"dato2":11,"dato3":11,"dato4":8,"tempo":0,"avviso":0,"montagna":0,"velocita":19,"speed_kmh":95,"pendenza":88,"gradient_permille":-12,"aderenza":90,"fields":{"s1_d1":42,"s2_d2":11,"s3_d3":11,"rapp_sx_dx":8,"time":0}})j"},
      {&griglia, 9,
       R"j({"index":9,"km":0.45,"kind":"station stop","tipo":10,"dato1":1,"dato2":0,"dato3":0,"dato4":0,"tempo":0,"avviso":0,"montagna":0,"velocita":6,"speed_kmh":30,"pendenza":100,"gradient_permille":0,"aderenza":90,"fields":{"station":1,"name":"LAVRANO CENTRALE"}})j"},
      {&griglia, 125,
       R"j({"index":125,"km":6.25,"kind":"text board","tipo":14,"dato1":80,"dato2":0,"dato3":0,"dato4":0,"tempo":0,"avviso":0,"montagna":0,"velocita":22,"speed_kmh":110,"pendenza":95,"gradient_permille":-5,"aderenza":90,"fields":{"entry":80,"text":"( DOPPIO  ) ( BIVIO  ) (NOMENTANO)"}})j"},
      {&stazioni, 1,
       R"j({"index":1,"role":"station","tipo":8,"inizio":-500,"fine":500,"posizione":0,"tps":1,"nome":"LAVRANO CENTRALE","d2a":4,"d3a":1,"d1b":2,"d2b":1,"d3b":1,"rap":0,"ac":1,"mar":0,"tab":0,"orario":64200,"fields":{"name":"LAVRANO CENTRALE","stop":true,"position_m":0,"start_m":-500,"end_m":500,"time":"17:50:00"}})j"},
      {&stazioni, 80,
       R"j({"index":80,"role":"text board","tipo":0,"inizio":0,"fine":0,"posizione":0,"tps":0,"nome":"( DOPPIO  ) ( BIVIO  ) (NOMENTANO)","d2a":0,"d3a":0,"d1b":0,"d2b":0,"d3b":0,"rap":0,"ac":0,"mar":0,"tab":0,"orario":0,"fields":{"text":"( DOPPIO  ) ( BIVIO  ) (NOMENTANO)"}})j"},
      {&stazioni, 85,
       R"j({"index":85,"role":"scenario identity","tipo":0,"inizio":1,"fine":0,"posizione":0,"tps":0,"nome":"Lavrano_Cestelle","d2a":610,"d3a":0,"d1b":0,"d2b":0,"d3b":0,"rap":0,"ac":0,"mar":0,"tab":0,"orario":32832,"fields":{"sfondo_uno":1,"sfondo_due":0,"sfondo_tre":0,"scenario":"Lavrano_Cestelle","check":610,"codice_gara_st":32832}})j"},
      {&stazioni, 86,
       R"j({"index":86,"role":"train identity","tipo":0,"inizio":6800,"fine":176000,"posizione":9,"tps":0,"nome":"58121","d2a":300,"d3a":0,"d1b":17,"d2b":48,"d3b":30,"rap":0,"ac":0,"mar":0,"tab":0,"orario":0,"fields":{"signal_repetition_from_m":6800,"signal_repetition_to_m":176000,"codes":9,"train":"58121","sabbia":300,"clock":"17:48:30"}})j"},
  };
  for (const Caso& c : casi) EXPECT_EQ(Record(*c.dump, c.indice), c.json) << c.indice;
}

TEST(ToolIspezioneTest, DumpOfASlowDownStartAndOfSampledLineRows) {
  // The built-in train has no slow-down: a small one compiled in memory.
  CompilazioneInMemoria c;
  CompilaInMemoria(SorgenteLineaIncorporata(),
                   "[generale]\nvelocita, 0, 100\nrallentamento, 20000, 60, 1000, 3, 0, 0\n", &c);
  ASSERT_EQ(c.tabelle.codice_errore, 0);
  TempDir dir;
  for (const char* n : {kGriglia, kStazioni})
    WriteFileBytes(dir.path() / n, c.fs.files[JoinPath(kDirectoryMemoria, n)]);
  const Uscita u = Dump(dir.path() / kGriglia);
  ASSERT_EQ(u.stato, 0) << u.err;
  EXPECT_EQ(
      Record(u, 401),
      R"j({"index":401,"km":20.05,"kind":"slow-down start","tipo":3,"dato1":60,"dato2":0,"dato3":3,"dato4":0,"tempo":0,"avviso":0,"montagna":1,"velocita":20,"speed_kmh":100,"pendenza":96,"gradient_permille":-4,"aderenza":0,"fields":{"speed_kmh":60,"d_v":0,"f_tt":3}})j");

  OpzioniDump o;
  o.file = (Costruiti() / kLinea).string();
  o.formato = Formato::kCsv;
  o.da_km = 0;
  o.a_km = 183.0;
  o.ogni = 61000;
  std::ostringstream out, err;
  ASSERT_EQ(esegui_dump(o, out, err), 0) << err.str();
  EXPECT_EQ(out.str(),
            "m,x,y\n0,0,0\n61000,-3362.8305266064935,52694.740056360046\n"
            "122000,5490.48844291951,104505.78037248699\n183000,,\n");
}

TEST(ToolIspezioneTest, DecodingThenEncodingGivesEachFileBack) {
  Tabelle t;
  const std::string griglia = Originale(kGriglia);
  ASSERT_TRUE(decodifica_percorso(griglia, &t.percorso).ok());
  EXPECT_EQ(codifica_percorso(t), griglia);

  const std::string stazioni = Originale(kStazioni);
  ASSERT_TRUE(decodifica_stazioni(stazioni, &t.stazioni).ok());
  std::string ricodificate;
  ASSERT_TRUE(codifica_stazioni(t, &ricodificate).ok());
  EXPECT_EQ(ricodificate, stazioni);

  const std::string linea = Originale(kLinea);
  std::vector<valore> valori;
  ASSERT_TRUE(decodifica_linea(linea, &valori).ok());
  ASSERT_EQ(valori.size(), 2u * 183001);
  t.tabella_linea.assign(valori.size(), valore{});
  for (size_t i = 0; i < valori.size(); ++i) t.tabella_linea.imposta(i, valori[i]);
  EXPECT_EQ(codifica_linea(t), linea);
}

TEST(ToolIspezioneTest, MalformedFilesAreRefusedWithOffsetAndExpectation) {
  struct Caso {
    const char* file;
    std::string (*guasta)(std::string);
    const char* messaggio;  // after "<path>: "
  } casi[] = {
      {kGriglia, [](std::string b) { return b.append(1, 'x'); },
       "not a track grid: at byte 54915: expected a whole number of 15-byte cells, found 54916 "
       "bytes (1 left over after cell 3661)"},
      {kGriglia, [](std::string b) { return b.substr(0, 15); },
       "not a track grid: at byte 15: expected the header cells 0 and 1 (30 bytes), found 15 "
       "bytes"},
      {kGriglia, [](std::string b) { return b.substr(0, b.size() - 15); },
       "not the track grid of this scenario: at byte 54900: expected 3661 cells for a line of "
       "176000 m (the length in the station table), found 3660"},
      {kStazioni, [](std::string b) { return b.substr(0, 20); },
       "not a station table: at byte 20: expected 2 bytes of d1b of entry 0, found 0 (the file "
       "ends there)"},
      {kStazioni, [](std::string b) {
         b[14] = b[15] = '\xFF';
         return b;
       },
       "not a station table: at byte 14: expected a byte count of nome of entry 0 within the "
       "file, found 65535 with only 3660 bytes after it"},
      {kStazioni, [](std::string b) { return b.append(2, 'a'); },
       "not a station table: at byte 3676: expected the end of the file after entry 86, found 2 "
       "more bytes"},
      {kLinea, [](std::string b) {
         b[0] = 7;
         return b;
       },
       "not a line table: at byte 0: expected a value tag 0, 2 or 5 (empty, 16-bit integer, "
       "double) of value 0, found 7"},
      {kLinea, [](std::string b) {
         b[5] = 0x40;  // the reference flag on a 16-bit integer
         return b;
       },
       "not a line table: at byte 4: expected a value tag 0, 2 or 5 (empty, 16-bit integer, "
       "double) of value 1, found 16386"},
      {kLinea, [](std::string b) { return b.substr(0, b.size() - 1); },
       "not a line table: at byte 3659962: expected 2 bytes of value tag of value 366001, found 1 "
       "(the file ends there)"},
      {kLinea, [](std::string b) { return b.substr(0, b.size() - 3); },
       "not a line table: at byte 3659960: expected 2 bytes of value tag of value 366000, found "
       "1 (the file ends there)"},
      {kLinea, [](std::string b) { return b.substr(0, b.size() - 2); },
       "not a line table: at byte 3659962: expected two columns of equal length (x then y, at "
       "least one row), found 366001 values"},
      {kLinea, [](std::string b) { return b.substr(0, b.size() - 4); },
       "not the line table of this scenario: at byte 3659960: expected 183001 rows for a line of "
       "176000 m (the length in the station table), found 183000"},
  };
  for (const Caso& c : casi) {
    TempDir dir;
    CopiaCompilati(dir.path());
    const fs::path file = dir.path() / c.file;
    WriteFileBytes(file, c.guasta(ReadFileBytes(file)));
    const Uscita u = Dump(file);
    EXPECT_EQ(u.stato, 1) << c.messaggio;
    // A file that does not fit the line length names the station table it
    // was checked against.
    const std::string contro = std::string(c.messaggio).rfind("not the ", 0) == 0
                                   ? " (" + (dir.path() / kStazioni).string() + ")"
                                   : "";
    EXPECT_EQ(u.err, file.string() + ": " + c.messaggio + contro + "\n");
    EXPECT_EQ(u.out, "");
  }
}

TEST(ToolIspezioneTest, TextsAreShownInUtf8) {
  EXPECT_EQ(DecodeWindows1252ToUtf8("A\xE0\x80\x92"), "A\xC3\xA0\xE2\x82\xAC\xE2\x80\x99");
}

TEST(ToolIspezioneTest, DiffOfIdenticalScenariosAndOfOneChangedCell) {
  TempDir a, b;
  CopiaCompilati(a.path());
  CopiaCompilati(b.path());
  auto diff = [&](std::string* out) {
    std::ostringstream o, e;
    int stato = esegui_diff({a.path().string(), b.path().string(), "", ""}, o, e);
    *out = o.str() + e.str();
    return stato;
  };
  std::string out;
  EXPECT_EQ(diff(&out), 0);
  EXPECT_EQ(out, "identical: Lavrano_Cestelle train 58121\n");

  // Cell 23 (the first signal): dato1 42 becomes 43.
  std::string griglia = ReadFileBytes(b.path() / kGriglia);
  griglia[23 * 15 + 1] = 43;
  WriteFileBytes(b.path() / kGriglia, griglia);
  EXPECT_EQ(diff(&out), 1);
  EXPECT_EQ(out,
            "Lavrano_Cestelle_58121.dat: cell 23 differs\n"
            "  A: index=23 km=1.15 kind=\"signal\" tipo=1 dato1=42 dato2=11 dato3=11 dato4=8 "
            "tempo=0 avviso=0 montagna=0 velocita=19 speed_kmh=95 pendenza=88 "
            "gradient_permille=-12 aderenza=90 fields={s1_d1=42 s2_d2=11 s3_d3=11 rapp_sx_dx=8 "
            "time=0}\n"
            "  B: index=23 km=1.15 kind=\"signal\" tipo=1 dato1=43 dato2=11 dato3=11 dato4=8 "
            "tempo=0 avviso=0 montagna=0 velocita=19 speed_kmh=95 pendenza=88 "
            "gradient_permille=-12 aderenza=90 fields={s1_d1=43 s2_d2=11 s3_d3=11 rapp_sx_dx=8 "
            "time=0}\n"
            "Lavrano_Cestelle_58121.dat: 1 cell of 3661 differ\n");
}

TEST(ToolIspezioneTest, DumpTellsRenamedFilesByContentAndRefusesOthers) {
  TempDir dir;
  const struct {
    const char* originale;
    const char* tabella;
  } file[] = {{kGriglia, "track grid"}, {kStazioni, "station table"}, {kLinea, "line table"}};
  for (const auto& f : file) {
    const fs::path copia = dir.path() / (std::string(f.tabella) + ".bin");
    fs::copy_file(Costruiti() / f.originale, copia);
    const Uscita u = Dump(copia);
    ASSERT_EQ(u.stato, 0) << f.tabella << ": " << u.err;
    EXPECT_EQ(nlohmann::json::parse(u.out)["table"], f.tabella);
  }
  // Neither its name nor its content makes a file one of the three.
  for (const char* contenuto : {"[generale]\r\n", ""}) {
    const fs::path altro = dir.path() / "altro.txt";
    WriteFileBytes(altro, contenuto);
    const Uscita u = Dump(altro);
    EXPECT_EQ(u.stato, 2);
    EXPECT_EQ(u.err, altro.string() +
                         ": not a compiled scenario file (track grid, station table or line "
                         "table)\n");
    EXPECT_EQ(u.out, "");
  }
  const Uscita u = Dump(dir.path() / "nessuno.dat");
  EXPECT_EQ(u.stato, 2);
  EXPECT_NE(u.err.find((dir.path() / "nessuno.dat").string()), std::string::npos) << u.err;
}

TEST(ToolIspezioneTest, DumpTableAndCsvKeepEveryFieldInItsColumn) {
  // Entry 2 named with a letter of two UTF-8 bytes, a comma and quotes.
  TempDir dir;
  CopiaCompilati(dir.path());
  Tabelle t;
  ASSERT_TRUE(decodifica_stazioni(Originale(kStazioni), &t.stazioni).ok());
  t.stazioni[2].nome = "PI\xC8VE, \"X\"";
  std::string stazioni;
  ASSERT_TRUE(codifica_stazioni(t, &stazioni).ok());
  WriteFileBytes(dir.path() / kStazioni, stazioni);

  const Uscita csv = Dump(dir.path() / kStazioni, Formato::kCsv);
  ASSERT_EQ(csv.stato, 0) << csv.err;
  EXPECT_NE(csv.out.find("\n2,station,2,"), std::string::npos);
  EXPECT_NE(csv.out.find(",\"PI\xC3\x88VE, \"\"X\"\"\","), std::string::npos) << csv.out;

  // As a table every column but the last starts where it does on the
  // heading row, counted in characters: the named fields of entries 1 and
  // 2 stand in one column.
  const Uscita testo = Dump(dir.path() / kStazioni, Formato::kTesto);
  ASSERT_EQ(testo.stato, 0) << testo.err;
  std::istringstream righe(testo.out);
  std::string riga;
  std::getline(righe, riga);
  EXPECT_EQ(riga, "# " + std::string(kStazioni) + ": station table, 87 records");
  std::vector<size_t> colonne;
  while (std::getline(righe, riga)) {
    const size_t campi = riga.find("name=");
    if (campi == std::string::npos) continue;
    colonne.push_back(static_cast<size_t>(
        std::count_if(riga.begin(), riga.begin() + static_cast<std::ptrdiff_t>(campi),
                      [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; })));
  }
  ASSERT_EQ(colonne.size(), 20u);
  for (size_t c : colonne) EXPECT_EQ(c, colonne[0]);

  // A cell of a kind the builder never writes is shown, named by its number.
  std::string griglia = Originale(kGriglia);
  griglia[23 * 15] = static_cast<char>(200);
  WriteFileBytes(dir.path() / kGriglia, griglia);
  const Uscita u = Dump(dir.path() / kGriglia);
  ASSERT_EQ(u.stato, 0) << u.err;
  EXPECT_NE(Record(u, 23).find(R"("kind":"unknown 200","tipo":200)"), std::string::npos);
}

// scenario_tool diff over two directories: its status, and standard output
// then standard error.
int Diff(const fs::path& a, const fs::path& b, std::string* out, const std::string& nome = "",
         const std::string& numero = "") {
  std::ostringstream o, e;
  const int stato = esegui_diff({a.string(), b.string(), nome, numero}, o, e);
  *out = o.str() + e.str();
  return stato;
}

TEST(ToolIspezioneTest, DiffRefusesWhatItCannotReadNamingTheFile) {
  TempDir buona, cattiva;
  CopiaCompilati(buona.path());
  CopiaCompilati(cattiva.path());
  const fs::path d = cattiva.path();
  std::string out;
  // Not a directory.
  EXPECT_EQ(Diff(buona.path(), d / kGriglia, &out), 2);
  EXPECT_EQ(out, (d / kGriglia).string() + ": not a directory\n");
  // Two scenarios: one is chosen by name and number.
  fs::copy_file(d / kStazioni, d / "Altro_1.sim");
  EXPECT_EQ(Diff(buona.path(), d, &out), 2);
  EXPECT_EQ(out, d.string() +
                     ": several scenarios, choose one with --name and --number: Altro_1.sim "
                     "Lavrano_Cestelle_58121.sim\n");
  EXPECT_EQ(Diff(buona.path(), d, &out, "Lavrano_Cestelle", "58121"), 0) << out;
  EXPECT_EQ(Diff(buona.path(), d, &out, "Altro", "1"), 2);
  EXPECT_EQ(out, buona.path().string() + ": no station table (Altro_1.sim)\n");
  // A station table renamed: its entries name another scenario.
  fs::remove(d / kStazioni);
  EXPECT_EQ(Diff(buona.path(), d, &out), 2);
  EXPECT_EQ(out, (d / "Altro_1.sim").string() +
                     ": holds scenario \"Lavrano_Cestelle\", train \"58121\", not what its name "
                     "says; choose the files with --name and --number\n");
  fs::rename(d / "Altro_1.sim", d / kStazioni);
  // The grid missing, then cut short; the line table cut short.
  fs::rename(d / kGriglia, d / "griglia");
  EXPECT_EQ(Diff(buona.path(), d, &out), 2);
  EXPECT_NE(out.find((d / kGriglia).string()), std::string::npos) << out;
  WriteFileBytes(d / kGriglia, Originale(kGriglia).substr(0, 15 * 3000));
  EXPECT_EQ(Diff(buona.path(), d, &out), 2);
  EXPECT_EQ(out.rfind((d / kGriglia).string() + ": not the track grid of this scenario: ", 0), 0u)
      << out;
  fs::remove(d / kGriglia);
  fs::rename(d / "griglia", d / kGriglia);
  WriteFileBytes(d / kLinea, Originale(kLinea).substr(0, 100));
  EXPECT_EQ(Diff(d, buona.path(), &out), 2);
  EXPECT_EQ(out.rfind((d / kLinea).string() + ": not a line table: ", 0), 0u) << out;
}

TEST(ToolIspezioneTest, DiffShowsEveryTableThatDiffers) {
  // Two small scenarios of the same length: their grids, station tables and
  // line tables all differ; the first records of each are shown, the rest
  // counted.
  const fs::path dati = fs::path(SB_SOURCE_DIR) / "tests" / "data";
  std::string out;
  EXPECT_EQ(Diff(dati / "rallentamenti", dati / "stazioni", &out), 1);
  for (const char* riga : {
           "Lavrano_Cestelle_58121.dat: cell 0 differs\n",
           "Lavrano_Cestelle_58121.dat: ... and 248 more cells differ\n"
           "Lavrano_Cestelle_58121.dat: 298 cells of 301 differ\n",
           "Lavrano_Cestelle_58121.sim: entry 86 differs\n"
           "  A: index=86 role=\"train identity\"",
           "Lavrano_Cestelle_58121.sim: 9 entries of 87 differ\n",
           "Lavrano_Cestelle_linea.dat: row 1001 differs\n  A: m=1001 x=",
           "Lavrano_Cestelle_linea.dat: 13998 rows of 15001 differ\n",
       })
    EXPECT_NE(out.find(riga), std::string::npos) << riga;
  EXPECT_EQ(out.find("cell 50 differs"), std::string::npos);  // 50 shown: cells 0 to 49

  // The same line cut 50 m short: its last cell and 50 rows only A has.
  TempDir corta;
  Tabelle t;
  ASSERT_TRUE(decodifica_stazioni(Originale(kStazioni), &t.stazioni).ok());
  t.stazioni[kVoceGenerale].fine -= 50;
  std::string stazioni;
  ASSERT_TRUE(codifica_stazioni(t, &stazioni).ok());
  WriteFileBytes(corta.path() / kStazioni, stazioni);
  const std::string griglia = Originale(kGriglia);
  WriteFileBytes(corta.path() / kGriglia, griglia.substr(0, griglia.size() - 15));
  std::vector<valore> valori;
  ASSERT_TRUE(decodifica_linea(Originale(kLinea), &valori).ok());
  const size_t righe = valori.size() / 2 - 50;
  t.tabella_linea.assign(2 * righe, valore{});
  for (size_t r = 0; r < righe; ++r) {
    t.tabella_linea.imposta(r, valori[r]);
    t.tabella_linea.imposta(righe + r, valori[valori.size() / 2 + r]);
  }
  WriteFileBytes(corta.path() / kLinea, codifica_linea(t));
  EXPECT_EQ(Diff(Costruiti(), corta.path(), &out), 1);
  for (const char* riga : {
           "Lavrano_Cestelle_58121.dat: cell 3660 differs\n  A: index=3660 km=183.0 ",
           "  B: (missing)\nLavrano_Cestelle_58121.dat: 1 cell of 3661 differ\n",
           "line_length_m=175950 coaches=9}\nLavrano_Cestelle_58121.sim: 1 entry of 87 differ\n",
           "Lavrano_Cestelle_linea.dat: row 182951 differs\n  A: m=182951 ",
       })
    EXPECT_NE(out.find(riga), std::string::npos) << riga;
  EXPECT_TRUE(
      out.ends_with("  B: (missing)\nLavrano_Cestelle_linea.dat: 50 rows of 183001 differ\n"));

  // A line table on one side only.
  TempDir senza;
  CopiaCompilati(senza.path());
  fs::remove(senza.path() / kLinea);
  EXPECT_EQ(Diff(Costruiti(), senza.path(), &out), 1);
  EXPECT_EQ(out, "Lavrano_Cestelle_linea.dat: only in A\n");
}

#ifndef _WIN32

// Runs a shell command, returning its exit status and standard output.
int Shell(const std::string& comando, std::string* out) {
  out->clear();
  FILE* p = popen(comando.c_str(), "r");
  if (p == nullptr) return -1;
  char b[4096];
  size_t n;
  while ((n = fread(b, 1, sizeof b, p)) > 0) out->append(b, n);
  const int stato = pclose(p);
  return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
}

TEST(ToolIspezioneTest, CommandLineExitStatuses) {
  std::string out;
  const std::string tool = std::string("'") + SB_TOOL_PATH + "'";
  EXPECT_EQ(Shell(tool + " dump '" + (Costruiti() / kStazioni).string() +
                      "' --format csv --from 100 --to 110 | grep -c ',station,'",
                  &out),
            0);
  EXPECT_EQ(out, "2\n");  // Bivio Orvieto Sud and Orvieto
  TempDir vuota;
  EXPECT_EQ(Shell(tool + " diff '" + Costruiti().string() + "' '" + vuota.path().string() +
                      "' 2>&1",
                  &out),
            2);
  EXPECT_EQ(out, vuota.path().string() + ": no station table (*_*.sim)\n");
  EXPECT_EQ(Shell(tool + " dump '" + (Costruiti() / kGriglia).string() + "' --every 10 2>&1", &out),
            2);
}

TEST(ToolIspezioneTest, PlotNamesSourceRowsOnlyOfSourcesThatCompileToTheFiles) {
  TempDir dir;
  const fs::path linea = dir.path() / "Lavrano_Cestelle_linea.txt";
  const fs::path treno = dir.path() / "Lavrano_Cestelle_58121-.txt";
  WriteFileBytes(linea, SorgenteLineaIncorporata());
  WriteFileBytes(treno, SorgenteTrenoIncorporata());
  const fs::path svg = dir.path() / "piano.svg";
  const std::string plot = std::string("'") + SB_TOOL_PATH + "' plot '" + Costruiti().string() +
                           "' -o '" + svg.string() + "' --sources ";
  std::string out;
  EXPECT_EQ(Shell(plot + "'" + linea.string() + "' '" + treno.string() + "' 2>&1", &out), 0);
  EXPECT_EQ(out, svg.string() + "\n");
  EXPECT_NE(ReadFileBytes(svg).find("Lavrano_Cestelle_58121-.txt"), std::string::npos);

  // Sources of another scenario, and a source that is not there: the
  // picture is drawn without rows, saying why.
  const fs::path altra = fs::path(SB_SOURCE_DIR) / "tests" / "data" / "rallentamenti";
  EXPECT_EQ(Shell(plot + "'" + (altra / "linea.txt").string() + "' '" +
                      (altra / "treno.txt").string() + "' 2>&1",
                  &out),
            0);
  EXPECT_NE(out.find(" do not compile to the track grid of " + (Costruiti() / kGriglia).string() +
                     "; the rows are not shown\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(ReadFileBytes(svg).find("treno.txt"), std::string::npos);
  EXPECT_EQ(
      Shell(plot + "'" + (dir.path() / "nessuna.txt").string() + "' '" + treno.string() + "' 2>&1",
            &out),
      0);
  EXPECT_NE(out.find("nessuna.txt"), std::string::npos) << out;
  EXPECT_NE(out.find("; the rows are not shown\n"), std::string::npos) << out;
}

int ContaXpath(const fs::path& svg, const std::string& xpath) {
  std::string out;
  EXPECT_EQ(Shell("xmllint --xpath \"" + xpath + "\" '" + svg.string() + "'", &out), 0);
  return std::stoi(out);
}

TEST(ToolIspezioneTest, PlotIsWellFormedRendersAndShowsWhatTheFilesHold) {
  TempDir dir;
  CopiaCompilati(dir.path());
  const fs::path svg = dir.path() / "linea.svg";
  OpzioniPlot o;
  o.dir = dir.path().string();
  o.uscita = svg.string();
  std::ostringstream out, err;
  ASSERT_EQ(esegui_plot(o, out, err), 0) << err.str();
  std::string testo;
  EXPECT_EQ(Shell("xmllint --noout '" + svg.string() + "' 2>&1", &testo), 0) << testo;

  // Rendered, the picture is far from a blank page of the same size.
  const std::string bianco = "<svg xmlns='http://www.w3.org/2000/svg' width='1400' height='1500'>"
                             "<rect width='100%' height='100%' fill='#fff'/></svg>";
  WriteFileBytes(dir.path() / "bianco.svg", bianco);
  ASSERT_EQ(Shell("rsvg-convert '" + svg.string() + "' -o '" + (dir.path() / "p.png").string() +
                      "' && rsvg-convert '" + (dir.path() / "bianco.svg").string() + "' -o '" +
                      (dir.path() / "b.png").string() + "'",
                  &testo),
            0);
  EXPECT_GT(fs::file_size(dir.path() / "p.png"), 20 * fs::file_size(dir.path() / "b.png"));

  const std::string immagine = ReadFileBytes(svg);
  EXPECT_NE(immagine.find(">Lavrano_Cestelle \xE2\x80\x94 train 58121</text>"), std::string::npos);
  EXPECT_EQ(immagine.find("<script"), std::string::npos);
  EXPECT_EQ(immagine.find("href"), std::string::npos);
  TabellaStazioni stazioni;
  ASSERT_TRUE(decodifica_stazioni(Originale(kStazioni), &stazioni).ok());
  // Each station is named on the plan and under the profile.
  for (size_t i = 1; i <= 20; ++i) {
    const std::string nome = ">" + stazioni[i].nome + "</text>";
    const size_t primo = immagine.find(nome);
    ASSERT_NE(primo, std::string::npos) << stazioni[i].nome;
    EXPECT_NE(immagine.find(nome, primo + 1), std::string::npos) << stazioni[i].nome;
  }

  std::vector<cella> celle;
  ASSERT_TRUE(decodifica_percorso(Originale(kGriglia), &celle).ok());
  int segnali = 0;
  for (const cella& c : celle) segnali += c.tipo == tipo_cella::kSegnale;
  EXPECT_EQ(ContaXpath(svg, "count(//*[@class='signal'])"), segnali);
  EXPECT_EQ(segnali, 50);

  // Without the line table the profile stands alone, and says so.
  fs::remove(dir.path() / kLinea);
  ASSERT_EQ(esegui_plot(o, out, err), 0) << err.str();
  const std::string profilo = ReadFileBytes(svg);
  EXPECT_NE(profilo.find("No line table (Lavrano_Cestelle_linea.dat is missing)"),
            std::string::npos);
  EXPECT_EQ(ContaXpath(svg, "count(//*[@class='station-plan'])"), 0);
  EXPECT_EQ(ContaXpath(svg, "count(//*[@class='signal'])"), segnali);
}

#endif  // _WIN32

}  // namespace
