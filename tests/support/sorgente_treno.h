#ifndef SB_TESTS_SUPPORT_SORGENTE_TRENO_H_
#define SB_TESTS_SUPPORT_SORGENTE_TRENO_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/ambiente.h"
#include "compiler/memorizza_percorso.h"
#include "compiler/tabelle.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "support/righe_testo.h"
#include "supporto/memory_file_system.h"

// A station row with the given position, kind, stop length, name, mar and
// tab, and plain values in the other columns.
inline std::string Stazione(int posizione, int tipo, int lung, const std::string& nome,
                            int mar = 0, int tab = 0) {
  return "stazione, " + std::to_string(posizione) + ", " + std::to_string(tipo) + ", " +
         std::to_string(lung) + ",  0, " + std::to_string(tab) + ", " + std::to_string(mar) +
         ",  0,0,0,  4,1,1,    0,   0, 0, 0, " + nome;
}

// The train half read over a source held in memory, on a grid of 3661 cells
// (the built-in line's) as the line half leaves it. A test that needs more
// than one reading builds one of these per reading.
struct LetturaTreno {
  LetturaTreno() {
    t.nome_scenario = "S";
    t.numero_treno = "1";
    t.numero_celle = 3660;
    t.percorso.resize(3661);
  }

  static std::string Sorgente() { return JoinPath("/d", "S_1-.txt"); }

  void leggi(const std::string& testo, int32_t indice_cartello = 63) {
    fs.files[Sorgente()] = testo;
    leggi_sorgente_treno(t, Ambiente{&fs, "/d"}, indice_cartello);
  }
  // Reads rows placed after the marker.
  void leggi_righe(const std::vector<std::string>& righe, int32_t indice_cartello = 63) {
    leggi("[generale]\r\n" + Righe(righe), indice_cartello);
  }

  const cella& c(int k) const { return t.percorso.at(static_cast<size_t>(k)); }
  const record_stazione& s(int i) const { return t.stazioni.at(static_cast<size_t>(i)); }

  Tabelle t;
  MemoryFileSystem fs;
};

class LettoreTrenoFixture : public ::testing::Test, protected LetturaTreno {};

#endif  // SB_TESTS_SUPPORT_SORGENTE_TRENO_H_
