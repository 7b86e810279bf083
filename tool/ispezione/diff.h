#ifndef SB_TOOL_ISPEZIONE_DIFF_H_
#define SB_TOOL_ISPEZIONE_DIFF_H_

// `scenario_tool diff DIR_A DIR_B`: two compiled scenarios compared record
// by record (grid cells, station entries, line-table rows); each record that
// differs is shown decoded on both sides, the first 50 of each file, then a
// count.

#include <iosfwd>
#include <string>

struct OpzioniDiff {
  std::string dir_a, dir_b;
  std::string nome, numero;  // choose the scenario when a directory holds several
};

// Records shown per file before the rest is only counted.
inline constexpr size_t kDiffMostrati = 50;

// Returns 0 when both scenarios are identical, 1 when they differ, 2 when
// either cannot be read or does not decode (the reason on `err`).
int esegui_diff(const OpzioniDiff& o, std::ostream& out, std::ostream& err);

#endif  // SB_TOOL_ISPEZIONE_DIFF_H_
