#ifndef SB_TOOL_ANTEPRIMA_ANTEPRIMA_H_
#define SB_TOOL_ANTEPRIMA_ANTEPRIMA_H_

// `scenario_tool preview LINE TRAIN`: an author's two sources compiled and
// drawn as one self-contained HTML page, written once or, with --watch,
// served on loopback and brought up to date on every change of either file.

#include <atomic>
#include <iosfwd>
#include <string>

#include "tool/anteprima/dati_pagina.h"

struct OpzioniAnteprima {
  std::string linea, treno;  // paths of the two sources
  std::string nome, numero;  // scenario name and train number
  std::string uscita;        // the page written (not with --watch)
  int porta = 0;             // --watch: 0 for a free port
};

// The page's data for the sources as they are on disk now; a source that
// cannot be read is reported as the page's one diagnostic.
JsonPagina dati_sorgenti(const OpzioniAnteprima &o);

// Writes the page to o.uscita and names it on `out`. Returns 0, 1 when the
// sources have errors (the page is still written, showing them), 2 when the
// page cannot be written.
int scrivi_anteprima(const OpzioniAnteprima &o, std::ostream &out, std::ostream &err);

// Serves the page until `fermo` becomes true (the caller sets it on
// Ctrl-C), compiling again whenever a source changes. Returns 0, or 2 when
// the server cannot start.
int osserva_sorgenti(const OpzioniAnteprima &o, const std::atomic<bool> &fermo, std::ostream &out,
                     std::ostream &err);

#endif  // SB_TOOL_ANTEPRIMA_ANTEPRIMA_H_
