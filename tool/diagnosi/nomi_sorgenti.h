#ifndef SB_TOOL_DIAGNOSI_NOMI_SORGENTI_H_
#define SB_TOOL_DIAGNOSI_NOMI_SORGENTI_H_

// What the file names of an author's two sources say: a line source is
// named NAME_linea.txt, a train source NAME_NUMBER-.txt, both in the folder
// the builder reads them from.

#include <optional>
#include <string>

// The scenario name a line source's file name gives ("X_linea.txt" gives
// X), and the train number a train source's gives ("X_N-.txt" gives N);
// none when the name does not have that form. Letter case of the fixed
// part does not matter.
std::optional<std::string> nome_da_linea(const std::string& path);
std::optional<std::string> numero_da_treno(const std::string& path);
// The scenario name a train source's file name gives ("X_N-.txt" gives X).
std::optional<std::string> nome_da_treno(const std::string& path);

#endif  // SB_TOOL_DIAGNOSI_NOMI_SORGENTI_H_
