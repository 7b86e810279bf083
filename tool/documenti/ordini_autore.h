#ifndef SB_TOOL_DOCUMENTI_ORDINI_AUTORE_H_
#define SB_TOOL_DOCUMENTI_ORDINI_AUTORE_H_

// The slow-down order form of an author's scenario, in the layout of the
// built-in one, with one order for every slow-down of the train source.

#include <string_view>

#include "sources/text_writer.h"
#include "tool/documenti/dati_documenti.h"

// The rows of the form, end marker last, for train `treno`.
// REQUIRES: at least one station.
TabellaRighe ordini_autore(const DatiDocumenti& d, std::u16string_view treno);

#endif  // SB_TOOL_DOCUMENTI_ORDINI_AUTORE_H_
