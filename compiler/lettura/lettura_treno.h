#ifndef SB_COMPILER_LETTURA_LETTURA_TRENO_H_
#define SB_COMPILER_LETTURA_LETTURA_TRENO_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "compiler/lettura/lettore_campi.h"
#include "compiler/lettura/memorizza_dati.h"
#include "compiler/tabelle.h"

// One reading of the train source, from its text: train make-up, sand,
// start time, adhesion and speed limits along the line, stations, signals,
// slow-downs and cuts of the signal code. What becomes of the source file
// is its caller's business: the reading says how it ended.
class LettoreTreno {
 public:
  using Esito = EsitoRiga;

  // `indice_cartello` is the entry of the lowest text board minus one: the
  // stations may take the entries below it. REQUIRES: `testo` outlives the
  // reading.
  LettoreTreno(Tabelle& t, std::string_view testo, int32_t indice_cartello);

  // Finds the marker and reads every row; kLetta when the source is to be
  // deleted and the reading completed.
  FineLettura leggi_tutto();
  // Extends the speed limits and the adhesion to the end of the grid, then
  // checks the kilometre-progressive changes.
  void completa();

 private:
  Esito leggi();
  Esito riga_letta();
  bool numero(LettoreCampi::Larghezza w, int32_t* out) { return campi_.leggi_numero(w, out); }
  // Extends the speed limits and the adhesion; false when the last speed
  // does not fit its byte (nothing is then written).
  bool estendi();

  // The grid test of a row's position: p + margine <= 50 * numero_celle.
  bool nel_percorso(int64_t p, int64_t margine) const {
    return p + margine <= 50 * int64_t{t_.numero_celle};
  }
  // Ways out: a position off the grid (code 15, which ends only the
  // reading), a code that ends the half, a reading failure (code 25).
  Esito fuori(int32_t p);
  Esito chiudi(int32_t codice, std::optional<int32_t> p);
  Esito guasto();
  void registra(int32_t codice, std::optional<int32_t> posizione);

  // The cell at k, or null when k lies outside the grid.
  cella* at(int64_t k) {
    // One unsigned comparison covers both ends: a negative k turns huge.
    if (static_cast<uint64_t>(k) >= t_.percorso.size()) return nullptr;
    return &t_.percorso[static_cast<size_t>(k)];
  }

  // The byte of the previous speed, in 5 km/h steps; false when the step
  // count does not fit the byte.
  bool byte_velocita(uint8_t* byte) const;
  Esito velocita();
  Esito aderenza();
  Esito segnale();
  Esito rallentamento();
  Esito abbattimento();
  Esito stazione();

  Tabelle& t_;
  LettoreCampi campi_;
  int32_t indice_cartello_;
  FineLettura fine_ = FineLettura::kLetta;

  int32_t cursore_velocita_ = 0;
  int32_t velocita_precedente_ = 0;
  int32_t cursore_aderenza_ = 0;
  int32_t aderenza_precedente_ = 0;
  int32_t indice_stazione_ = 1;
};

#endif  // SB_COMPILER_LETTURA_LETTURA_TRENO_H_
