// `scenario_tool documents`: the driver's timetable sheet and slow-down
// order form of an author's scenario, from the compile of its two sources.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/executable_dir.h"
#include "tool/comandi.h"
#include "tool/documenti_comando.h"
#include "tool/percorsi.h"
#include "tool/scrittura_atomica.h"

namespace {

struct OpzioniDocuments {
  std::string linea, treno;
  std::string directory = ".";
  std::string nome, numero;
  std::string formato = "text";
  RichiestaDocumenti richiesta;
};

int uso(const std::string& messaggio) {
  std::fprintf(stderr, "scenario_tool documents: %s\n", messaggio.c_str());
  return kToolUso;
}

int esegui(OpzioniDocuments& o) {
  if (Status s = controlla_ordine("documents", o.linea, o.treno); !s.ok()) return uso(s.message());
  auto fs = MakeRealFileSystem();
  std::string linea, treno;
  if (Status s = fs->Read(o.linea, &linea); !s.ok()) return uso(s.message());
  if (Status s = fs->Read(o.treno, &treno); !s.ok()) return uso(s.message());
  std::string nome = o.nome, numero = o.numero;
  if (Status s = deduci_identita(o.linea, o.treno, &nome, &numero); !s.ok())
    return uso(s.message());
  if (Status s = controlla_identita(nome); !s.ok())
    return uso("cannot use '" + nome + "' as the scenario name: " + s.message());
  if (Status s = controlla_identita(numero); !s.ok())
    return uso("cannot use '" + numero + "' as the train number: " + s.message());
  if (Status s = controlla_richiesta(numero, &o.richiesta); !s.ok()) return uso(s.message());

  const std::unique_ptr<Analisi> a =
      analizza(o.linea, std::move(linea), o.treno, std::move(treno), nome, numero, 1);
  std::vector<DocumentoAutore> documenti;
  if (a->pulita()) documenti = componi_documenti(*a, o.richiesta, nome, numero);
  if (o.formato == "json")
    std::fputs(a->json().c_str(), stdout);
  else
    std::fputs(a->testo().c_str(), stderr);
  if (documenti.empty()) {
    if (!a->pulita())
      std::fputs("scenario_tool documents: the sources have problems; no document written\n",
                 stderr);
    return kToolProblemi;
  }
  std::string creata;  // the directory -o made, taken away when nothing is written
  if (Status s = crea_directory(o.directory, &creata); !s.ok()) return uso(s.message());
  std::vector<std::string> finali;
  Status s = scrivi_documenti_nuovi(*fs, o.directory, documenti, &finali);
  if (s.ok()) s = sostituisci_con_nuovi(*fs, finali);
  if (!s.ok()) {
    togli_creata(o.directory, creata);
    std::fprintf(stderr, "scenario_tool documents: %s; no document written\n", s.message().c_str());
    return kToolProblemi;
  }
  // What was written, one path a line, as preview names its page; standard
  // output holds the JSON instead when that was asked for.
  if (o.formato != "json")
    for (const std::string& f : finali) std::printf("%s\n", f.c_str());
  return kToolOk;
}

}  // namespace

void opzioni_documenti(CLI::App* sub, RichiestaDocumenti* r) {
  sub->add_option("--classificazione", r->classificazione,
                  "The train's classification, for its box on the timetable sheet (blank "
                  "without it)")
      ->type_name("TEXT");
  sub->add_option("--massa-bloccata", r->massa_bloccata,
                  "The blocked mass, for its box on the timetable sheet (blank without it)")
      ->type_name("TEXT");
}

Status controlla_richiesta(const std::string& numero, RichiestaDocumenti* r) {
  return opzioni_scheda(numero, r->classificazione, r->massa_bloccata, &r->scheda);
}

std::vector<DocumentoAutore> componi_documenti(Analisi& a, const RichiestaDocumenti& r,
                                               const std::string& nome, const std::string& numero) {
  DocumentiAutore d = documenti_autore(a, nome, numero, r.scheda);
  for (Diagnostica& p : d.problemi) a.diagnostiche.push_back(std::move(p));
  return std::move(d.documenti);
}

Status scrivi_documenti_nuovi(FileSystem& fs, const std::string& dir,
                              const std::vector<DocumentoAutore>& documenti,
                              std::vector<std::string>* finali) {
  std::vector<std::string> scritti;
  for (const DocumentoAutore& d : documenti) {
    const std::string path = JoinPath(dir, d.nome_file);
    if (Status s = fs.Create(path + kSuffissoNuovo, d.byte); !s.ok()) {
      scarta_nuovi(fs, scritti);
      return s;
    }
    scritti.push_back(path);
  }
  finali->insert(finali->end(), scritti.begin(), scritti.end());
  return Status::Ok();
}

void registra_documents(CLI::App& app, Azione* azione) {
  auto o = std::make_shared<OpzioniDocuments>();
  CLI::App* sub = app.add_subcommand(
      "documents",
      "Compile both sources and write the driver's timetable sheet and slow-down order form "
      "(NAME_NUMBER_scheda_treno.txt, NAME_NUMBER_rallentamenti.txt) into DIR, in the layout "
      "of the built-in ones; nothing is written when a problem is found");
  // -o first, so that help lists it before --name and --number.
  sub->add_option("-o,--output", o->directory,
                  "Directory to write into, made when missing (default: .)")
      ->type_name("DIR");
  opzioni_sorgenti(sub, &o->linea, &o->treno, &o->nome, &o->numero);
  opzione_formato_diagnostiche(sub, &o->formato);
  opzioni_documenti(sub, &o->richiesta);
  sub->callback([azione, o] { *azione = [o] { return esegui(*o); }; });
}
