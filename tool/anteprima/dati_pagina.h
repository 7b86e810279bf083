#ifndef SB_TOOL_ANTEPRIMA_DATI_PAGINA_H_
#define SB_TOOL_ANTEPRIMA_DATI_PAGINA_H_

// What the preview page draws, as one JSON document built from one check of
// an author's sources (the compile and its account, as `check` reports
// them):
//
//   "disegno": the picture, null when the compile made no track grid:
//     "titolo", "sommario", "fine_linea" (m), "estensione" (m of grid),
//     "righe": [[file, line, text], ...] the source rows named below by index,
//     "piano": [m, x, y, ...] the plan, thinned for drawing, or null,
//     "velocita", "gradiente", "presa", "gallerie": runs
//       [from m, to m, value, row] (km/h, per mille, adhesion value, style),
//     "effettiva": [from m, to m, km/h] the limit with the slow-downs in it,
//     "elementi": every feature of every cell, {"k" kind as `dump` names
//       it, "c" cell, "m" metres, "t" its values in words, "r" row, "agg"
//       true for a code cut the finishing pass added},
//     "rallentamenti": {"da", "a" (m), "v" km/h, "corsia", "r", "t"},
//     "avvisi": approach marks {"c", "m", "v", "t", "r"},
//     "stazioni": {"n" name, "i" entry, "m", "da", "a", "ora", "ferma",
//       "x", "y" on the plan, "r", "t"},
//     "progressive": kilometre-marking changes {"m", "km", "r", "t"};
//   "diagnostica": {"pulita", "errori", "avvisi", "testo", "elenco"}.

#include <nlohmann/json.hpp>

#include "tool/diagnosi/analisi.h"

using JsonPagina = nlohmann::ordered_json;

// The picture of the compile of `a` (null when it made no grid).
JsonPagina disegno_pagina(const Analisi &a);

// The diagnostics of `a`, for the page.
JsonPagina diagnostica_pagina(const Analisi &a);

// Both, as the page takes them.
JsonPagina dati_pagina(const Analisi &a);

// The plan rows 0 to `ultima` of a line table as [m, x, y, ...]: every
// point kept whose leaving out would move the drawn line by more than
// `tolleranza` metres (and the first and last point).
std::vector<double> piano_sfoltito(const TabellaLinea &linea, size_t righe, size_t ultima,
                                   double tolleranza);

#endif  // SB_TOOL_ANTEPRIMA_DATI_PAGINA_H_
