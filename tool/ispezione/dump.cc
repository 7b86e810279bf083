#include "tool/ispezione/dump.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "compiler/uscita/formato_stazioni.h"
#include "tool/stato_uscita.h"
#include "tool/ispezione/file_compilati.h"

namespace {

namespace fs = std::filesystem;

// The station table that belongs to `path`, when it lies beside it: for a
// grid "<name>_<number>.dat" its "<name>_<number>.sim"; for a line table
// "<name>_linea.dat" the first "<name>_*.sim" of the directory that decodes.
// It gives the line length to check the file against, and the names of
// stations and texts of boards.
bool stazioni_accanto(const std::string& path, TipoFile tipo, TabellaStazioni* stazioni,
                      std::string* path_stazioni) {
  const fs::path p(path);
  std::vector<fs::path> candidati;
  std::error_code ec;
  if (tipo == TipoFile::kPercorso) {
    candidati.push_back(fs::path(p).replace_extension(".sim"));
  } else if (tipo == TipoFile::kLinea) {
    const std::string base = p.filename().string();
    const std::string prefisso = base.substr(0, base.size() - std::string("linea.dat").size());
    const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    for (const auto& e : fs::directory_iterator(dir, ec)) {
      const std::string n = e.path().filename().string();
      if (n.size() > prefisso.size() + 4 && n.compare(0, prefisso.size(), prefisso) == 0 &&
          e.path().extension() == ".sim")
        candidati.push_back(e.path());
    }
    std::sort(candidati.begin(), candidati.end());
  }
  for (const fs::path& c : candidati) {
    std::string dati;
    if (!fs::is_regular_file(c, ec) || !leggi_file(c.string(), &dati).ok()) continue;
    if (decodifica_stazioni(dati, stazioni).ok()) {
      *path_stazioni = c.string();
      return true;
    }
  }
  return false;
}

bool nel_tratto(const OpzioniDump& o, double km) { return km >= o.da_km && km <= o.a_km; }

}  // namespace

int esegui_dump(const OpzioniDump& o, std::ostream& out, std::ostream& err) {
  std::string dati;
  if (Status s = leggi_file(o.file, &dati); !s.ok()) {
    err << s.message() << '\n';
    return kToolUso;
  }
  TipoFile tipo{};
  if (!riconosci_file(o.file, dati, &tipo)) {
    err << o.file << ": not a compiled scenario file (track grid, station table or line table)\n";
    return kToolUso;
  }
  if (o.ogni != 0 && tipo != TipoFile::kLinea) {
    err << "--every samples the line table only; " << o.file << " is a " << nome_tipo_file(tipo)
        << '\n';
    return kToolUso;
  }

  std::vector<cella> percorso;
  TabellaStazioni stazioni{};
  std::vector<valore> linea;
  std::string messaggio;
  if (!decodifica_file(tipo, o.file, dati, &percorso, &stazioni, &linea, &messaggio)) {
    err << messaggio << '\n';
    return kToolProblemi;
  }
  TabellaStazioni accanto{};
  std::string path_accanto;
  const bool ha_accanto =
      tipo != TipoFile::kStazioni && stazioni_accanto(o.file, tipo, &accanto, &path_accanto);
  if (ha_accanto) {
    const size_t numero = tipo == TipoFile::kPercorso ? percorso.size() : linea.size() / 2;
    if (!verifica_dimensioni(tipo, o.file, dati.size(), numero, accanto[kVoceGenerale].fine,
                             &messaggio)) {
      err << messaggio << " (" << path_accanto << ")\n";
      return kToolProblemi;
    }
  }

  std::vector<Json> record;
  switch (tipo) {
    case TipoFile::kPercorso:
      for (size_t i = 0; i < percorso.size(); ++i)
        if (nel_tratto(o, km_cella(i)))
          record.push_back(descrivi_cella(percorso, i, ha_accanto ? &accanto : nullptr));
      break;
    case TipoFile::kStazioni:
      for (size_t i = 0; i < stazioni.size(); ++i)
        if (ruolo_stazione(stazioni, i) != "station" || nel_tratto(o, stazioni[i].posizione / 1000.0))
          record.push_back(descrivi_stazione(stazioni, i));
      break;
    case TipoFile::kLinea: {
      const size_t righe = linea.size() / 2;
      const size_t passo = o.ogni > 0 ? static_cast<size_t>(o.ogni) : 1;
      for (size_t r = 0; r < righe; r += passo)
        if (nel_tratto(o, static_cast<double>(r) / 1000.0)) record.push_back(descrivi_riga(linea, r));
      break;
    }
  }
  scrivi_record(out, o.formato, fs::path(o.file).filename().string(), tipo, record);
  return kToolOk;
}
