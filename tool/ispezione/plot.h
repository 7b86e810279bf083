#ifndef SB_TOOL_ISPEZIONE_PLOT_H_
#define SB_TOOL_ISPEZIONE_PLOT_H_

// `scenario_tool plot DIR`: one compiled scenario drawn as a self-contained
// SVG picture (no script, no external fonts, images or links): the plan of
// the line to scale, and below it, on one shared km axis, the speed limit,
// the gradient, the tunnels and rows of markers for what stands along the
// line.

#include <functional>
#include <iosfwd>
#include <string>

#include "tool/ispezione/elementi.h"
#include "tool/ispezione/file_compilati.h"

struct OpzioniPlot {
  std::string dir;
  std::string nome, numero;  // choose the scenario when DIR holds several
  std::string uscita;        // the SVG file; empty: "<name>_<number>.svg" in DIR
  // When set, finds the source rows of the scenario read (the sources it
  // was compiled from); false, with the reason in its third argument, when
  // they cannot be had or do not compile to these files.
  std::function<bool(const Scenario &, Provenienze *, std::string *)> provenienze;
};

// The picture of `s`; with `p` every hover text also names the source row
// that placed the feature.
std::string disegna_scenario(const Scenario &s, const Provenienze *p = nullptr);

// Reads the scenario, writes its picture and names the file on `out`.
// Returns 0, 1 for a file that does not decode, 2 for files that are
// missing or unreadable or an output that cannot be written.
int esegui_plot(const OpzioniPlot &o, std::ostream &out, std::ostream &err);

#endif  // SB_TOOL_ISPEZIONE_PLOT_H_
