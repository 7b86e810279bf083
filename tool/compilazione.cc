#include "tool/compilazione.h"

#include "compiler/ambiente.h"
#include "compiler/nomi_file.h"
#include "tool/file_system_compilazione.h"

namespace {
// The directory the compile believes it runs in; it exists only in memory.
constexpr char kDirectory[] = "scenario";
}  // namespace

std::unique_ptr<Compilazione> compila_sorgenti(const std::string& linea, const std::string& treno,
                                               const std::string& nome, const std::string& numero,
                                               int32_t j, const DestinazioneUscite* destinazione) {
  auto c = std::make_unique<Compilazione>();
  Tabelle& t = c->tabelle;
  t.nome_scenario = nome;
  t.numero_treno = numero;
  t.registro = &c->registro;

  FileSystemCompilazione fs =
      destinazione ? FileSystemCompilazione(kDirectory, destinazione->fs, destinazione->directory)
                   : FileSystemCompilazione(kDirectory);
  fs.metti_sorgente(nome_sorgente_linea(nome), linea);
  fs.metti_sorgente(nome_sorgente_treno(nome, numero), treno);
  c->esito = memorizza_percorso(t, Ambiente{&fs, kDirectory}, j);
  c->scritti = fs.scritti();
  c->guasto_scrittura = fs.guasto();
  return c;
}
