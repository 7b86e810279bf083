#ifndef SB_TOOL_ISPEZIONE_DESCRIZIONE_H_
#define SB_TOOL_ISPEZIONE_DESCRIZIONE_H_

// The records of the compiled files as an author reads them: every cell,
// station entry and line-table row as one flat JSON object whose keys are
// the same for every record of a file (so that it prints as a table), with
// the kind or role by name, the raw fields under their own names, the
// derived values (km, km/h, per mille) and a "fields" object naming what the
// raw values mean for that kind. Texts are UTF-8.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "compiler/tabelle.h"
#include "compiler/uscita/formato_stazioni.h"
#include "tool/ispezione/file_compilati.h"

using Json = nlohmann::ordered_json;

// Kind of a cell feature by name ("signal", "slow-down start", ...).
std::string nome_tipo_cella(uint8_t tipo);

// Role of station entry `i` ("station", "text board", "empty", header roles).
std::string ruolo_stazione(const TabellaStazioni& stazioni, size_t i);

// Position of cell `i` in km: its start, 50 m per cell.
double km_cella(size_t i);

// Cell `i` of `celle`. With the station table at hand a station stop gets its
// station's name and a text board its text.
Json descrivi_cella(const std::vector<cella>& celle, size_t i, const TabellaStazioni* stazioni);
Json descrivi_stazione(const TabellaStazioni& stazioni, size_t i);
// Row `r` (metre r) of a line table held in storage order; an empty value is null.
Json descrivi_riga(const std::vector<valore>& linea, size_t r);

enum class Formato { kTesto, kJson, kCsv };

// Writes `record` (all of the same keys) as one document: an aligned table,
// one JSON document {"file", "table", "count", "records"}, or CSV with a
// header row.
void scrivi_record(std::ostream& out, Formato formato, const std::string& file, TipoFile tipo,
                   const std::vector<Json>& record);

// One record on one line, "key=value key=value ...", as the diff shows it.
std::string in_riga(const Json& record);

#endif  // SB_TOOL_ISPEZIONE_DESCRIZIONE_H_
