// The hand-made seeds of the fuzz corpus. Each file name starts with the
// number its source must end with: a recorded code (0 for none) or a fatal
// header check. The seeds are meant to lead the fuzzers to every handler and
// every code, so a seed that no longer reaches its code is a failure here,
// and every seed must also keep the fuzzers' invariants.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "compiler/memorizza_percorso.h"
#include "compiler/nomi_file.h"
#include "platform/executable_dir.h"
#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"
#include "supporto/fuzz_compila.h"
#include "supporto/mutatore_righe.h"

namespace {

namespace fs = std::filesystem;
using Tipo = EsitoCompilazione::Tipo;

constexpr int32_t kPrimoFatale = 1250;

// The number a seed's name starts with.
int32_t NumeroAtteso(const fs::path& p) {
  return static_cast<int32_t>(std::stol(p.filename().string().substr(0, p.filename().string().find('_'))));
}

// Runs `verifica` on every seed of one folder; there must be some.
template <typename F>
void PerOgniSeme(const char* cartella, Bersaglio b, F verifica) {
  const fs::path dir = fs::path(SB_SOURCE_DIR) / "fuzz" / "seeds" / cartella;
  int semi = 0;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (!e.is_regular_file() || e.path().filename() == ".keep") continue;
    SCOPED_TRACE(e.path().filename().string());
    const std::string testo = ReadFileBytes(e.path());
    CompilaIngresso(b, testo);
    verifica(testo, NumeroAtteso(e.path()));
    ++semi;
  }
  EXPECT_GE(semi, 8);
}

// The code the line half alone records for `linea`.
int32_t CodiceLinea(const std::string& linea) {
  Tabelle t;
  t.nome_scenario = "Lavrano_Cestelle";
  t.numero_treno = "58121";
  t.scrivi_linea = 1;
  MemoryFileSystem mfs;
  mfs.files[JoinPath(kDirectoryMemoria, nome_sorgente_linea(t.nome_scenario))] = linea;
  int32_t cartello = 80;
  leggi_sorgente_linea(t, Ambiente{&mfs, kDirectoryMemoria}, &cartello);
  return t.codice_errore;
}

// Checks the whole compile of a pair of sources against the expected number.
void VerificaCompilazione(std::string_view linea, std::string_view treno, int32_t atteso) {
  CompilazioneInMemoria c;
  CompilaInMemoria(linea, treno, &c);
  if (atteso >= kPrimoFatale) {
    ASSERT_EQ(c.esito.tipo, Tipo::kErroreFatale);
    EXPECT_EQ(c.esito.numero, atteso);
  } else {
    ASSERT_EQ(c.esito.tipo, Tipo::kCompletato) << c.esito.fallimento.message();
    EXPECT_EQ(c.tabelle.codice_errore, atteso) << "position " << c.tabelle.posizione_errore;
  }
}

TEST(FuzzSemiTest, LineSeedsReachTheirCodes) {
  PerOgniSeme("linea", Bersaglio::kLinea, [](const std::string& testo, int32_t atteso) {
    if (atteso >= kPrimoFatale)
      VerificaCompilazione(testo, SorgenteTrenoIncorporata(), atteso);
    else
      EXPECT_EQ(CodiceLinea(testo), atteso);
  });
}

TEST(FuzzSemiTest, TrainSeedsReachTheirCodes) {
  const std::string& linea = LineaDelTreno();
  PerOgniSeme("treno", Bersaglio::kTreno, [&](const std::string& testo, int32_t atteso) {
    VerificaCompilazione(linea, testo, atteso);
  });
}

TEST(FuzzSemiTest, CombinedSeedsReachTheirCodes) {
  PerOgniSeme("entrambi", Bersaglio::kEntrambi, [](const std::string& testo, int32_t atteso) {
    std::string_view linea, treno;
    DividiIngresso(testo, &linea, &treno);
    VerificaCompilazione(linea, treno, atteso);
  });
}

}  // namespace

namespace {

// The placed rows of a line source, each as its keyword and its position
// moved on by `inizio`.
std::set<std::string> RighePosate(const std::string& linea, long inizio) {
  std::set<std::string> out;
  for (std::string_view riga : RigheDi(linea)) {
    const size_t v = riga.find(',');
    const std::string chiave(riga.substr(0, v));
    bool posata = false;
    for (const char* k : {"pendenza", "curva", "montagna", "cartello", "indicatori"})
      posata = posata || chiave.find(k) != std::string::npos;
    if (posata)
      out.insert(chiave + "@" + std::to_string(std::stol(std::string(riga.substr(v + 1))) + inizio));
  }
  return out;
}

// The short lines the seed writer cuts from the built-in sources: each is a
// whole compile, ending without a code, with the length it was given, and
// together they hold every placed row of the built-in line.
TEST(FuzzSemiTest, WindowsOfTheBuiltInSourcesCompile) {
  const std::string linea = SorgenteLineaIncorporata(), treno = SorgenteTrenoIncorporata();
  const std::vector<int32_t> inizi = IniziFinestre();
  ASSERT_GE(inizi.size(), 25u);  // 176 km in steps of at most 7.2 km
  std::set<std::string> tenute;
  for (int32_t inizio : inizi) {
    SCOPED_TRACE(inizio);
    const std::string corta = Finestra(linea, inizio, kLunghezzaFinestra);
    const std::string treno_corto = Finestra(treno, inizio, kLunghezzaFinestra);
    CompilazioneInMemoria c;
    CompilaInMemoria(corta, treno_corto, &c);
    ASSERT_EQ(c.esito.tipo, Tipo::kCompletato) << c.esito.fallimento.message() << c.esito.numero;
    EXPECT_EQ(c.tabelle.codice_errore, 0) << "position " << c.tabelle.posizione_errore;
    EXPECT_EQ(c.tabelle.stazioni[84].fine, kLunghezzaFinestra);
    CompilaIngresso(Bersaglio::kEntrambi, corta + std::string(1, '\0') + treno_corto);
    tenute.merge(RighePosate(corta, inizio));
  }
  const std::set<std::string> tutte = RighePosate(linea, 0);
  EXPECT_GT(tutte.size(), 150u);
  EXPECT_EQ(tenute, tutte);
}

}  // namespace
