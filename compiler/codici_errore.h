#ifndef SB_COMPILER_CODICI_ERRORE_H_
#define SB_COMPILER_CODICI_ERRORE_H_

#include <cstdint>

// Every error number of the system, in one place. Numbers below 1250 are
// recorded in `codice_errore` (the reader concerned stops, the run goes on);
// 1250 and 1251 are the two fatal header checks reported through `errore`.
namespace codice {

// Line source reader.
inline constexpr int32_t kLunghezzaEccessiva = 1;       // line length above 1000000
inline constexpr int32_t kRipetizioneInizio = 3;        // first repetition value not a multiple of 50
inline constexpr int32_t kRipetizioneFine = 4;          // second repetition value not a multiple of 50
inline constexpr int32_t kRipetizioneCodici = 5;        // neither "4" nor "9" in the repetition keyword
inline constexpr int32_t kCartelloOccupato = 6;         // text board cell taken
inline constexpr int32_t kNessunaLinea = 101;           // no line source file
inline constexpr int32_t kNessunGenerale = 102;         // no "[generale]" marker
inline constexpr int32_t kCurvaErrata = 103;            // curve without magnitude digit, or beyond 1000000 m

// Either reader.
inline constexpr int32_t kFuoriPercorso = 15;           // a position outside the track grid
inline constexpr int32_t kLetturaFallita = 25;          // reading failed (past the end, overflow, file trouble)

// Train source reader.
inline constexpr int32_t kProgressivaErrata = 2;        // kilometre change not a multiple of 50
inline constexpr int32_t kAbbattimentoOccupato = 7;     // code-cut cell taken
inline constexpr int32_t kStazionePosizione = 8;        // station position not a multiple of 50
inline constexpr int32_t kStazioneLunghezza = 9;        // stop length not a multiple of 100
inline constexpr int32_t kStazioniPiene = 10;           // stations reached the text boards
inline constexpr int32_t kStazioniVicine = 22;          // station less than 350 m after the previous one
inline constexpr int32_t kFermataInizio = 24;           // stop cell at index 1 or below

// Feature placement.
inline constexpr int32_t kSegnaleOccupato = 16;
inline constexpr int32_t kAvvisoOccupato = 17;          // slow-down warning board cell taken
inline constexpr int32_t kInizioOccupato = 18;          // slow-down start cell taken
inline constexpr int32_t kFineOccupato = 19;            // slow-down end cell taken
inline constexpr int32_t kPrimaAvvisoOccupato = 20;     // a cell before the warning board taken
inline constexpr int32_t kIndicatoriOccupato = 21;      // speed board cell taken

// Finishing pass.
inline constexpr int32_t kAbbattimentoSegnale = 11;     // no room for a cut before a signal behind a board
inline constexpr int32_t kAbbattimentoInizio = 12;      // no room for a cut behind a slow-down start
inline constexpr int32_t kAbbattimentoPercorso = 13;    // no room for a cut along or after a slow-down

// Rows the tables have no room for. Each is refused with its own number, so
// that nothing is ever written outside a table.
inline constexpr int32_t kCurvaOltreTabella = 104;      // a curve ending beyond the line table
inline constexpr int32_t kTroppiCartelli = 105;         // an 81st text board
inline constexpr int32_t kMontagnaOltrePercorso = 106;  // a tunnel stretch ending beyond the grid
inline constexpr int32_t kTroppeMontagne = 107;         // an 81st tunnel stretch
inline constexpr int32_t kRallentamentoOltre = 108;     // a slow-down ending beyond the grid
inline constexpr int32_t kAvvisiPrimaInizio = 109;      // signal approach marks before cell 0
inline constexpr int32_t kStazioneOltre = 110;          // station cells beyond the grid
inline constexpr int32_t kValoreEccessivo = 111;        // a value that does not fit its cell field
inline constexpr int32_t kCursoreOltre = 112;           // a stretch cursor that would run past the grid

// Fatal header checks of the finishing pass.
inline constexpr int32_t kErroreIntestazione = 1250;
inline constexpr int32_t kErroreCodiceGara = 1251;

}  // namespace codice

#endif  // SB_COMPILER_CODICI_ERRORE_H_
