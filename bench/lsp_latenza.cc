// The language server's latency, one run: the time from a didChange to the
// publishDiagnostics of both sources, over 200 edits of one row (a value
// put back and forth), and the process's peak memory.
//
//   build/bench/bench/lsp_latenza            the built-in sources
//   build/bench/bench/lsp_latenza --lunga    the line of 1,000,000 m
//
// Prints p50, p99 and the slowest edit in milliseconds, and the peak
// resident set size in MiB.
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "bench/sorgenti_lunghe.h"
#include "sources/windows1252.h"
#include "supporto/compila_memoria.h"
#include "tool/lsp/server.h"

using nlohmann::json;

namespace {

std::string Notifica(const std::string& metodo, json params) {
  return json{{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(params)}}.dump();
}

}  // namespace

int main(int argc, char** argv) {
  const bool lunga = argc > 1 && std::strcmp(argv[1], "--lunga") == 0;
  const std::string linea =
      DecodeWindows1252ToUtf8(lunga ? LineaLunga() : SorgenteLineaIncorporata());
  const std::string treno =
      DecodeWindows1252ToUtf8(lunga ? TrenoLungo() : SorgenteTrenoIncorporata());
  const std::string nome = lunga ? "Lungo" : "Lavrano_Cestelle";
  const std::string uri_linea = "file:///bench/" + nome + "_linea.txt";
  const std::string uri_treno = "file:///bench/" + nome + "_58121-.txt";

  int pubblicate = 0;
  ServerLsp server([&](const std::string& corpo) {
    if (corpo.find("publishDiagnostics") != std::string::npos) ++pubblicate;
  });
  server.accoda(
      json{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {}}}.dump());
  server.accoda(Notifica("initialized", json::object()));
  for (const auto& [uri, testo] : {std::pair{uri_linea, linea}, std::pair{uri_treno, treno}})
    server.accoda(
        Notifica("textDocument/didOpen",
                 {{"textDocument",
                   {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", testo}}}}));
  server.smaltisci();

  // The edited row: the line's first gradient row, its value changed and
  // put back, one character each time.
  size_t riga = 0;
  for (size_t i = 0, r = 0; i < linea.size(); ++i) {
    if (linea.compare(i, 8, "pendenza") == 0) {
      riga = r;
      break;
    }
    if (linea[i] == '\n') ++r;
  }
  // Wall time, and the process's CPU time, which a busy machine's waits
  // for a core leave out.
  std::vector<double> ms, cpu;
  auto cpu_ms = [] {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
  };
  for (int k = 0; k < 200; ++k) {
    const json cambio = {{"range",
                          {{"start", {{"line", riga}, {"character", 0}}},
                           {"end", {{"line", riga}, {"character", 1}}}}},
                         {"text", k % 2 == 0 ? "P" : "p"}};
    const std::string corpo = Notifica("textDocument/didChange",
                                       {{"textDocument", {{"uri", uri_linea}, {"version", k + 2}}},
                                        {"contentChanges", json::array({cambio})}});
    const int prima = pubblicate;
    const double c0 = cpu_ms();
    const auto t0 = std::chrono::steady_clock::now();
    server.accoda(corpo);
    server.smaltisci();
    const auto t1 = std::chrono::steady_clock::now();
    if (pubblicate < prima + 2) {
      std::fprintf(stderr, "lsp_latenza: edit %d published %d lists\n", k, pubblicate - prima);
      return 1;
    }
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    cpu.push_back(cpu_ms() - c0);
  }
  std::sort(ms.begin(), ms.end());
  std::sort(cpu.begin(), cpu.end());
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  std::printf(
      "%s: 200 edits, didChange to publishDiagnostics: wall p50 %.2f ms, p99 %.2f ms, max %.2f "
      "ms; CPU p50 %.2f ms, p99 %.2f ms; peak RSS %.1f MiB\n",
      lunga ? "1,000,000 m line" : "built-in sources", ms[99], ms[197], ms[199], cpu[99], cpu[197],
      static_cast<double>(u.ru_maxrss) / 1024.0);
  return 0;
}
