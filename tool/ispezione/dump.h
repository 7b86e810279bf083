#ifndef SB_TOOL_ISPEZIONE_DUMP_H_
#define SB_TOOL_ISPEZIONE_DUMP_H_

// `scenario_tool dump FILE`: one compiled file decoded completely, every
// record shown, as an aligned table, one JSON document or CSV.

#include <iosfwd>
#include <limits>
#include <string>

#include "tool/ispezione/descrizione.h"

struct OpzioniDump {
  std::string file;
  Formato formato = Formato::kTesto;
  // Stretch of line shown, km from its start (grid cells and line-table rows
  // by their position, stations by theirs; other entries always shown).
  double da_km = -std::numeric_limits<double>::infinity();
  double a_km = std::numeric_limits<double>::infinity();
  int ogni = 0;  // line table only: every N-th metre; 0 = every row
};

// Runs the dump; the records go to `out`, a refusal (one line naming the
// file, the byte offset and what was expected) to `err`. Returns the tool's
// exit status: 0, 1 for a file that does not decode, 2 for a file that
// cannot be read or recognised or options that do not fit it.
int esegui_dump(const OpzioniDump& o, std::ostream& out, std::ostream& err);

#endif  // SB_TOOL_ISPEZIONE_DUMP_H_
