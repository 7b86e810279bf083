#ifndef SB_TOOL_SCRITTURA_ATOMICA_H_
#define SB_TOOL_SCRITTURA_ATOMICA_H_

// Writes a set of files into one directory all or nothing: either every
// file has its new content, or every file of those names is as it was
// before (present with its old bytes, or absent).
//
// Each file is first written whole under a temporary name beside it
// (name + kSuffissoNuovo). Only when all are complete does each old file
// step aside (name + kSuffissoVecchio) and each new one take its name;
// the old ones are then deleted. A failure at any step undoes the steps
// before it, in reverse order.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"

inline constexpr char kSuffissoNuovo[] = ".scenario_tool-new";
inline constexpr char kSuffissoVecchio[] = ".scenario_tool-old";

struct FileDaScrivere {
  std::string path;
  std::string dati;
};

// The message of a failure names the operation, the path and the reason;
// when undoing failed as well, it says which file could not be put back.
Status scrivi_insieme(FileSystem& fs, const std::vector<FileDaScrivere>& file);

// The second half of scrivi_insieme, for files whose new content was already
// written whole under path + kSuffissoNuovo: gives each of `finali` its new
// content, all or nothing. On failure no temporary is left.
Status sostituisci_con_nuovi(FileSystem& fs, const std::vector<std::string>& finali);

// Deletes the temporaries of `finali`, whose new content is not wanted.
void scarta_nuovi(FileSystem& fs, const std::vector<std::string>& finali);

#endif  // SB_TOOL_SCRITTURA_ATOMICA_H_
