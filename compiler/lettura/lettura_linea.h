#ifndef SB_COMPILER_LETTURA_LETTURA_LINEA_H_
#define SB_COMPILER_LETTURA_LETTURA_LINEA_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/lettura/lettore_campi.h"
#include "compiler/lettura/memorizza_dati.h"
#include "compiler/lettura/piano_linea.h"
#include "compiler/tabelle.h"

// One reading of the line source, from its text. What becomes of the source
// file is its caller's business: the reading says how it ended.
class LetturaLinea {
 public:
  using Esito = EsitoRiga;

  // REQUIRES: `testo` outlives the reading.
  LetturaLinea(Tabelle& t, std::string_view testo, int32_t* indice_cartello);

  // Reads the whole source; kLetta when the train half may follow once the
  // source is deleted and completa() has run.
  FineLettura leggi();

  // The closing stages: the gradients up to the end of the grid, the plan
  // of the line straight on to its last computed row.
  void completa();

 private:
  // Section search, the "[generale]" section and its keywords.
  bool trova_generale();
  Esito sezione_generale();
  Esito chiavi_generale(const std::string& campo);
  Esito riga_lunghezza();
  Esito riga_progressiva(record_stazione& s);
  Esito riga_ripetizione(const std::string& campo);

  // Feature rows after the "[generale]" section.
  Esito sezione_elementi();
  Esito chiavi_elementi(const std::string& campo);
  Esito riga_pendenza();
  Esito riga_curva(const std::string& campo);
  Esito riga_montagna();
  Esito riga_indicatori();
  Esito riga_cartello();

  void finisci_pendenze();
  void finisci_piano();

  // Field reading; false on a reading failure.
  bool testo() { return campi_.leggi_testo(&t_.riga); }
  bool numero(int32_t* v) { return campi_.leggi_numero(LettoreCampi::Larghezza::kI32, v); }

  // Whether a position passes the grid test: room for it and 100 m beyond
  // within the grid, and its cell (with the feature's offset) not before cell 0.
  bool nel_percorso(int32_t p, int64_t offset) const;

  // Ways out: a code that ends the half, a reading failure (code 25), a
  // position off the grid (code 15, which ends only the reading).
  Esito chiudi(int32_t codice, std::optional<int32_t> posizione = std::nullopt);
  Esito fallita();
  Esito fuori_percorso(int32_t p);
  // Records a code of this source.
  void registra(int32_t codice, std::optional<int32_t> posizione);

  Tabelle& t_;
  LettoreCampi campi_;
  FineLettura fine_ = FineLettura::kLetta;

  // Reader state kept across rows.
  int64_t cursore_pendenza_ = 0;  // next cell whose gradient byte is still to be written
  int32_t pendenza_precedente_ = 0;
  PianoLinea piano_;
  int32_t& indice_cartello_;  // entry of the next text board; counts down from 80
};

#endif  // SB_COMPILER_LETTURA_LETTURA_LINEA_H_
