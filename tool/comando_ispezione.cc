#include <CLI/CLI.hpp>

#include "tool/comandi.h"

void registra_ispezione(CLI::App& app, Azione* azione) {
  (void)app;
  (void)azione;
}
