#ifndef SB_TOOL_LSP_DIAGNOSTICHE_H_
#define SB_TOOL_LSP_DIAGNOSTICHE_H_

// The tool's diagnostics in the protocol's terms: ranges in lines and
// UTF-16 units of the source they point into.

#include <nlohmann/json.hpp>
#include <string>

#include "tool/diagnosi/diagnostica.h"
#include "tool/lsp/testo.h"

nlohmann::json posizione_json(const Posizione& p);
Posizione posizione_da_json(const nlohmann::json& j);
// The range of bytes [inizio, fine) of `s`.
nlohmann::json intervallo_di(const TestoSorgente& s, size_t inizio, size_t fine);

// One diagnostic of `d`, which points into `s`; `uri` of the two sources
// for the rows it relates to.
nlohmann::json diagnostica_lsp(const Diagnostica& d, const TestoSorgente* const sorgenti[2],
                               const std::string* const uri[2]);

#endif  // SB_TOOL_LSP_DIAGNOSTICHE_H_
