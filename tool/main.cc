// Entry of scenario_tool, the authoring program: exports the built-in
// sources, checks and compiles an author's own sources with diagnostics,
// and reads compiled files back.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tool/comandi.h"

#ifdef _WIN32
#include "platform/windows_h.h"
// windows_h.h first: shellapi.h needs its declarations.
#include <shellapi.h>

#include "platform/wide_text_win.h"
#endif

namespace {

int esegui(int argc, char** argv) {
#ifdef _WIN32
  // The arguments as the system keeps them, in UTF-16, turned into the UTF-8
  // texts the program uses for every path (the narrow ones would be in the
  // ANSI code page and lose what it cannot hold).
  std::vector<std::string> argomenti;
  std::vector<char*> puntatori;
  int n = 0;
  if (LPWSTR* larghi = ::CommandLineToArgvW(::GetCommandLineW(), &n)) {
    for (int i = 0; i < n; ++i) argomenti.push_back(NarrowFromWide(larghi[i]));
    ::LocalFree(larghi);
    for (std::string& a : argomenti) puntatori.push_back(a.data());
    puntatori.push_back(nullptr);
    argc = n;
    argv = puntatori.data();
  }
#endif
  CLI::App app{"scenario_tool: write, check, compile and inspect scenarios of the simulator"};
  // The project's version, the one the packages carry in their names.
  app.set_version_flag("--version", std::string("scenario_tool ") + SB_VERSIONE);
  app.require_subcommand(1);
  Azione azione;
  registra_export(app, &azione);
  registra_check_compile(app, &azione);
  registra_ispezione(app, &azione);
  registra_documents(app, &azione);
  registra_lsp(app, &azione);
  registra_preview(app, &azione);
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

}  // namespace

int main(int argc, char** argv) {
  // Whatever escapes a command (memory exhausted, a library's own failure)
  // ends the run with one line and the status of a failed run, never with
  // the abort an exception leaving main would be.
  try {
    return esegui(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "scenario_tool: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "scenario_tool: unexpected failure\n");
  }
  return kToolProblemi;
}
