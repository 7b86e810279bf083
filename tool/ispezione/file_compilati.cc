#include "tool/ispezione/file_compilati.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "compiler/uscita/formato_linea.h"
#include "compiler/uscita/formato_percorso.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"

namespace {

namespace fs = std::filesystem;

bool finisce_con(std::string_view s, std::string_view fine) {
  return s.size() >= fine.size() && s.substr(s.size() - fine.size()) == fine;
}

std::string nome_base(const std::string& path) {
  const size_t barra = path.find_last_of("/\\");
  return barra == std::string::npos ? path : path.substr(barra + 1);
}

EsitoCarica mancante(std::string messaggio) { return {Mancanza::kFile, std::move(messaggio)}; }
EsitoCarica malformato(std::string messaggio) { return {Mancanza::kMalformato, std::move(messaggio)}; }

}  // namespace

const char* nome_tipo_file(TipoFile tipo) {
  switch (tipo) {
    case TipoFile::kPercorso:
      return "track grid";
    case TipoFile::kStazioni:
      return "station table";
    case TipoFile::kLinea:
      return "line table";
  }
  return "";
}

bool riconosci_file(const std::string& nome, std::string_view dati, TipoFile* tipo) {
  const std::string base = nome_base(nome);
  if (finisce_con(base, "_linea.dat")) {
    *tipo = TipoFile::kLinea;
  } else if (finisce_con(base, ".sim")) {
    *tipo = TipoFile::kStazioni;
  } else if (finisce_con(base, ".dat")) {
    *tipo = TipoFile::kPercorso;
  } else {
    // Renamed files: every line table starts with rows 0 and 1 of x as two
    // 16-bit integers 0; a station table is 87 entries and nothing more; a
    // grid is a whole number of 15-byte cells.
    static constexpr char kInizioLinea[] = {2, 0, 0, 0, 2, 0, 0, 0};
    TabellaStazioni prova;
    if (dati.substr(0, sizeof kInizioLinea) == std::string_view(kInizioLinea, sizeof kInizioLinea))
      *tipo = TipoFile::kLinea;
    else if (decodifica_stazioni(dati, &prova).ok())
      *tipo = TipoFile::kStazioni;
    else if (!dati.empty() && dati.size() % kByteCella == 0)
      *tipo = TipoFile::kPercorso;
    else
      return false;
  }
  return true;
}

Status leggi_file(const std::string& path, std::string* dati) {
  static const std::unique_ptr<FileSystem> fs = MakeRealFileSystem();
  return fs->Read(path, dati);
}

bool decodifica_file(TipoFile tipo, const std::string& path, std::string_view dati,
                     std::vector<cella>* percorso, TabellaStazioni* stazioni,
                     std::vector<valore>* linea, std::string* messaggio) {
  EsitoDecodifica e;
  switch (tipo) {
    case TipoFile::kPercorso:
      e = decodifica_percorso(dati, percorso);
      break;
    case TipoFile::kStazioni:
      e = decodifica_stazioni(dati, stazioni);
      break;
    case TipoFile::kLinea:
      e = decodifica_linea(dati, linea);
      break;
  }
  if (!e.ok()) *messaggio = path + ": not a " + nome_tipo_file(tipo) + ": " + e.messaggio();
  return e.ok();
}

bool verifica_dimensioni(TipoFile tipo, const std::string& path, size_t dimensione, size_t numero,
                         int32_t lunghezza, std::string* messaggio) {
  EsitoDecodifica e;
  if (tipo == TipoFile::kPercorso) e = verifica_celle(numero, lunghezza);
  if (tipo == TipoFile::kLinea) e = verifica_righe(numero, lunghezza, dimensione);
  if (!e.ok()) *messaggio = path + ": not the " + nome_tipo_file(tipo) + " of this scenario: " +
                            e.messaggio();
  return e.ok();
}

EsitoCarica carica_scenario(const std::string& directory, const std::string& nome,
                            const std::string& numero, Scenario* s) {
  std::error_code ec;
  if (!fs::is_directory(fs::path(directory), ec))
    return mancante(directory + ": not a directory");

  // The station table names the scenario: "<name>_<number>.sim"; a part
  // not given may be anything but empty.
  const std::string suffisso = (numero.empty() ? "" : "_" + numero) + ".sim";
  auto candidato = [&](std::string_view base) {
    if (!finisce_con(base, suffisso)) return false;
    const std::string_view resto = base.substr(0, base.size() - suffisso.size());
    if (nome.empty()) return !resto.empty();
    if (!numero.empty()) return resto == nome;
    return resto.size() > nome.size() + 1 && resto.substr(0, nome.size()) == nome &&
           resto[nome.size()] == '_';
  };
  std::vector<std::string> candidati;
  for (const auto& e : fs::directory_iterator(fs::path(directory), ec)) {
    const std::string base = e.path().filename().string();
    if (e.is_regular_file(ec) && candidato(base)) candidati.push_back(base);
  }
  if (ec) return mancante(directory + ": cannot list the directory: " + ec.message());
  std::sort(candidati.begin(), candidati.end());
  if (candidati.empty())
    return mancante(directory + ": no station table (" + (nome.empty() ? "*" : nome) + "_" +
                    (numero.empty() ? "*" : numero) + ".sim)");
  if (candidati.size() > 1) {
    std::string elenco;
    for (const std::string& c : candidati) elenco += " " + c;
    return mancante(directory + ": several scenarios, choose one with --name and --number:" +
                    elenco);
  }

  s->path_stazioni = JoinPath(directory, candidati[0]);
  std::string dati, messaggio;
  if (Status st = leggi_file(s->path_stazioni, &dati); !st.ok()) return mancante(st.message());
  if (!decodifica_file(TipoFile::kStazioni, s->path_stazioni, dati, nullptr, &s->stazioni,
                       nullptr, &messaggio))
    return malformato(messaggio);
  // The names come from the table itself (entries 85 and 86), unless given.
  s->nome = nome.empty() ? s->stazioni[kVoceScenario].nome : nome;
  s->numero = numero.empty() ? s->stazioni[kVoceTreno].nome : numero;
  if (candidati[0] != s->nome + "_" + s->numero + ".sim")
    return mancante(s->path_stazioni + ": holds scenario \"" + s->stazioni[kVoceScenario].nome +
                    "\", train \"" + s->stazioni[kVoceTreno].nome +
                    "\", not what its name says; choose the files with --name and --number");

  s->path_percorso = JoinPath(directory, s->nome + "_" + s->numero + ".dat");
  if (Status st = leggi_file(s->path_percorso, &dati); !st.ok()) return mancante(st.message());
  if (!decodifica_file(TipoFile::kPercorso, s->path_percorso, dati, &s->percorso, nullptr,
                       nullptr, &messaggio) ||
      !verifica_dimensioni(TipoFile::kPercorso, s->path_percorso, dati.size(),
                           s->percorso.size(), s->lunghezza(), &messaggio))
    return malformato(messaggio);

  s->path_linea = JoinPath(directory, s->nome + "_linea.dat");
  s->ha_linea = fs::is_regular_file(fs::path(s->path_linea), ec);
  if (s->ha_linea) {
    if (Status st = leggi_file(s->path_linea, &dati); !st.ok()) return mancante(st.message());
    if (!decodifica_file(TipoFile::kLinea, s->path_linea, dati, nullptr, nullptr, &s->linea,
                         &messaggio) ||
        !verifica_dimensioni(TipoFile::kLinea, s->path_linea, dati.size(), s->righe(),
                             s->lunghezza(), &messaggio))
      return malformato(messaggio);
  }
  return {};
}
