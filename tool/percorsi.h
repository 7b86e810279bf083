#ifndef SB_TOOL_PERCORSI_H_
#define SB_TOOL_PERCORSI_H_

#include <optional>
#include <string>

#include "platform/status.h"
#include "tool/diagnosi/nomi_sorgenti.h"  // nome_da_linea, numero_da_treno

// Fails, naming `dir` and the system's reason, unless `dir` is an existing
// directory.
Status controlla_directory(const std::string& dir);

// Makes `dir` an existing directory, creating it and its missing parents.
// Fails, naming `dir` and the system's reason, when it cannot. `*creata`
// receives the outermost directory created ("" when none was), so that a
// caller who ends up writing nothing can take it away again.
Status crea_directory(const std::string& dir, std::string* creata);
// Removes `creata` and the directories under it down to `dir`, each only
// if it is empty.
void togli_creata(const std::string& dir, const std::string& creata);

// Fails, saying why, unless `s` can stand in a file name: not empty, no
// path separators, no characters Windows refuses in a name.
Status controlla_identita(const std::string& s);

#endif  // SB_TOOL_PERCORSI_H_
