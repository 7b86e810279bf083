#ifndef SB_TOOL_LSP_STRUTTURA_H_
#define SB_TOOL_LSP_STRUTTURA_H_

// The shape of one source for the editor: its outline (the sections and the
// named features in them) and, beside every position, the cell and the
// kilometre it becomes.

#include <nlohmann/json.hpp>

#include "tool/lsp/funzioni.h"

// textDocument/documentSymbol: the sections from their markers on, and in
// each the stations by name, the text boards by their text, the tunnels,
// slow-downs, signals and speed changes by kilometre.
nlohmann::json simboli(const SorgenteAperta& s);

// textDocument/inlayHint over `intervallo`: "cell 276 · km 13.80" after each
// position field of the rows in it.
nlohmann::json suggerimenti(const SorgenteAperta& s, const nlohmann::json& intervallo);

// textDocument/formatting: the fields aligned anew (see formattazione.h),
// one edit for each run of blanks that changes.
nlohmann::json formattazione(const SorgenteAperta& s);

#endif  // SB_TOOL_LSP_STRUTTURA_H_
