// Malformed and hostile line sources: whatever the text, the reader ends
// with a recorded code (or none), deletes the source and leaves the tables
// consistent. Inputs come from a fixed-seed generator so failures replay.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "compiler/codici_errore.h"
#include "support/sorgente_linea.h"

namespace {

class RobustezzaLineaTest : public LettoreLineaFixture {
 protected:
  // Reads `testo` on fresh tables and checks what must hold after any input.
  void Verifica(const std::string& testo) {
    Nuove(static_cast<int32_t>(rng() % 4 != 0));
    const bool segue_treno = Leggi(testo);
    SCOPED_TRACE(testo);
    static const std::set<int32_t> codici_ritorno = {
        codice::kLunghezzaEccessiva,   codice::kRipetizioneInizio,  codice::kRipetizioneFine,
        codice::kRipetizioneCodici,    codice::kCartelloOccupato,   codice::kNessunGenerale,
        codice::kCurvaErrata,          codice::kLetturaFallita,     codice::kIndicatoriOccupato,
        codice::kCurvaOltreTabella,    codice::kTroppiCartelli,     codice::kMontagnaOltrePercorso,
        codice::kTroppeMontagne,       codice::kValoreEccessivo,    codice::kCursoreOltre};
    if (segue_treno) {
      ASSERT_TRUE(t.codice_errore == 0 || t.codice_errore == codice::kFuoriPercorso)
          << t.codice_errore;
      ASSERT_TRUE(t.ha_percorso());
      ASSERT_EQ(t.percorso.size(), static_cast<size_t>(t.numero_celle) + 1);
      if (t.scrivi_linea != 0) {
        ASSERT_EQ(t.tabella_linea.size(), 2 * (static_cast<size_t>(t.limite_tabella) + 1));
        ASSERT_EQ(t.linea(t.limite_tabella - 2, 1).codice, valore::kReale);
        ASSERT_EQ(t.linea(t.limite_tabella - 1, 1).codice, valore::kVuoto);
      } else {
        ASSERT_TRUE(t.tabella_linea.empty());
      }
    } else {
      ASSERT_EQ(codici_ritorno.count(t.codice_errore), 1u) << t.codice_errore;
    }
    ASSERT_GE(cartello, 0);
    ASSERT_LE(cartello, 80);
    ASSERT_GE(t.numero_montagne, 0);
    ASSERT_LE(t.numero_montagne, 80);
    for (const cella& c : t.percorso) {
      ASSERT_TRUE(c.tipo == 0 || c.tipo == tipo_cella::kIndicatoriVmax ||
                  c.tipo == tipo_cella::kMontagna || c.tipo == tipo_cella::kCartello)
          << int{c.tipo};
    }
    ASSERT_FALSE(LineaPresente());
  }

  std::string Parola(const std::vector<std::string>& v) { return v[rng() % v.size()]; }

  std::mt19937 rng{20240611};
};

const std::vector<std::string> kParole = {
    "[generale]", "[pendenze]", "[fine]", "lunghezza percorso", "progressiva tre",
    "progressiva due", "progressiva uno", "sfondo uno", "ripetizione segnali 9 codici",
    "ripetizione segnali 4", "pendenza", "curvas3", "curvad6", "curva", "montagna",
    "indicatori_vmax", "cartello indicatore", "cartello_indicatore", "- commento", "-", "[", "]",
    "\"", "velocita", "stazione", "  ", "(ZONA)(COD.)"};
const std::vector<std::string> kNumeri = {
    "0",      "1",          "50",          "100",         "950",          "1000",  "1050",
    "7900",   "7901",       "20000",       "-26",         "-76",          "13",    "11",
    "300",    "32767",      "40000",       "2147483647",  "-2147483648",   "2147483648",
    "99999999999999999999", "1000001",     "12x",         "AC",           "+5",    ""};
const std::vector<std::string> kSeparatori = {",", ", ", "\r\n", "\n", "\r", "   ", ",,", "\t"};

TEST_F(RobustezzaLineaTest, RandomBytes) {
  for (int i = 0; i < 800; ++i) {
    std::string s;
    if (i % 2 == 0) s = "[generale]\r\nlunghezza percorso, " + Parola(kNumeri) + "\r\n";
    const size_t n = rng() % 300;
    for (size_t k = 0; k < n; ++k) s += static_cast<char>(rng() & 0xFF);
    Verifica(s);
    if (HasFatalFailure()) return;
  }
}

TEST_F(RobustezzaLineaTest, TokenSoup) {
  for (int i = 0; i < 1500; ++i) {
    std::string s;
    if (i % 3 != 0)
      s = "[generale]\r\nlunghezza percorso, " + Parola({"1000", "20000", "0"}) + "\r\n";
    const size_t n = rng() % 60;
    for (size_t k = 0; k < n; ++k) {
      switch (rng() % 3) {
        case 0: s += Parola(kParole); break;
        case 1: s += Parola(kNumeri); break;
        default: s += Parola(kSeparatori); break;
      }
    }
    Verifica(s);
    if (HasFatalFailure()) return;
  }
}

TEST_F(RobustezzaLineaTest, DamagedWellFormedSource) {
  const std::string base = SorgenteLinea(
      {"lunghezza percorso,    20000", "progressiva chilometrica uno,    1000,    16400,    1",
       "sfondo uno,    1", "ripetizione segnali 9 codici,    6800,    20000"},
      {"pendenza  , 950    , -12", "pendenza  , 17200          , -4", "", "[curve]",
       "curvas6,  1650,  400", "- Stazione Nuova", "curvad4, 11000,  300", "[cartelli]",
       "indicatori_vmax,  1050, 85, 90, 95, 0, 85, 90, 95, 0", "[montagne]",
       "montagna, 9400,11300,11", "montagna, 11450,  12000,  2", "[indicazioni]",
       "cartello indicatore,  6200,     ( DOPPIO  ) ( BIVIO  ) (NOMENTANO)",
       "cartello_indicatore,  6800,   (ZONA)(COD.)"});
  Verifica(base);
  ASSERT_EQ(t.codice_errore, 0);
  for (int i = 0; i < 1200; ++i) {
    std::string s = base;
    switch (i % 4) {
      case 0: s.resize(rng() % s.size()); break;  // truncated anywhere
      case 1:
        for (int k = 0; k < 3; ++k) s[rng() % s.size()] = static_cast<char>(rng() & 0xFF);
        break;
      case 2: s.insert(rng() % s.size(), Parola(kNumeri) + Parola(kSeparatori)); break;
      default: {
        const size_t a = rng() % s.size();
        s.erase(a, rng() % 40);  // a field, a comma or a line end gone
        break;
      }
    }
    Verifica(s);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
