// `scenario_tool preview LINE TRAIN`: the live preview of an author's
// sources, as a page written once or, with --watch, served and kept up to
// date until Ctrl-C.
#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>

#include "tool/anteprima/anteprima.h"
#include "tool/comandi.h"
#include "tool/percorsi.h"

namespace {

std::atomic<bool> g_fermo{false};

extern "C" void al_segnale(int) { g_fermo.store(true); }

struct Opzioni {
  OpzioniAnteprima a;
  bool vivo = false;
};

int uso(const std::string &messaggio) {
  std::fprintf(stderr, "scenario_tool preview: %s\n", messaggio.c_str());
  return kToolUso;
}

int esegui(Opzioni o) {
  if (Status s = controlla_ordine("preview", o.a.linea, o.a.treno); !s.ok())
    return uso(s.message());
  if (Status s = deduci_identita(o.a.linea, o.a.treno, &o.a.nome, &o.a.numero); !s.ok())
    return uso(s.message());
  if (!o.vivo) {
    if (o.a.uscita.empty()) o.a.uscita = o.a.nome + "_" + o.a.numero + "_anteprima.html";
    return scrivi_anteprima(o.a, std::cout, std::cerr);
  }
  if (!o.a.uscita.empty()) return uso("-o writes a page; --watch serves it instead: give one");
  std::signal(SIGINT, al_segnale);
  std::signal(SIGTERM, al_segnale);
  return osserva_sorgenti(o.a, g_fermo, std::cout, std::cerr);
}

}  // namespace

void registra_preview(CLI::App &app, Azione *azione) {
  auto o = std::make_shared<Opzioni>();
  CLI::App *p = app.add_subcommand("preview",
                                   "Compile both sources and draw them as one self-contained "
                                   "HTML page (the plan, and the "
                                   "speed, gradient and every feature along the line, with the "
                                   "row that placed each); "
                                   "with --watch, serve the page on 127.0.0.1 and update it "
                                   "whenever a source changes");
  p->add_option("LINE", o->a.linea, "The line source (NAME_linea.txt)")->required();
  p->add_option("TRAIN", o->a.treno, "The train source (NAME_NUMBER-.txt)")->required();
  p->add_option("-o,--output", o->a.uscita,
                "The page to write (default: NAME_NUMBER_anteprima.html here)")
      ->type_name("FILE.html");
  p->add_option("--name", o->a.nome, "Scenario name (default: from the line source's file name)")
      ->type_name("NAME");
  p->add_option("--number", o->a.numero,
                "Train number (default: from the train source's file name)")
      ->type_name("NUMBER");
  p->add_flag("--watch", o->vivo,
              "Serve the page on 127.0.0.1 and recompile whenever a source "
              "changes; Ctrl-C ends");
  p->add_option("--port", o->a.porta, "--watch: the port (default: a free one, printed)")
      ->check(CLI::Range(0, 65535));
  p->callback([azione, o] { *azione = [o] { return esegui(*o); }; });
}
