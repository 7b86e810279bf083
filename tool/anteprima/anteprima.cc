#include "tool/anteprima/anteprima.h"

#include <memory>
#include <ostream>

#include "platform/file_system.h"
#include "tool/anteprima/pagina.h"
#include "tool/stato_uscita.h"

JsonPagina dati_sorgenti(const OpzioniAnteprima &o) {
  const std::unique_ptr<FileSystem> fs = MakeRealFileSystem();
  std::string linea, treno;
  Status s = fs->Read(o.linea, &linea);
  if (s.ok()) s = fs->Read(o.treno, &treno);
  if (!s.ok()) {
    JsonPagina d;
    d["disegno"] = nullptr;
    JsonPagina x;
    x["severity"] = "error";
    x["code"] = nullptr;
    x["file"] = s.message().find(o.linea) != std::string::npos ? o.linea : o.treno;
    x["line"] = nullptr;
    x["column"] = nullptr;
    x["position_m"] = nullptr;
    x["message"] = s.message();
    d["diagnostica"] = {{"pulita", false},
                        {"errori", 1},
                        {"avvisi", 0},
                        {"testo", s.message() + "\n"},  // a line, as every diagnostic
                        {"elenco", JsonPagina::array({x})}};
    return d;
  }
  // The one call into the compile: the same check `check` runs.
  const std::unique_ptr<Analisi> a =
      analizza(o.linea, std::move(linea), o.treno, std::move(treno), o.nome, o.numero, 1);
  return dati_pagina(*a);
}

int scrivi_anteprima(const OpzioniAnteprima &o, std::ostream &out, std::ostream &err) {
  JsonPagina d = dati_sorgenti(o);
  const bool pulita = d["diagnostica"]["pulita"].get<bool>();
  const std::string testo = d["diagnostica"]["testo"].get<std::string>();
  const std::unique_ptr<FileSystem> fs = MakeRealFileSystem();
  if (Status s = fs->Create(o.uscita, pagina_html(std::move(d), false)); !s.ok()) {
    err << "scenario_tool preview: " << s.message() << '\n';
    return kToolUso;
  }
  err << testo;
  out << o.uscita << '\n';
  return pulita ? kToolOk : kToolProblemi;
}
