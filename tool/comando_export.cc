// `scenario_tool export`: the built-in scenario's two sources and three
// documents, byte for byte as the builder writes them, as a starting point
// for an author's own scenario.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "compiler/nomi_file.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "sources/documenti.h"
#include "tool/comandi.h"
#include "tool/percorsi.h"
#include "tool/scrittura_atomica.h"

namespace {

// The identity of the built-in scenario.
constexpr char kScenario[] = "Lavrano_Cestelle";
constexpr char kTreno[] = "58121";

struct OpzioniExport {
  std::string directory = ".";
  bool forza = false;
};

int esegui_export(const OpzioniExport& o) {
  auto fs = MakeRealFileSystem();
  std::string creata;
  if (Status s = crea_directory(o.directory, &creata); !s.ok()) {
    std::fprintf(stderr, "scenario_tool export: %s\n", s.message().c_str());
    return kToolUso;
  }
  struct Documento {
    std::string nome;
    TabellaRighe righe;
  };
  const std::vector<Documento> documenti = {
      {nome_sorgente_linea(kScenario), righe_linea()},
      {nome_sorgente_treno(kScenario, kTreno), righe_treno()},
      {nome_note(kScenario, kTreno), righe_note(kTreno)},
      {nome_rallentamenti(kScenario, kTreno), righe_rallentamenti()},
      {nome_scheda(kScenario, kTreno), righe_scheda(kTreno)},
  };
  std::vector<FileDaScrivere> file;
  std::vector<std::string> presenti;
  for (const Documento& d : documenti) {
    FileDaScrivere f;
    f.path = JoinPath(o.directory, d.nome);
    if (Status s = CodificaRighe(d.righe, &f.dati); !s.ok()) {
      std::fprintf(stderr, "scenario_tool export: cannot encode '%s': %s\n", d.nome.c_str(),
                   s.message().c_str());
      togli_creata(o.directory, creata);
      return kToolProblemi;
    }
    if (fs->Exists(f.path)) presenti.push_back(f.path);
    file.push_back(std::move(f));
  }
  if (!presenti.empty() && !o.forza) {
    std::string elenco;
    for (const std::string& p : presenti) elenco += (elenco.empty() ? "'" : ", '") + p + "'";
    std::fprintf(stderr,
                 "scenario_tool export: not overwriting %s (use --force to replace); nothing "
                 "written\n",
                 elenco.c_str());
    return kToolProblemi;
  }
  if (Status s = scrivi_insieme(*fs, file); !s.ok()) {
    togli_creata(o.directory, creata);
    std::fprintf(stderr, "scenario_tool export: %s; nothing written\n", s.message().c_str());
    return kToolProblemi;
  }
  // What was written, one path a line, as documents and preview say it.
  for (const FileDaScrivere& f : file) std::printf("%s\n", f.path.c_str());
  return kToolOk;
}

}  // namespace

void registra_export(CLI::App& app, Azione* azione) {
  auto opzioni = std::make_shared<OpzioniExport>();
  CLI::App* sub = app.add_subcommand(
      "export",
      "Write the built-in line and train sources and the three driver documents into DIR, "
      "byte for byte as scenario_builder writes them");
  sub->add_option("-o,--output", opzioni->directory,
                  "Directory to write into, created with its parents if missing (default: .)")
      ->type_name("DIR");
  sub->add_flag("--force", opzioni->forza, "Replace files that already exist");
  sub->callback([azione, opzioni] { *azione = [opzioni] { return esegui_export(*opzioni); }; });
}
