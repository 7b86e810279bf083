// The three subcommands that read compiled scenarios back: dump, plot, diff.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "tool/comandi.h"
#include "tool/ispezione/diff.h"
#include "tool/ispezione/dump.h"
#include "tool/ispezione/plot.h"

void registra_ispezione(CLI::App& app, Azione* azione) {
  // The options are owned by the callbacks, which the app keeps, and by the
  // action, which runs after parsing.
  auto dump_o = std::make_shared<OpzioniDump>();
  auto plot_o = std::make_shared<OpzioniPlot>();
  auto diff_o = std::make_shared<OpzioniDiff>();
  OpzioniDump& dump = *dump_o;
  OpzioniPlot& plot = *plot_o;
  OpzioniDiff& diff = *diff_o;

  CLI::App* d = app.add_subcommand(
      "dump", "decode one compiled file (track grid, station table or line table) completely");
  d->add_option("FILE", dump.file, "the compiled file")->required();
  auto formato = std::make_shared<std::string>("text");
  d->add_option("--format", *formato, "text (an aligned table, the default), json or csv")
      ->check(CLI::IsMember({"text", "json", "csv"}));
  d->add_option("--from", dump.da_km, "first km shown");
  d->add_option("--to", dump.a_km, "last km shown");
  d->add_option("--every", dump.ogni, "line table: show every N-th metre")
      ->check(CLI::PositiveNumber);
  d->callback([azione, dump_o, formato] {
    dump_o->formato = *formato == "json" ? Formato::kJson
                      : *formato == "csv" ? Formato::kCsv
                                          : Formato::kTesto;
    *azione = [dump_o] { return esegui_dump(*dump_o, std::cout, std::cerr); };
  });

  CLI::App* p = app.add_subcommand("plot", "draw a compiled scenario as an SVG picture");
  p->add_option("DIR", plot.dir, "directory of the compiled files")->required();
  p->add_option("--name", plot.nome, "scenario name, when DIR holds several");
  p->add_option("--number", plot.numero, "train number, when DIR holds several");
  p->add_option("-o", plot.uscita, "the SVG file to write (default DIR/<name>_<number>.svg)");
  p->callback([azione, plot_o] {
    *azione = [plot_o] { return esegui_plot(*plot_o, std::cout, std::cerr); };
  });

  CLI::App* f = app.add_subcommand(
      "diff", "compare two compiled scenarios record by record (exit 0 identical, 1 not)");
  f->add_option("DIR_A", diff.dir_a, "directory of the first scenario")->required();
  f->add_option("DIR_B", diff.dir_b, "directory of the second scenario")->required();
  f->add_option("--name", diff.nome, "scenario name, when a directory holds several");
  f->add_option("--number", diff.numero, "train number, when a directory holds several");
  f->callback([azione, diff_o] {
    *azione = [diff_o] { return esegui_diff(*diff_o, std::cout, std::cerr); };
  });
}
