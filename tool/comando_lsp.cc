// `scenario_tool lsp`: the language server for editors, on standard input
// and output.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>

#include "tool/comandi.h"
#include "tool/lsp/ciclo.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

void registra_lsp(CLI::App& app, Azione* azione) {
  CLI::App* c = app.add_subcommand(
      "lsp",
      "Serve editors over the Language Server Protocol on standard input and output: "
      "diagnostics as you type, hover, completion, outline, quick fixes and formatting");
  c->callback([azione] {
    *azione = [] {
#ifdef _WIN32
      // The framing counts bytes: no CR may be added or taken away.
      _setmode(_fileno(stdin), _O_BINARY);
      _setmode(_fileno(stdout), _O_BINARY);
#endif
      // Buffered, so that the loop can tell whether more messages are
      // already waiting.
      std::ios::sync_with_stdio(false);
      return servi_lsp(std::cin, std::cout);
    };
  });
}
