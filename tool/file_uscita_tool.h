#ifndef SB_TOOL_FILE_USCITA_TOOL_H_
#define SB_TOOL_FILE_USCITA_TOOL_H_

// The compiled files of an author's scenario, written into a directory all
// or none: NAME_linea.dat (when the compile built the plan of the line),
// NAME_NUMBER.sim and NAME_NUMBER.dat, in the builder's encoding. Each is
// streamed to its temporary name as it is encoded, so the large line table
// is never held whole in memory; only once all three are complete do they
// take their names (see scrittura_atomica.h).

#include <string>
#include <vector>

#include "compiler/tabelle.h"
#include "platform/file_system.h"
#include "platform/status.h"

// REQUIRES (both): `t` is finished and stamped (a completed compile).
Status scrivi_file_compilati(FileSystem& fs, const std::string& directory, const Tabelle& t);

// The first half, for a caller that puts more files in place with them:
// writes each file under its temporary name and appends its final path to
// `*finali`, for sostituisci_con_nuovi. On failure the temporaries it wrote
// are deleted.
Status scrivi_compilati_nuovi(FileSystem& fs, const std::string& directory, const Tabelle& t,
                              std::vector<std::string>* finali);

#endif  // SB_TOOL_FILE_USCITA_TOOL_H_
