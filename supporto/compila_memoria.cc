#include "supporto/compila_memoria.h"

#include "compiler/nomi_file.h"
#include "platform/executable_dir.h"
#include "sources/documenti.h"

void CompilaInMemoria(std::string_view linea, std::string_view treno, CompilazioneInMemoria* out,
                      int32_t j) {
  Tabelle& t = out->tabelle;
  t.nome_scenario = "Lavrano_Cestelle";
  t.numero_treno = "58121";
  out->fs.files[JoinPath(kDirectoryMemoria, nome_sorgente_linea(t.nome_scenario))] =
      std::string(linea);
  out->fs.files[JoinPath(kDirectoryMemoria, nome_sorgente_treno(t.nome_scenario, t.numero_treno))] =
      std::string(treno);
  out->esito = memorizza_percorso(t, Ambiente{&out->fs, kDirectoryMemoria}, j);
}

std::string SorgenteLineaIncorporata() {
  std::string b;
  CodificaRighe(righe_linea(), &b);
  return b;
}

std::string SorgenteTrenoIncorporata() {
  std::string b;
  CodificaRighe(righe_treno(), &b);
  return b;
}

void DividiIngresso(std::string_view data, std::string_view* linea, std::string_view* treno) {
  size_t zero = data.find('\0');
  if (zero == std::string_view::npos) {
    *linea = data;
    *treno = {};
  } else {
    *linea = data.substr(0, zero);
    *treno = data.substr(zero + 1);
  }
}
