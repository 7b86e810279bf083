#ifndef SB_SOURCES_DOCUMENTI_H_
#define SB_SOURCES_DOCUMENTI_H_

#include "platform/status.h"
#include "sources/text_writer.h"

// The five text documents of the scenario. Each `righe_*` builds the row
// table of one document, end marker last; each `dati_*` builds it and writes
// it next to the executable under its own name.

// Line source: length, kilometre changes, gradients, curves, boards, tunnels.
TabellaRighe righe_linea();
// Train source: make-up, start time, speed limits, stations, signals, code cuts.
TabellaRighe righe_treno();
// Notes for the driver, in Italian; the title names `numero_treno`.
TabellaRighe righe_note(const std::string& numero_treno);
// The blank slow-down order form.
TabellaRighe righe_rallentamenti();
// The timetable sheet; the heading names `numero_treno`.
TabellaRighe righe_scheda(const std::string& numero_treno);

Status dati_linea(const Destinazione& dest);
Status dati_treno(const Destinazione& dest);
Status dati_note(const Destinazione& dest);
Status dati_rallentamenti(const Destinazione& dest);
Status dati_scheda(const Destinazione& dest);

#endif  // SB_SOURCES_DOCUMENTI_H_
