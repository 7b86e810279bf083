#ifndef SB_TOOL_DOCUMENTI_SCHEDA_AUTORE_H_
#define SB_TOOL_DOCUMENTI_SCHEDA_AUTORE_H_

// The timetable sheet of an author's scenario, in the layout of the
// built-in one: one grid row per station, stops and places passed alike.

#include <string_view>

#include "sources/text_writer.h"
#include "tool/documenti/dati_documenti.h"

// What the sources do not hold: the classification and blocked-mass box
// (blank when empty), and the train number in the heading.
struct OpzioniScheda {
  std::u16string treno;
  std::u16string classificazione;
  std::u16string massa_bloccata;
};

// The rows of the sheet, end marker last. REQUIRES: at least one station.
TabellaRighe scheda_autore(const DatiDocumenti& d, const OpzioniScheda& o);

#endif  // SB_TOOL_DOCUMENTI_SCHEDA_AUTORE_H_
