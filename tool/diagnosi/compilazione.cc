#include "tool/diagnosi/compilazione.h"

#include <utility>

#include "compiler/compila_testo.h"

namespace {
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
                                               int32_t j, Tabelle* memoria, bool senza_tabella) {
  auto c = std::make_unique<Compilazione>();
  Tabelle& t = c->tabelle;
  // The compile empties both before it reads the line (see prepara_tabelle);
  // only their memory carries over.
  if (memoria != nullptr) riprendi_memoria_tabelle(memoria, &t);
  t.nome_scenario = nome;
  t.numero_treno = numero;
  t.registro = &c->registro;
  t.piano_senza_tabella = senza_tabella;
  c->esito = compila_testo(t, SorgenteTesto::di(linea), SorgenteTesto::di(treno), j);
  return c;
}

void riprendi_memoria(Compilazione& c, Tabelle* memoria) {
  riprendi_memoria_tabelle(&c.tabelle, memoria);
}
