// `scenario_tool check` and `scenario_tool compile`: an author's two
// sources through the builder's own compile, with a diagnostic for every
// problem; `compile` then writes the three files.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tool/comandi.h"
#include "tool/diagnosi/analisi.h"
#include "tool/diagnosi/riassunto.h"
#include "tool/documenti_comando.h"
#include "tool/file_uscita_tool.h"
#include "tool/percorsi.h"
#include "tool/scrittura_atomica.h"

namespace {

struct Opzioni {
  bool scrive = false;  // compile (true) or check
  std::string linea, treno;
  std::string directory = ".";
  std::string nome, numero;
  bool senza_tabella_linea = false;
  bool avanti = false;
  bool rigoroso = false;  // --strict: a warning fails as an error does
  bool zitto = false;     // --quiet: no summary
  std::string formato = "text";
  RichiestaDocumenti documenti;  // compile --documents
};

int uso(const Opzioni& o, const std::string& messaggio) {
  std::fprintf(stderr, "scenario_tool %s: %s\n", o.scrive ? "compile" : "check", messaggio.c_str());
  return kToolUso;
}

int esegui(const Opzioni& o) {
  const char* comando = o.scrive ? "compile" : "check";
  // The two sources given the other way round: say so rather than asking
  // for a name.
  if (Status s = controlla_ordine(comando, o.linea, o.treno); !s.ok()) return uso(o, s.message());
  auto fs = MakeRealFileSystem();
  std::string linea, treno;
  if (Status s = fs->Read(o.linea, &linea); !s.ok()) return uso(o, s.message());
  if (Status s = fs->Read(o.treno, &treno); !s.ok()) return uso(o, s.message());

  std::string nome = o.nome, numero = o.numero;
  if (Status s = deduci_identita(o.linea, o.treno, &nome, &numero); !s.ok())
    return uso(o, s.message());
  if (Status s = controlla_identita(nome); !s.ok())
    return uso(o, "cannot use '" + nome + "' as the scenario name: " + s.message());
  if (Status s = controlla_identita(numero); !s.ok())
    return uso(o, "cannot use '" + numero + "' as the train number: " + s.message());
  std::string creata;  // the directory -o made, taken away when nothing is written
  if (o.scrive) {
    if (Status s = crea_directory(o.directory, &creata); !s.ok()) return uso(o, s.message());
  }
  RichiestaDocumenti documenti = o.documenti;
  if (documenti.chiesti) {
    if (Status s = controlla_richiesta(numero, &documenti); !s.ok()) return uso(o, s.message());
  }

  const int32_t j = o.scrive && o.senza_tabella_linea ? 0 : 1;
  const std::unique_ptr<Analisi> a =
      analizza(o.linea, std::move(linea), o.treno, std::move(treno), nome, numero, j);
  // The driver's documents come only from sources without problems, and go
  // with the compiled files, all of them or none.
  std::vector<DocumentoAutore> testi;
  if (documenti.chiesti && a->pulita()) testi = componi_documenti(*a, documenti, nome, numero);
  const bool documenti_mancanti = documenti.chiesti && a->pulita() && testi.empty();
  if (o.formato == "json")
    std::fputs(a->json().c_str(), stdout);
  else
    std::fputs(a->testo().c_str(), stderr);

  const Compilazione& c = *a->compilazione;
  const bool completo = c.esito.tipo == EsitoCompilazione::Tipo::kCompletato;
  bool avvisi = false;
  for (const Diagnostica& d : a->diagnostiche)
    avvisi = avvisi || d.gravita == Diagnostica::Gravita::kAvviso;
  const bool pulito = a->pulita() && !(o.rigoroso && avvisi);
  // The summary says the sources were understood; it goes with a success.
  auto riassumi = [&] {
    if (pulito && !o.zitto) std::fprintf(stderr, "%s\n", riassunto(*a, nome).c_str());
  };
  if (!o.scrive) {
    riassumi();
    return pulito ? kToolOk : kToolProblemi;
  }
  // --strict refuses on a warning even with --keep-going, which only lets
  // the files out after a code.
  const bool rifiutato = o.rigoroso && avvisi;
  if ((!pulito && !(o.avanti && completo && !rifiutato)) || documenti_mancanti) {
    togli_creata(o.directory, creata);
    return kToolProblemi;
  }
  if (documenti.chiesti && !pulito)
    std::fputs(
        "scenario_tool compile: the driver's documents are written only from sources "
        "without problems; not written\n",
        stderr);
  // The compiled files and the documents take their names all together, or
  // none does.
  std::vector<std::string> finali;
  Status s = scrivi_compilati_nuovi(*fs, o.directory, c.tabelle, &finali);
  if (s.ok()) s = scrivi_documenti_nuovi(*fs, o.directory, testi, &finali);
  if (s.ok()) {
    s = sostituisci_con_nuovi(*fs, finali);
  } else {
    scarta_nuovi(*fs, finali);
  }
  if (!s.ok()) {
    togli_creata(o.directory, creata);
    std::fprintf(stderr, "scenario_tool %s: %s; no file written\n", comando, s.message().c_str());
    return kToolProblemi;
  }
  riassumi();
  return pulito ? kToolOk : kToolProblemi;
}

void opzioni_comuni(CLI::App* sub, Opzioni* o) {
  opzioni_sorgenti(sub, &o->linea, &o->treno, &o->nome, &o->numero);
  opzione_formato_diagnostiche(sub, &o->formato);
  sub->add_flag("--strict", o->rigoroso,
                "Count warnings as errors: exit status 1, and compile writes nothing");
  sub->add_flag("--quiet", o->zitto, "Leave out the summary printed on success");
}

}  // namespace

void registra_check_compile(CLI::App& app, Azione* azione) {
  auto check = std::make_shared<Opzioni>();
  CLI::App* c = app.add_subcommand(
      "check",
      "Read both sources through the compiler, run the finishing pass and the header checks, "
      "and report every problem; nothing is written");
  opzioni_comuni(c, check.get());
  c->callback([azione, check] { *azione = [check] { return esegui(*check); }; });

  auto compila = std::make_shared<Opzioni>();
  compila->scrive = true;
  CLI::App* k = app.add_subcommand(
      "compile",
      "Check both sources, then write NAME_linea.dat, NAME_NUMBER.sim and NAME_NUMBER.dat into "
      "DIR; nothing is written when a problem is found, unless --keep-going");
  opzioni_comuni(k, compila.get());
  k->add_option("-o,--output", compila->directory,
                "Directory to write into, created with its parents if missing (default: .)")
      ->type_name("DIR");
  k->add_flag("--no-line-table", compila->senza_tabella_linea,
              "Leave out the line table (NAME_linea.dat) and the curves");
  k->add_flag("--keep-going", compila->avanti,
              "After a recorded code, write the files exactly as scenario_builder would for "
              "these sources (the exit status stays 1)");
  k->add_flag("--documents", compila->documenti.chiesti,
              "Also write the driver's timetable sheet and slow-down order form (see "
              "documents)");
  opzioni_documenti(k, &compila->documenti);
  k->callback([azione, compila] { *azione = [compila] { return esegui(*compila); }; });
}
