// Sources that change between being written and being read back: another
// program deletes one, or cuts it short, while the run is going. The
// compiler must record what it can (a reading failure where the text ends
// inside a row) and never read or write outside what it holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "compiler/codici_errore.h"
#include "compiler/memorizza_percorso.h"
#include "compiler/nomi_file.h"
#include "platform/executable_dir.h"
#include "supporto/compila_memoria.h"
#include "supporto/fuzz_compila.h"

namespace {

using Tipo = EsitoCompilazione::Tipo;

// Passes every operation to the in-memory file system beneath, except the
// reading of one file: that file vanishes just before it is read, or the
// reader gets only its first `lunghezza` bytes.
class SorgenteInstabile : public FileSystem {
 public:
  enum class Modo { kSparisce, kAccorciata };

  SorgenteInstabile(MemoryFileSystem& sotto, std::string path, Modo modo, size_t lunghezza = 0)
      : sotto_(sotto), path_(std::move(path)), modo_(modo), lunghezza_(lunghezza) {}

  bool Exists(const std::string& p) override { return sotto_.Exists(p); }
  Status Touch(const std::string& p) override { return sotto_.Touch(p); }
  Status Remove(const std::string& p) override { return sotto_.Remove(p); }
  Status Create(const std::string& p, std::string_view d) override { return sotto_.Create(p, d); }
  Status Rename(const std::string& a, const std::string& b) override { return sotto_.Rename(a, b); }
  Status Read(const std::string& p, std::string* data) override {
    if (p != path_) return sotto_.Read(p, data);
    if (modo_ == Modo::kSparisce) sotto_.files.erase(p);
    Status s = sotto_.Read(p, data);
    if (s.ok()) data->resize(std::min(lunghezza_, data->size()));
    return s;
  }

 private:
  MemoryFileSystem& sotto_;
  std::string path_;
  Modo modo_;
  size_t lunghezza_;
};

class SorgenteInstabileTest : public ::testing::Test {
 protected:
  static std::string Linea() { return JoinPath(kDirectoryMemoria, "Lavrano_Cestelle_linea.txt"); }
  static std::string Treno() { return JoinPath(kDirectoryMemoria, "Lavrano_Cestelle_58121-.txt"); }

  // Compiles the built-in sources with `path` read as `modo` says, then
  // checks what must hold after any compile.
  void Compila(const std::string& path, SorgenteInstabile::Modo modo, size_t lunghezza = 0,
               int32_t j = 1) {
    c = std::make_unique<CompilazioneInMemoria>();
    c->tabelle.nome_scenario = "Lavrano_Cestelle";
    c->tabelle.numero_treno = "58121";
    c->fs.files[Linea()] = linea_;
    c->fs.files[Treno()] = treno_;
    SorgenteInstabile instabile(c->fs, path, modo, lunghezza);
    c->esito = memorizza_percorso(c->tabelle, Ambiente{&instabile, kDirectoryMemoria}, j);
    VerificaCompilazione(*c, j);
  }

  const std::string linea_ = SorgenteLineaIncorporata();
  const std::string treno_ = SorgenteTrenoIncorporata();
  std::unique_ptr<CompilazioneInMemoria> c;
};

TEST_F(SorgenteInstabileTest, VanishedLineSourceLeavesNoGrid) {
  Compila(Linea(), SorgenteInstabile::Modo::kSparisce);
  EXPECT_EQ(c->tabelle.codice_errore, codice::kLetturaFallita);
  EXPECT_EQ(c->esito.tipo, Tipo::kFallimento);
  EXPECT_TRUE(c->fs.files.empty());  // the train source went with it
}

TEST_F(SorgenteInstabileTest, VanishedTrainSourceGivesTheLineAlone) {
  Compila(Treno(), SorgenteInstabile::Modo::kSparisce);
  EXPECT_EQ(c->tabelle.codice_errore, codice::kLetturaFallita);
  ASSERT_EQ(c->esito.tipo, Tipo::kCompletato);
  EXPECT_EQ(c->tabelle.stazioni[1].nome, "");
  EXPECT_EQ(c->tabelle.stazioni[80].nome, "( DOPPIO  ) ( BIVIO  ) (NOMENTANO)");
}

TEST_F(SorgenteInstabileTest, LineSourceCutInsideARowIsAReadingFailure) {
  // The text ends after the position of a gradient row, before its value.
  const size_t taglio = linea_.find("pendenza  , 950    ,") + 20;
  Compila(Linea(), SorgenteInstabile::Modo::kAccorciata, taglio);
  EXPECT_EQ(c->tabelle.codice_errore, codice::kLetturaFallita);
  ASSERT_EQ(c->esito.tipo, Tipo::kCompletato);  // the grid was made before
  EXPECT_FALSE(c->fs.Exists(Treno()));
}

TEST_F(SorgenteInstabileTest, TrainSourceCutInsideAStationRowIsAReadingFailure) {
  const size_t taglio = treno_.find("stazione,  108450, 12,") + 22;
  Compila(Treno(), SorgenteInstabile::Modo::kAccorciata, taglio);
  EXPECT_EQ(c->tabelle.codice_errore, codice::kLetturaFallita);
  ASSERT_EQ(c->esito.tipo, Tipo::kCompletato);
  EXPECT_EQ(c->tabelle.stazioni[11].nome, "BIVIO ORVIETO SUD");  // rows before it stay
}

TEST_F(SorgenteInstabileTest, LineSourceCutAnywhere) {
  // The plan of the line is built on every eighth cut only: it costs most
  // and does not change how the text is read.
  int n = 0;
  for (size_t taglio = 0; taglio <= linea_.size(); taglio += 37, ++n) {
    SCOPED_TRACE(taglio);
    Compila(Linea(), SorgenteInstabile::Modo::kAccorciata, taglio, n % 8 == 0 ? 1 : 0);
    EXPECT_FALSE(c->fs.Exists(Linea()));
  }
}

TEST_F(SorgenteInstabileTest, TrainSourceCutAnywhere) {
  for (size_t taglio = 0; taglio <= treno_.size(); taglio += 13) {
    SCOPED_TRACE(taglio);
    Compila(Treno(), SorgenteInstabile::Modo::kAccorciata, taglio, 0);
    EXPECT_FALSE(c->fs.Exists(Treno()));
    EXPECT_EQ(c->esito.tipo, Tipo::kCompletato);
  }
}

}  // namespace
