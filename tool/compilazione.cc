#include "tool/compilazione.h"

#include "compiler/ambiente.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "compiler/nomi_file.h"

namespace {
// The directory the compile believes it runs in; it exists only in memory.
constexpr char kDirectory[] = "scenario";
}  // namespace

std::unique_ptr<Compilazione> compila_sorgenti(const std::string& linea, const std::string& treno,
                                               const std::string& nome, const std::string& numero,
                                               int32_t j) {
  auto c = std::make_unique<Compilazione>();
  Tabelle& t = c->tabelle;
  t.nome_scenario = nome;
  t.numero_treno = numero;
  t.registro = &c->registro;

  MemoryFileSystem fs;
  fs.files[JoinPath(kDirectory, nome_sorgente_linea(nome))] = linea;
  fs.files[JoinPath(kDirectory, nome_sorgente_treno(nome, numero))] = treno;
  c->esito = memorizza_percorso(t, Ambiente{&fs, kDirectory}, j);

  if (c->esito.tipo == EsitoCompilazione::Tipo::kCompletato) {
    std::vector<std::string> nomi;
    if (j != 0) nomi.push_back(nome_file_linea(nome));
    nomi.push_back(nome_file_stazioni(nome, numero));
    nomi.push_back(nome_file_percorso(nome, numero));
    for (const std::string& n : nomi) {
      auto it = fs.files.find(JoinPath(kDirectory, n));
      if (it != fs.files.end()) c->file.emplace_back(n, std::move(it->second));
    }
  }
  return c;
}
