// Replays a transcript of the language server (see
// support/trascrizione_lsp.h) against a built program:
//   trascrizione_lsp TRANSCRIPT PROGRAM [ARGUMENTS...]
// e.g. `trascrizione_lsp tests/data/lsp/sessione.jsonl wine scenario_tool.exe lsp`.
// The client's side is written whole to a file the program reads as its
// standard input; its standard output is then checked. Exits 0 when every
// expectation is met.
#include "support/trascrizione_lsp.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "sources/windows1252.h"
#include "supporto/compila_memoria.h"

namespace {
// `s` quoted for the shell.
std::string quota(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') {
      out.append("'\\''");
    } else {
      out.push_back(c);
    }
  }
  out.push_back('\'');
  return out;
}

std::string leggi(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: trascrizione_lsp TRANSCRIPT PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  const std::string trascrizione = leggi(argv[1]);
  if (trascrizione.empty()) {
    std::fprintf(stderr, "trascrizione_lsp: cannot read %s\n", argv[1]);
    return 2;
  }
  const auto base =
      std::filesystem::temp_directory_path() / ("trascrizione_lsp_" + std::to_string(::getpid()));
  const auto ingresso = base.string() + ".in";
  const auto uscita = base.string() + ".out";
  std::ofstream(ingresso, std::ios::binary)
      << ingresso_trascrizione(trascrizione, DecodeWindows1252ToUtf8(SorgenteLineaIncorporata()),
                               DecodeWindows1252ToUtf8(SorgenteTrenoIncorporata()));
  std::string comando;
  for (int i = 2; i < argc; ++i) comando += quota(argv[i]) + " ";
  comando += "<" + quota(ingresso) + " >" + quota(uscita);
  const int s = std::system(comando.c_str());
  const int stato = s != -1 && WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  const std::string out = leggi(uscita);
  std::filesystem::remove(ingresso);
  std::filesystem::remove(uscita);
  std::string errore;
  if (!verifica_trascrizione(trascrizione, out, stato, &errore)) {
    std::fprintf(stderr, "trascrizione_lsp: %s\n", errore.c_str());
    return 1;
  }
  std::printf("trascrizione_lsp: %s: every expectation met\n", argv[1]);
  return 0;
}
