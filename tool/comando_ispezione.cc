// The three subcommands that read compiled scenarios back: dump, plot, diff.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <memory>

#include "platform/file_system.h"
#include "tool/anteprima/provenienze.h"
#include "tool/comandi.h"
#include "tool/ispezione/diff.h"
#include "tool/ispezione/dump.h"
#include "tool/ispezione/plot.h"

namespace {

// The source rows of `s`, from a compile of the two sources; refused when
// the sources do not compile to the grid and stations that were read.
bool provenienze_da_sorgenti(const std::string &linea, const std::string &treno, const Scenario &s,
                             Provenienze *p, std::string *perche) {
  const std::unique_ptr<FileSystem> fs = MakeRealFileSystem();
  std::string l, t;
  Status st = fs->Read(linea, &l);
  if (st.ok()) st = fs->Read(treno, &t);
  if (!st.ok()) {
    *perche = st.message();
    return false;
  }
  const std::unique_ptr<Analisi> a =
      analizza(linea, std::move(l), treno, std::move(t), s.nome, s.numero, 1);
  const Tabelle &c = a->compilazione->tabelle;
  auto uguali = [](const cella &x, const cella &y) {
    return x.tipo == y.tipo && x.dato1 == y.dato1 && x.dato2 == y.dato2 && x.dato3 == y.dato3 &&
           x.dato4 == y.dato4 && x.tempo == y.tempo && x.avviso == y.avviso &&
           x.montagna == y.montagna && x.velocita == y.velocita && x.pendenza == y.pendenza &&
           x.aderenza == y.aderenza;
  };
  if (c.percorso.size() != s.percorso.size() ||
      !std::equal(c.percorso.begin(), c.percorso.end(), s.percorso.begin(), uguali)) {
    *perche = linea + " and " + treno + " do not compile to the track grid of " + s.path_percorso;
    return false;
  }
  *p = provenienze(*a);
  return true;
}

}  // namespace

void registra_ispezione(CLI::App &app, Azione *azione) {
  // The options are owned by the callbacks, which the app keeps, and by the
  // action, which runs after parsing.
  auto dump_o = std::make_shared<OpzioniDump>();
  auto plot_o = std::make_shared<OpzioniPlot>();
  auto diff_o = std::make_shared<OpzioniDiff>();
  OpzioniDump &dump = *dump_o;
  OpzioniPlot &plot = *plot_o;
  OpzioniDiff &diff = *diff_o;

  CLI::App *d = app.add_subcommand("dump",
                                   "decode one compiled file (track grid, "
                                   "station table or line table) completely");
  d->add_option("FILE", dump.file, "the compiled file")->required();
  auto formato = std::make_shared<std::string>("text");
  d->add_option("--format", *formato, "text (an aligned table, the default), json or csv")
      ->check(CLI::IsMember({"text", "json", "csv"}));
  d->add_option("--from", dump.da_km, "first km shown");
  d->add_option("--to", dump.a_km, "last km shown");
  d->add_option("--every", dump.ogni, "line table: show every N-th metre")
      ->check(CLI::PositiveNumber);
  d->callback([azione, dump_o, formato] {
    dump_o->formato = *formato == "json"  ? Formato::kJson
                      : *formato == "csv" ? Formato::kCsv
                                          : Formato::kTesto;
    *azione = [dump_o] { return esegui_dump(*dump_o, std::cout, std::cerr); };
  });

  CLI::App *p = app.add_subcommand("plot", "draw a compiled scenario as an SVG picture");
  p->add_option("DIR", plot.dir, "directory of the compiled files")->required();
  p->add_option("--name", plot.nome, "scenario name, when DIR holds several");
  p->add_option("--number", plot.numero, "train number, when DIR holds several");
  p->add_option("-o", plot.uscita, "the SVG file to write (default DIR/<name>_<number>.svg)");
  auto sorgenti = std::make_shared<std::vector<std::string>>();
  p->add_option("--sources", *sorgenti,
                "the line and train sources the files were compiled from: each "
                "hover text then "
                "names the row that placed its feature")
      ->expected(2)
      ->type_name("LINE TRAIN");
  p->callback([azione, plot_o, sorgenti] {
    if (sorgenti->size() == 2) {
      const std::string linea = (*sorgenti)[0], treno = (*sorgenti)[1];
      plot_o->provenienze = [linea, treno](const Scenario &s, Provenienze *p, std::string *perche) {
        return provenienze_da_sorgenti(linea, treno, s, p, perche);
      };
    }
    *azione = [plot_o] { return esegui_plot(*plot_o, std::cout, std::cerr); };
  });

  CLI::App *f = app.add_subcommand("diff",
                                   "compare two compiled scenarios record by "
                                   "record (exit 0 identical, 1 not)");
  f->add_option("DIR_A", diff.dir_a, "directory of the first scenario")->required();
  f->add_option("DIR_B", diff.dir_b, "directory of the second scenario")->required();
  f->add_option("--name", diff.nome, "scenario name, when a directory holds several");
  f->add_option("--number", diff.numero, "train number, when a directory holds several");
  f->callback([azione, diff_o] {
    *azione = [diff_o] { return esegui_diff(*diff_o, std::cout, std::cerr); };
  });
}
