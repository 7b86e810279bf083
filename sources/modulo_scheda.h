#ifndef SB_SOURCES_MODULO_SCHEDA_H_
#define SB_SOURCES_MODULO_SCHEDA_H_

// The layout of the timetable sheet, the form the driver finds in the cab:
// a heading box (the train, the route, its speed rank and braked mass), a
// box with the train's classification and blocked mass, and the timetable
// grid, one row per place in running order. The built-in sheet and the
// sheets the authoring tool writes for other scenarios are drawn by it
// alike.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sources/text_writer.h"

// What stands in the boxes above the grid.
struct IntestazioneScheda {
  std::u16string treno;            // the train number, after "TRENO n."
  std::u16string da, a;            // departure and arrival
  std::u16string categoria;        // right box, upper half ("V250 C")
  std::u16string massa_frenata;    // right box, lower half ("130%")
  std::u16string classificazione;  // "EUROSTAR"
  std::u16string massa_bloccata;   // "530T"
};

// Room for a name after "da: " or "a: " in the heading box.
inline constexpr size_t kSchedaTratta = 22;
// Room for the train number after "TRENO n." in its box.
inline constexpr size_t kSchedaTreno = 11;

// One row of the grid. Speeds are whole km/h, the kilometre has a point and
// three decimals ("16.300"; the departure "0" alone), the time cell is one
// of the forms below.
struct RigaOrario {
  std::u16string vel_lim;   // speed limit from here on
  std::u16string vel_marc;  // running speed
  std::u16string km;        // kilometre as marked on the line
  std::u16string vel_rs;    // speed of the signal-code repetition
  bool segnata = false;     // on the line the footnote names: "a)" before the place
  std::u16string nome;      // the place
  std::u16string orario;    // the whole time cell
  std::u16string recupero;  // recovery margin in minutes, or empty
};

// Room for a place after its blank (or its "a) ") in the grid.
inline constexpr size_t kSchedaLuogo = 27;

// The 16-character time cell: a passing time stands six characters in, an
// arrival two, a departure ten.
std::u16string orario_transito(std::u16string_view ora);
std::u16string orario_arrivo_partenza(std::u16string_view arrivo, std::u16string_view partenza);
std::u16string orario_partenza(std::u16string_view ora);
std::u16string orario_arrivo(std::u16string_view ora);
std::u16string orario_vuoto();

// A grid row, 83 characters: a blank, then the cells between the bars at
// columns 1, 7, 13, 24, 30, 59, 76 and 82. A place longer than its cell is
// cut.
std::u16string riga_orario(const RigaOrario& r);

// The whole sheet: the boxes, the grid with `righe` (grid rows, in order)
// between its heading and its bottom rule, then `piede`, then the end
// marker.
TabellaRighe modulo_scheda(const IntestazioneScheda& intestazione,
                           const std::vector<std::u16string>& righe,
                           const std::vector<std::u16string>& piede);

#endif  // SB_SOURCES_MODULO_SCHEDA_H_
