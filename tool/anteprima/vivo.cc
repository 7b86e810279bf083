// The watch loop: compile, publish, and poll both sources every few
// milliseconds; an open page hears of each new compile at once.
#include <chrono>
#include <memory>
#include <ostream>
#include <thread>

#include "tool/anteprima/anteprima.h"
#include "tool/anteprima/osservatore.h"
#include "tool/anteprima/pagina.h"
#include "tool/anteprima/server.h"
#include "tool/stato_uscita.h"

namespace {

// How often the sources are looked at: well under the time a compile of the
// built-in scenario and the page's redraw take together.
constexpr auto kIntervallo = std::chrono::milliseconds(15);
constexpr auto kQuiete = std::chrono::milliseconds(5);

}  // namespace

int osserva_sorgenti(const OpzioniAnteprima &o, const std::atomic<bool> &fermo, std::ostream &out,
                     std::ostream &err) {
  std::string errore;
  std::unique_ptr<ServerAnteprima> server = avvia_server(o.porta, &errore);
  if (!server) {
    err << "scenario_tool preview: " << errore << '\n';
    return kToolUso;
  }
  Osservatore osservatore({o.linea, o.treno});
  // The picture of the last compile without errors stays on the page while
  // the sources have errors, with the errors over it.
  JsonPagina buono = nullptr;
  uint64_t versione = 0;
  auto compila = [&] {
    JsonPagina d = dati_sorgenti(o);
    // Copied out: adding members to `d` moves them.
    const size_t n_errori = d["diagnostica"]["errori"].get<size_t>();
    const size_t n_avvisi = d["diagnostica"]["avvisi"].get<size_t>();
    const bool errori = n_errori > 0 || !d["diagnostica"]["pulita"].get<bool>();
    bool fresco = true;
    if (!errori && !d["disegno"].is_null()) {
      buono = d["disegno"];
    } else if (!buono.is_null()) {
      d["disegno"] = buono;
      fresco = false;
    } else {
      fresco = false;
    }
    d["fresco"] = fresco;
    d["versione"] = ++versione;
    d["vivo"] = true;
    out << "compiled: " << n_errori << " errors, " << n_avvisi << " warnings"
        << (fresco ? "" : "; the page keeps the last good picture") << std::endl;
    const std::string dati = json_in_pagina(d);
    server->pubblica(pagina_html(std::move(d), true), dati, versione);
  };
  compila();
  out << "preview of " << o.linea << " and " << o.treno
      << " at http://127.0.0.1:" << server->porta() << "/ (Ctrl-C ends)" << std::endl;
  while (!fermo.load()) {
    std::this_thread::sleep_for(kIntervallo);
    if (!osservatore.cambiato()) continue;
    // An editor's save may be seen half written: compile once the files
    // have held still for a moment.
    do std::this_thread::sleep_for(kQuiete);
    while (osservatore.cambiato());
    compila();
  }
  server->ferma();
  out << "preview ended" << std::endl;
  return kToolOk;
}
