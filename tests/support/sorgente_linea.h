#ifndef SB_TESTS_SUPPORT_SORGENTE_LINEA_H_
#define SB_TESTS_SUPPORT_SORGENTE_LINEA_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/ambiente.h"
#include "compiler/memorizza_percorso.h"
#include "compiler/nomi_file.h"
#include "compiler/tabelle.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "support/righe_testo.h"
#include "supporto/memory_file_system.h"

// A line source laid out as the writer lays it out: a row of blanks, the
// "[generale]" marker with trailing blanks, the general rows, a section
// marker, the feature rows, "[fine]" and a closing row of blanks.
inline std::string SorgenteLinea(const std::vector<std::string>& generale,
                                 const std::vector<std::string>& elementi) {
  std::vector<std::string> r = {"     ", "[generale]                        "};
  r.insert(r.end(), generale.begin(), generale.end());
  r.push_back("[pendenze]");
  r.insert(r.end(), elementi.begin(), elementi.end());
  r.push_back("[fine]");
  r.push_back("                ");
  return Righe(r);
}

// A line source of the given length with only feature rows besides it.
inline std::string LineaLunga(int64_t lunghezza, const std::vector<std::string>& elementi) {
  return SorgenteLinea({"lunghezza percorso,    " + std::to_string(lunghezza)}, elementi);
}

// Runs the line half over sources held in memory.
class LettoreLineaFixture : public ::testing::Test {
 protected:
  static constexpr char kDir[] = "/scenario";

  void SetUp() override { Nuove(); }

  // Fresh working tables, as the driver hands them to the reader.
  void Nuove(int32_t scrivi_linea = 1) {
    t = Tabelle();
    t.nome_scenario = "Lavrano_Cestelle";
    t.numero_treno = "58121";
    t.scrivi_linea = scrivi_linea;
    cartello = 80;
  }

  std::string PercorsoLinea() const { return JoinPath(kDir, nome_sorgente_linea(t.nome_scenario)); }
  std::string PercorsoTreno() const {
    return JoinPath(kDir, nome_sorgente_treno(t.nome_scenario, t.numero_treno));
  }

  // Puts `testo` where the line source belongs and reads it.
  bool Leggi(const std::string& testo) {
    fs.files[PercorsoLinea()] = testo;
    return LeggiSenzaScrivere();
  }
  bool LeggiSenzaScrivere() { return leggi_sorgente_linea(t, Ambiente{&fs, kDir}, &cartello); }

  bool LineaPresente() const { return fs.files.count(PercorsoLinea()) != 0; }

  MemoryFileSystem fs;
  Tabelle t;
  int32_t cartello = 80;
};

#endif  // SB_TESTS_SUPPORT_SORGENTE_LINEA_H_
