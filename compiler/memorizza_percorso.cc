#include "compiler/memorizza_percorso.h"

#include <string>

#include "compiler/compila_testo.h"
#include "compiler/lettura/memorizza_dati.h"
#include "compiler/nomi_file.h"
#include "compiler/uscita/file_uscita.h"
#include "platform/executable_dir.h"

namespace {

// The first file operation that failed while the sources were read, for the
// message of a run that cannot go on.
struct Guasto {
  Status* primo;
  void ricorda(const Status& s) {
    if (primo != nullptr && !s.ok() && primo->ok()) *primo = s;
  }
};

// A source as the file system gives it.
SorgenteTesto sorgente_da_file(const Ambiente& a, const std::string& path, bool prova_esistenza,
                               std::string* testo, Guasto* g) {
  if (prova_esistenza && !a.fs->Exists(path)) return {SorgenteTesto::Stato::kMancante, {}};
  if (Status s = a.fs->Read(path, testo); !s.ok()) {
    g->ricorda(s);
    return {SorgenteTesto::Stato::kIlleggibile, {}};
  }
  return SorgenteTesto::di(*testo);
}

void elimina_se_esiste(const Ambiente& a, const std::string& path, Guasto* g) {
  if (a.fs->Exists(path)) g->ricorda(a.fs->Remove(path));
}

bool linea_da_file(Tabelle& t, const Ambiente& a, LetturaSorgenti& l, Guasto* g) {
  const std::string linea = JoinPath(a.directory, nome_sorgente_linea(t.nome_scenario));
  const std::string treno =
      JoinPath(a.directory, nome_sorgente_treno(t.nome_scenario, t.numero_treno));
  // After a reading failure neither source is of any use: both go.
  auto elimina_entrambe = [&] {
    elimina_se_esiste(a, linea, g);
    elimina_se_esiste(a, treno, g);
  };
  std::string testo;
  const FineLettura fine = l.leggi_linea(sorgente_da_file(a, linea, true, &testo, g));
  switch (fine) {
    case FineLettura::kMancante:
      return false;
    case FineLettura::kFallita:
      elimina_entrambe();
      return false;
    case FineLettura::kChiusa:
    case FineLettura::kLetta:
      break;
  }
  if (Status s = a.fs->Remove(linea); !s.ok()) {
    g->ricorda(s);
    l.eliminazione_fallita(fine);
    elimina_entrambe();
    return false;
  }
  if (fine == FineLettura::kChiusa) return false;
  l.completa_linea();
  return true;
}

void treno_da_file(Tabelle& t, const Ambiente& a, LetturaSorgenti& l, Guasto* g) {
  const std::string treno =
      JoinPath(a.directory, nome_sorgente_treno(t.nome_scenario, t.numero_treno));
  std::string testo;
  const FineLettura fine = l.leggi_treno(sorgente_da_file(a, treno, false, &testo, g));
  switch (fine) {
    case FineLettura::kMancante:
      return;
    case FineLettura::kFallita:
      elimina_se_esiste(a, treno, g);
      return;
    case FineLettura::kChiusa:
    case FineLettura::kLetta:
      break;
  }
  if (Status s = a.fs->Remove(treno); !s.ok()) {
    g->ricorda(s);
    l.eliminazione_fallita(fine);
    return;
  }
  if (fine == FineLettura::kLetta) l.completa_treno();
}

}  // namespace

bool leggi_sorgente_linea(Tabelle& t, const Ambiente& a, int32_t* indice_cartello, Status* guasto) {
  LetturaSorgenti l(t, *indice_cartello);
  Guasto g{guasto};
  const bool segue = linea_da_file(t, a, l, &g);
  *indice_cartello = l.indice_cartello();
  return segue;
}

void leggi_sorgente_treno(Tabelle& t, const Ambiente& a, int32_t indice_cartello, Status* guasto) {
  LetturaSorgenti l(t, indice_cartello);
  Guasto g{guasto};
  treno_da_file(t, a, l, &g);
}

EsitoCompilazione memorizza_percorso(Tabelle& t, const Ambiente& a, int32_t& j) {
  prepara_tabelle(t, j);
  Status guasto;
  Guasto g{&guasto};
  LetturaSorgenti l(t);
  if (linea_da_file(t, a, l, &g)) treno_da_file(t, a, l, &g);
  return finisci_percorso(t, a, guasto);
}

EsitoCompilazione finisci_percorso(Tabelle& t, const Ambiente& a, const Status& guasto) {
  EsitoCompilazione e = finisci_tabelle(t);
  if (e.tipo == EsitoCompilazione::Tipo::kFallimento) {
    // A file that could not be read or deleted is named first, like any
    // other failure of a file.
    if (!guasto.ok() && !t.ha_percorso())
      return EsitoCompilazione::fallita(
          Status::Error(guasto.message() + "; the line source gave no track grid (error code " +
                        std::to_string(t.codice_errore) + ")"));
    return e;
  }
  if (e.tipo == EsitoCompilazione::Tipo::kErroreFatale) return e;
  if (Status s = scrivi_file_uscita(t, a); !s.ok()) return EsitoCompilazione::fallita(s);
  return {};
}
