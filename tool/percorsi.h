#ifndef SB_TOOL_PERCORSI_H_
#define SB_TOOL_PERCORSI_H_

#include <optional>
#include <string>

#include "platform/status.h"
#include "tool/diagnosi/nomi_sorgenti.h"  // nome_da_linea, numero_da_treno

namespace CLI {
class App;
}

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

// Fills an empty `*nome` with the scenario name the line source's file name
// `linea` gives, and an empty `*numero` with the train number the train
// source's `treno` gives. Fails, saying which option to give instead, when
// a file name does not tell.
Status deduci_identita(const std::string& linea, const std::string& treno, std::string* nome,
                       std::string* numero);
// Fails, with the command line that would work, when the two sources are
// given the other way round: `linea` named as a train source and `treno`
// as a line source. `comando` is the subcommand ("check", "documents"...).
Status controlla_ordine(const std::string& comando, const std::string& linea,
                        const std::string& treno);
// Adds to `sub` the two sources, LINE and TRAIN, then --name and --number,
// which stand for what deduci_identita would read from their file names.
void opzioni_sorgenti(CLI::App* sub, std::string* linea, std::string* treno, std::string* nome,
                      std::string* numero);
// Adds --diagnostics-format to `sub`: "text" (the default, on standard
// error) or "json" (on standard output).
void opzione_formato_diagnostiche(CLI::App* sub, std::string* formato);

#endif  // SB_TOOL_PERCORSI_H_
