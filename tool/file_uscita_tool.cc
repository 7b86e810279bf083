#include "tool/file_uscita_tool.h"

#include <vector>

#include "compiler/nomi_file.h"
#include "compiler/uscita/formato_linea.h"
#include "compiler/uscita/formato_percorso.h"
#include "compiler/uscita/formato_stazioni.h"
#include "platform/executable_dir.h"
#include "tool/scrittura_atomica.h"

Status scrivi_compilati_nuovi(FileSystem& fs, const std::string& directory, const Tabelle& t,
                              std::vector<std::string>* finali) {
  std::vector<std::string> scritti;
  auto scrivi = [&](const std::string& nome, ByteSource& dati) {
    const std::string finale = JoinPath(directory, nome);
    Status s = fs.CreateFrom(finale + kSuffissoNuovo, dati);
    // A temporary cut short by the failure is deleted with the others.
    scritti.push_back(finale);
    return s;
  };
  Status s;
  if (t.scrivi_linea != 0) {
    CodificaLinea linea(t);
    s = scrivi(nome_file_linea(t.nome_scenario), linea);
  }
  if (s.ok()) {
    std::string stazioni;
    s = codifica_stazioni(t, &stazioni);
    WholeBytes dati(stazioni);
    if (s.ok()) s = scrivi(nome_file_stazioni(t.nome_scenario, t.numero_treno), dati);
  }
  if (s.ok()) {
    const std::string percorso = codifica_percorso(t);
    WholeBytes dati(percorso);
    s = scrivi(nome_file_percorso(t.nome_scenario, t.numero_treno), dati);
  }
  if (!s.ok()) {
    scarta_nuovi(fs, scritti);
    return s;
  }
  finali->insert(finali->end(), scritti.begin(), scritti.end());
  return s;
}

Status scrivi_file_compilati(FileSystem& fs, const std::string& directory, const Tabelle& t) {
  std::vector<std::string> finali;
  if (Status s = scrivi_compilati_nuovi(fs, directory, t, &finali); !s.ok()) return s;
  return sostituisci_con_nuovi(fs, finali);
}
