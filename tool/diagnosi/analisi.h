#ifndef SB_TOOL_DIAGNOSI_ANALISI_H_
#define SB_TOOL_DIAGNOSI_ANALISI_H_

// A check of two sources: the compile in memory and every diagnostic of it,
// warnings first (in the order of the sources), then the codes in the order
// the compile recorded them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tool/diagnosi/compilazione.h"
#include "tool/diagnosi/diagnostica.h"

struct Analisi {
  Analisi(std::string nome_linea, std::string linea, std::string nome_treno, std::string treno)
      : linea(std::move(nome_linea), std::move(linea)),
        treno(std::move(nome_treno), std::move(treno)) {}

  TestoSorgente linea, treno;
  std::unique_ptr<Compilazione> compilazione;
  std::vector<Diagnostica> diagnostiche;

  const TestoSorgente* sorgenti[2] = {&linea, &treno};
  // No code recorded, no failed header check: the files may be written.
  bool pulita() const;
  std::string testo() const { return testo_diagnostiche(diagnostiche, sorgenti); }
  // The JSON form, as a document and as text.
  nlohmann::ordered_json documento() const;
  std::string json() const;
};

// `nome_linea` and `nome_treno` are the paths the diagnostics name;
// `memoria` and `senza_tabella` go to the compile, as compila_sorgenti says.
std::unique_ptr<Analisi> analizza(const std::string& nome_linea, std::string linea,
                                  const std::string& nome_treno, std::string treno,
                                  const std::string& nome, const std::string& numero, int32_t j,
                                  Tabelle* memoria = nullptr, bool senza_tabella = false);

#endif  // SB_TOOL_DIAGNOSI_ANALISI_H_
