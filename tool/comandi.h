#ifndef SB_TOOL_COMANDI_H_
#define SB_TOOL_COMANDI_H_

#include <functional>

#include "tool/stato_uscita.h"

namespace CLI {
class App;
}

// What a subcommand runs once the command line is parsed; returns the exit
// status.
using Azione = std::function<int()>;

// Each subcommand adds itself to `app` with its options, and sets `*azione`
// to its run when the command line chooses it.
void registra_export(CLI::App& app, Azione* azione);
void registra_check_compile(CLI::App& app, Azione* azione);
void registra_ispezione(CLI::App& app, Azione* azione);  // dump, plot, diff
void registra_documents(CLI::App& app, Azione* azione);
void registra_lsp(CLI::App& app, Azione* azione);
void registra_preview(CLI::App& app, Azione* azione);

#endif  // SB_TOOL_COMANDI_H_
