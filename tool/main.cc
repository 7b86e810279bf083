// Entry of scenario_tool, the authoring program: exports the built-in
// sources, checks and compiles an author's own sources with diagnostics,
// and reads compiled files back.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "tool/comandi.h"

int main(int argc, char** argv) {
  CLI::App app{"scenario_tool: write, check, compile and inspect scenarios of the simulator"};
  app.require_subcommand(1);
  Azione azione;
  registra_export(app, &azione);
  registra_check_compile(app, &azione);
  registra_ispezione(app, &azione);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help is a parse "error" with exit code 0; any other is one line.
    if (e.get_exit_code() == 0) return app.exit(e);
    std::fprintf(stderr, "scenario_tool: %s (see --help)\n", e.what());
    return kToolUso;
  }
  return azione ? azione() : kToolUso;
}
