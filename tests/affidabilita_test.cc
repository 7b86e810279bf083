// Inputs that once broke the compiler (found by the fuzzers), each pinned
// down with the behaviour that replaced the fault.
#include <gtest/gtest.h>

#include "platform/executable_dir.h"

#include <string>

#include "compiler/codici_errore.h"
#include "support/sorgente_linea.h"
#include "supporto/compila_memoria.h"

namespace {

using Tipo = EsitoCompilazione::Tipo;

std::string LineaConCartello(size_t lunghezza_testo) {
  return LineaLunga(3000, {"cartello indicatore, 1200, " + std::string(lunghezza_testo, 'X')});
}

class LimitiTestoTest : public LettoreLineaFixture {};

// A board text has a 16-bit byte count in the station table file: a longer
// one is refused by the reader, which used to store it and leave the run to
// fail while encoding the station table, after the line table was written.
TEST_F(LimitiTestoTest, BoardTextBeyondSixteenBitsIsRefused) {
  EXPECT_FALSE(Leggi(LineaConCartello(65536)));
  EXPECT_EQ(t.codice_errore, codice::kValoreEccessivo);
  EXPECT_EQ(t.posizione_errore, 1200);
  EXPECT_EQ(t.stazioni[80].nome, "");
  EXPECT_EQ(t.percorso[25].tipo, 0);
  EXPECT_FALSE(LineaPresente());
}

TEST_F(LimitiTestoTest, BoardTextOfSixteenBitsIsKept) {
  EXPECT_TRUE(Leggi(LineaConCartello(65535)));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(t.stazioni[80].nome.size(), 65535u);
}

TEST(LimitiTestoCompilazioneTest, RefusedBoardStillGivesAllThreeFiles) {
  CompilazioneInMemoria c;
  CompilaInMemoria(LineaConCartello(70000), SorgenteTrenoIncorporata(), &c);
  ASSERT_EQ(c.esito.tipo, Tipo::kCompletato) << c.esito.fallimento.message();
  EXPECT_EQ(c.tabelle.codice_errore, codice::kValoreEccessivo);
  EXPECT_EQ(c.fs.files.count(JoinPath(kDirectoryMemoria, "Lavrano_Cestelle_58121.sim")), 1u);
  EXPECT_EQ(c.fs.files.count(JoinPath(kDirectoryMemoria, "Lavrano_Cestelle_58121.dat")), 1u);
  EXPECT_EQ(c.fs.files.count(JoinPath(kDirectoryMemoria, "Lavrano_Cestelle_linea.dat")), 1u);
}

}  // namespace
