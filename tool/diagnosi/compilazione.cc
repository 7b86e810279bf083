#include "tool/diagnosi/compilazione.h"

#include <utility>

#include "compiler/ambiente.h"
#include "compiler/nomi_file.h"
#include "tool/diagnosi/file_system_compilazione.h"

namespace {
// The directory the compile believes it runs in; it exists only in memory.
constexpr char kDirectory[] = "scenario";

// Moves the grid and the line table of `da`, emptied, to `a`; a moved-from
// vector and table are empty.
void riprendi_memoria_tabelle(Tabelle* da, Tabelle* a) {
  a->percorso = std::move(da->percorso);
  a->percorso.clear();
  a->tabella_linea = std::move(da->tabella_linea);
  a->tabella_linea.svuota();
}
}  // namespace

std::unique_ptr<Compilazione> compila_sorgenti(const std::string& linea, const std::string& treno,
                                               const std::string& nome, const std::string& numero,
                                               int32_t j, const DestinazioneUscite* destinazione,
                                               Tabelle* memoria) {
  auto c = std::make_unique<Compilazione>();
  Tabelle& t = c->tabelle;
  // The compile empties both before it reads the line (see
  // memorizza_percorso); only their memory carries over.
  if (memoria != nullptr) riprendi_memoria_tabelle(memoria, &t);
  t.nome_scenario = nome;
  t.numero_treno = numero;
  t.registro = &c->registro;

  FileSystemCompilazione fs =
      destinazione ? FileSystemCompilazione(kDirectory, destinazione->fs, destinazione->directory,
                                                    destinazione->suffisso)
                   : FileSystemCompilazione(kDirectory);
  fs.metti_sorgente(nome_sorgente_linea(nome), linea);
  fs.metti_sorgente(nome_sorgente_treno(nome, numero), treno);
  c->esito = memorizza_percorso(t, Ambiente{&fs, kDirectory}, j);
  c->scritti = fs.scritti();
  c->guasto_scrittura = fs.guasto();
  return c;
}

void riprendi_memoria(Compilazione& c, Tabelle* memoria) {
  riprendi_memoria_tabelle(&c.tabelle, memoria);
}
