#ifndef SB_SOURCES_MODULO_RALLENTAMENTI_H_
#define SB_SOURCES_MODULO_RALLENTAMENTI_H_

// The layout of the slow-down order form handed to the driver: a title, the
// route and the train, a grid of orders and the key to the specific
// prescriptions. The built-in form is printed blank, with runs of x for the
// route and the train; the authoring tool fills it for other scenarios.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sources/text_writer.h"

// One order of the grid, each cell as text.
struct OrdineRallentamento {
  std::u16string numero;        // order number
  std::u16string tratta;        // between which stations, or in which
  std::u16string km;            // the kilometre post after which it begins
  std::u16string velocita;      // km/h
  std::u16string lunghezza;     // metres
  std::u16string prescrizioni;  // letters of the key
};

// Room for a text after the leading blank of its cell (the stations, the
// prescriptions), and for a number before the trailing blank of its cell.
inline constexpr size_t kOrdineStazioni = 27;
inline constexpr size_t kOrdinePrescrizioni = 11;
inline constexpr size_t kOrdineNumero = 2;
inline constexpr size_t kOrdineKm = 11;
inline constexpr size_t kOrdineVelocita = 9;
inline constexpr size_t kOrdineLunghezza = 8;

// A grid row, 82 characters: a blank, then cells 3, 28, 12, 10, 9 and 12
// wide between bars at columns 1, 5, 34, 47, 58, 68 and 81. Numbers stand
// right-aligned before one blank (a number one character longer fills its
// cell), texts left-aligned after one; what is longer than its cell is cut.
std::u16string riga_ordine(const OrdineRallentamento& o);

// The grid has never fewer rows than the printed form.
inline constexpr size_t kRigheOrdini = 26;

// The whole form: `linea` after "Linea", `treno` in the order to the
// driver, the grid rows `ordini` followed by empty rows up to kRigheOrdini,
// then the key and the end marker.
TabellaRighe modulo_rallentamenti(std::u16string_view linea, std::u16string_view treno,
                                  const std::vector<std::u16string>& ordini);

#endif  // SB_SOURCES_MODULO_RALLENTAMENTI_H_
