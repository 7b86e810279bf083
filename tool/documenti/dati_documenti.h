#ifndef SB_TOOL_DOCUMENTI_DATI_DOCUMENTI_H_
#define SB_TOOL_DOCUMENTI_DATI_DOCUMENTI_H_

// What the driver's documents show of an author's scenario, taken from the
// compile of its sources, so that the documents tell what the simulator
// will load: the stations as the station table holds them, the speed limits
// as the track grid holds them, the slow-downs as their rows placed them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tool/diagnosi/analisi.h"
#include "tool/diagnosi/diagnostica.h"

struct StazioneDocumento {
  std::u16string nome;    // trailing blanks left out
  int32_t posizione = 0;  // metres from the start of the line
  int32_t inizio = 0;     // the station area
  int32_t fine = 0;
  bool fermata = false;  // a stop (kind below 25), not a place passed through
  int32_t orario = 0;    // time of day in seconds; 0 when the row gives none
  int32_t velocita = 0;  // speed limit in force from the station on, km/h
};

struct RallentamentoDocumento {
  int64_t inizio = 0;     // metres from the start of the line
  int64_t velocita = 0;   // km/h
  int64_t lunghezza = 0;  // metres
};

struct DatiDocumenti {
  std::vector<StazioneDocumento> stazioni;            // in running order
  std::vector<RallentamentoDocumento> rallentamenti;  // by where they begin
  std::optional<int32_t> massa_frenata;               // percent, when the source gives it
};

// The data of `a`, a complete compile without a recorded code. A value the
// documents cannot show (a name outside Windows-1252, a number too long for
// its cell) adds a diagnostic at its field to `problemi`.
DatiDocumenti dati_documenti(const Analisi& a, std::vector<Diagnostica>* problemi);

#endif  // SB_TOOL_DOCUMENTI_DATI_DOCUMENTI_H_
