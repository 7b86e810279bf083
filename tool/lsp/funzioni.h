#ifndef SB_TOOL_LSP_FUNZIONI_H_
#define SB_TOOL_LSP_FUNZIONI_H_

// The answers to an editor's questions about one source: quick fixes,
// hover, completion. Each reads the source's text (Windows-1252 bytes, see
// testo.h) and, where it needs what the compile did, the last compile of
// the pair the source belongs to.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "tool/diagnosi/analisi.h"
#include "tool/lsp/testo.h"

// One source as a question sees it: its text, which of the pair it is, and
// the pair's last compile (null when there is none), with both URIs.
struct SorgenteAperta {
  std::string_view testo;
  int sorgente = 0;  // 0 the line source, 1 the train source
  const Analisi* analisi = nullptr;
  const std::string* uri[2] = {nullptr, nullptr};
};

// textDocument/codeAction: every fix-it of the diagnostics that touch
// `intervallo`, as a quick fix.
nlohmann::json azioni(const SorgenteAperta& s, const nlohmann::json& intervallo);
// textDocument/hover at `p`: null when there is nothing to say.
nlohmann::json hover(const SorgenteAperta& s, Posizione p);
// textDocument/completion at `p`: the keywords of the part of the source
// the cursor is in, each with a snippet of its fields, and the markers.
nlohmann::json completamento(const SorgenteAperta& s, Posizione p);

#endif  // SB_TOOL_LSP_FUNZIONI_H_
