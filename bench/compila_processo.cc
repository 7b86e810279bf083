// The compile of one scenario as a process of its own: reads the line and
// train sources found in DIR, deletes them, and writes the three compiled
// files there, exactly as the builder's compile does. The whole-process
// benchmark runs it as a child, standing in for the authoring tool's
// compile until that tool is built.
//
//   compila_processo DIR
#include <cstdio>

#include "compiler/memorizza_percorso.h"
#include "platform/file_system.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: compila_processo DIR\n");
    return 2;
  }
  std::unique_ptr<FileSystem> fs = MakeRealFileSystem();
  Tabelle t;
  t.nome_scenario = "Lavrano_Cestelle";
  t.numero_treno = "58121";
  int32_t j = 1;
  EsitoCompilazione e = memorizza_percorso(t, Ambiente{fs.get(), argv[1]}, j);
  switch (e.tipo) {
    case EsitoCompilazione::Tipo::kCompletato:
      return 0;
    case EsitoCompilazione::Tipo::kErroreFatale:
      std::fprintf(stderr, "compile stopped with error %d\n", static_cast<int>(e.numero));
      return 1;
    case EsitoCompilazione::Tipo::kFallimento:
      std::fprintf(stderr, "%s\n", e.fallimento.message().c_str());
      return 1;
  }
  return 1;
}
