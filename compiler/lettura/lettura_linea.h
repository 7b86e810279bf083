#ifndef SB_COMPILER_LETTURA_LETTURA_LINEA_H_
#define SB_COMPILER_LETTURA_LETTURA_LINEA_H_

#include <cstdint>
#include <optional>
#include <string>

#include "compiler/ambiente.h"
#include "compiler/lettura/lettore_campi.h"
#include "compiler/lettura/piano_linea.h"
#include "compiler/tabelle.h"

// One reading of the line source, already loaded into memory. The source
// file stays on disk until the reading deletes it: on every way out but a
// missing file.
class LetturaLinea {
 public:
  // How a keyword handler or a reading pass ended.
  enum class Esito {
    kAvanti,    // go on with the next field
    kFineFile,  // code 15 recorded: stop reading, finish as at the end of the file
    kRitorno,   // code recorded and the source dealt with: the line half is over
  };

  // REQUIRES: `testo` is the content of the file at `percorso_file` and
  // outlives the reading.
  LetturaLinea(Tabelle& t, const Ambiente& a, std::string percorso_file, const std::string& testo,
               int32_t* indice_cartello);

  // Reads the whole source. True when the train half is to follow.
  bool leggi();

  // The failure of a file operation or of the field reader (code 25): both
  // sources are deleted where they still exist.
  static Esito lettura_fallita(Tabelle& t, const Ambiente& a);

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

  // Closing stages: the gradients up to the end of the grid, the plan of the
  // line straight on to its last computed row.
  void finisci_pendenze();
  void finisci_piano();

  // Field reading; false on a reading failure.
  bool testo() { return campi_.leggi_testo(&t_.riga); }
  bool numero(int32_t* v) { return campi_.leggi_numero(LettoreCampi::Larghezza::kI32, v); }

  // Whether a position passes the grid test: room for it and 100 m beyond
  // within the grid, and its cell (with the feature's offset) not before cell 0.
  bool nel_percorso(int32_t p, int64_t offset) const;

  // Ways out: a recorded code with the source deleted, a reading failure,
  // a position off the grid.
  Esito chiudi(int32_t codice, std::optional<int32_t> posizione = std::nullopt);
  Esito fallita() { return lettura_fallita(t_, a_); }
  Esito fuori_percorso(int32_t p);

  Tabelle& t_;
  const Ambiente& a_;
  std::string percorso_file_;
  LettoreCampi campi_;

  // Reader state kept across rows.
  int64_t cursore_pendenza_ = 0;  // next cell whose gradient byte is still to be written
  int32_t pendenza_precedente_ = 0;
  PianoLinea piano_;
  int32_t& indice_cartello_;  // entry of the next text board; counts down from 80
};

#endif  // SB_COMPILER_LETTURA_LETTURA_LINEA_H_
