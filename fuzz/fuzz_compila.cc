#include "fuzz/fuzz_compila.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/executable_dir.h"
#include "sources/nomi_file.h"
#include "support/compila_memoria.h"

namespace {

void Verifica(bool ok, const char* cosa) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", cosa);
    std::abort();
  }
}

const std::string& LineaIncorporata() {
  static const std::string s = SorgenteLineaIncorporata();
  return s;
}

const std::string& TrenoIncorporato() {
  static const std::string s = SorgenteTrenoIncorporata();
  return s;
}

}  // namespace

void CompilaIngresso(Bersaglio b, std::string_view data) {
  std::string_view linea, treno;
  switch (b) {
    case Bersaglio::kLinea: linea = data; treno = TrenoIncorporato(); break;
    case Bersaglio::kTreno: linea = LineaIncorporata(); treno = data; break;
    case Bersaglio::kEntrambi: DividiIngresso(data, &linea, &treno); break;
  }
  CompilazioneInMemoria c;
  CompilaInMemoria(linea, treno, &c);
  const Tabelle& t = c.tabelle;
  const std::string dir = kDirectoryMemoria;
  // Both sources are consumed whatever they held, except when the line
  // reader gave up before the train half.
  if (c.esito.tipo != EsitoCompilazione::Tipo::kCompletato) return;
  auto grid = c.fs.files.find(JoinPath(dir, nome_file_percorso(t.nome_scenario, t.numero_treno)));
  Verifica(grid != c.fs.files.end(), "grid file written");
  Verifica(grid->second.size() == 15 * (static_cast<size_t>(t.numero_celle) + 1), "grid file size");
  auto sim = c.fs.files.find(JoinPath(dir, nome_file_stazioni(t.nome_scenario, t.numero_treno)));
  Verifica(sim != c.fs.files.end(), "station file written");
  size_t attesa = 0;
  for (const auto& s : t.stazioni) attesa += 34 + s.nome.size();
  Verifica(sim->second.size() == attesa, "station file size");
  Verifica(!c.fs.Exists(JoinPath(dir, nome_sorgente_linea(t.nome_scenario))), "line source deleted");
}
