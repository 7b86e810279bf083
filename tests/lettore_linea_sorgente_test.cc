// The scenario's own line source, as its writer puts it on disk, read back.

#include <gtest/gtest.h>

#include "compiler/codici_errore.h"
#include "support/sorgente_linea.h"
#include "supporto/compila_memoria.h"

namespace {

using LettoreLineaSorgenteTest = LettoreLineaFixture;

TEST_F(LettoreLineaSorgenteTest, TheWrittenLineSourceReadsCleanly) {
  fs.files.insert_or_assign(PercorsoTreno(), std::string("x"));
  ASSERT_TRUE(Leggi(SorgenteLineaIncorporata()));
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(t.numero_celle, 3660);
  EXPECT_EQ(t.limite_tabella, 183000);
  EXPECT_FALSE(LineaPresente());
  EXPECT_TRUE(fs.Exists(PercorsoTreno()));  // left for the train half

  EXPECT_EQ(t.stazioni[84].fine, 176000);
  const int32_t cambi[3][3] = {{135500, 19250, 0}, {115000, 700, 0}, {104400, 16400, 0}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(81 + i);
    EXPECT_EQ(t.stazioni[81 + i].inizio, cambi[i][0]);
    EXPECT_EQ(t.stazioni[81 + i].fine, cambi[i][1]);
    EXPECT_EQ(t.stazioni[81 + i].posizione, cambi[i][2]);
  }
  EXPECT_EQ(t.stazioni[85].inizio, 1);
  EXPECT_EQ(t.stazioni[85].posizione, 0);
  EXPECT_EQ(t.stazioni[85].fine, 0);
  EXPECT_EQ(t.stazioni[86].inizio, 6800);
  EXPECT_EQ(t.stazioni[86].fine, 176000);
  EXPECT_EQ(t.stazioni[86].posizione, 9);

  EXPECT_EQ(cartello, 63);
  EXPECT_EQ(t.stazioni[80].nome, "( DOPPIO  ) ( BIVIO  ) (NOMENTANO)");
  EXPECT_EQ(t.stazioni[64].nome, "(DEV. I.)");
  EXPECT_EQ(t.stazioni[63].nome, "");
  int cartelli = 0;
  for (const cella& c : t.percorso) cartelli += c.tipo == tipo_cella::kCartello;
  EXPECT_EQ(cartelli, 17);
  EXPECT_EQ(t.numero_montagne, 19);

  EXPECT_EQ(t.percorso[18].pendenza, 100);
  for (int k = 19; k <= 69; ++k) EXPECT_EQ(t.percorso[k].pendenza, 88) << k;
  EXPECT_NE(t.percorso[70].pendenza, 88);
  for (int k = 3658; k <= 3660; ++k) EXPECT_EQ(t.percorso[k].pendenza, 0) << k;

  EXPECT_EQ(t.linea(182998, 0).codice, valore::kReale);
  EXPECT_EQ(t.linea(182999, 0).codice, valore::kVuoto);
}

}  // namespace
