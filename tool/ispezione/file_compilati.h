#ifndef SB_TOOL_ISPEZIONE_FILE_COMPILATI_H_
#define SB_TOOL_ISPEZIONE_FILE_COMPILATI_H_

// Reading compiled scenarios back: the three files the builder writes
// (track grid, station table, line table), recognised, read whole and
// decoded strictly by the decoders that sit beside the encoders.

#include <string>
#include <string_view>
#include <vector>

#include "compiler/tabelle.h"
#include "compiler/uscita/formato_stazioni.h"
#include "platform/status.h"

enum class TipoFile { kPercorso, kStazioni, kLinea };

// "track grid", "station table", "line table".
const char* nome_tipo_file(TipoFile tipo);

// Tells which compiled file `nome` (a file name, with or without its
// directory) holding `dati` is. The name decides when it ends as the builder
// names the files ("_linea.dat", ".sim", ".dat"); otherwise the content does.
// False when neither tells.
bool riconosci_file(const std::string& nome, std::string_view dati, TipoFile* tipo);

// Why loading failed: the files are not there or cannot be read (a usage
// problem), or a file is there but does not decode.
enum class Mancanza { kNessuna, kFile, kMalformato };

struct EsitoCarica {
  Mancanza mancanza = Mancanza::kNessuna;
  std::string messaggio;  // one line naming the file; empty when loaded
  bool ok() const { return mancanza == Mancanza::kNessuna; }
};

// The whole file at `path`.
Status leggi_file(const std::string& path, std::string* dati);

// One decoded file: `*messaggio` gets "<path>: at byte N: expected ..." on a
// refusal.
bool decodifica_file(TipoFile tipo, const std::string& path, std::string_view dati,
                     std::vector<cella>* percorso, TabellaStazioni* stazioni,
                     std::vector<valore>* linea, std::string* messaggio);

// One compiled scenario read from its directory.
struct Scenario {
  std::string nome;    // scenario name (file names and station entry 85)
  std::string numero;  // train number (file names and station entry 86)
  std::string path_percorso, path_stazioni, path_linea;
  std::vector<cella> percorso;
  TabellaStazioni stazioni{};
  bool ha_linea = false;      // false when the line table file is missing
  std::vector<valore> linea;  // storage order: x of every row, then y

  size_t righe() const { return linea.size() / 2; }
  const valore& x(size_t r) const { return linea[r]; }
  const valore& y(size_t r) const { return linea[righe() + r]; }
  // Line length in metres, as the station table carries it (entry 84).
  int32_t lunghezza() const { return stazioni[kVoceGenerale].fine; }
};

// Reads the scenario of `directory`. `nome` and `numero` choose it when the
// directory holds more than one; when empty they are taken from the one
// station table there. The track grid and the station table must exist; the
// line table may be missing (a compile that did not write it). Every file is
// decoded strictly, and the grid and line table must fit the line length of
// the station table.
EsitoCarica carica_scenario(const std::string& directory, const std::string& nome,
                            const std::string& numero, Scenario* s);

// Refuses a grid or line table that does not fit the station table's line
// length; `path` names the file in the message.
bool verifica_dimensioni(TipoFile tipo, const std::string& path, size_t dimensione, size_t numero,
                         int32_t lunghezza, std::string* messaggio);

#endif  // SB_TOOL_ISPEZIONE_FILE_COMPILATI_H_
