// The language server's message loop fed arbitrary bytes after a session's
// opening: framing, malformed JSON, unknown methods, positions and ranges
// out of the document, edits out of order, huge lengths. Whatever comes,
// the loop ends at the end of the input (no crash, no hang), and every
// message it writes is framed JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "tool/lsp/ciclo.h"
#include "tool/lsp/cornice.h"

namespace {

// Two small sources, open from the start, so that edits and questions
// reach a compile.
std::string apertura() {
  using nlohmann::json;
  auto apri = [](const char* uri, const char* testo) {
    return incornicia(
        json{{"jsonrpc", "2.0"},
             {"method", "textDocument/didOpen"},
             {"params",
              {{"textDocument",
                {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", testo}}}}}}
            .dump());
  };
  return incornicia(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})") +
         incornicia(R"({"jsonrpc":"2.0","method":"initialized","params":{}})") +
         apri("file:///fuzz/F_linea.txt",
              "[generale]\r\nlunghezza percorso, 20000\r\n[pendenze]\r\npendenza  , 950, -12\r\n"
              "montagna, 3000, 4000, 11\r\n") +
         apri("file:///fuzz/F_1-.txt",
              "[generale]\r\nvelocita, 0, 30\r\nsegnale, 5000, 2, 4, 1, 1, 0, 2, 2,1,1, 0\r\n");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string inizio = apertura();
  std::istringstream in(inizio + std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  servi_lsp(in, out);
  // Every answer framed, its body JSON.
  const std::string o = out.str();
  for (size_t i = 0; i < o.size();) {
    const size_t fine = o.find("\r\n\r\n", i);
    if (o.compare(i, 16, "Content-Length: ") != 0 || fine == std::string::npos) std::abort();
    const size_t n = std::stoul(o.substr(i + 16, fine - i - 16));
    if (fine + 4 + n > o.size()) std::abort();
    if (!nlohmann::json::accept(o.substr(fine + 4, n))) std::abort();
    i = fine + 4 + n;
  }
  return 0;
}
