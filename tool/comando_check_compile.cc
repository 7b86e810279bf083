#include <CLI/CLI.hpp>

#include "tool/comandi.h"

void registra_check_compile(CLI::App& app, Azione* azione) {
  (void)app;
  (void)azione;
}
