#ifndef SB_COMPILER_LETTURA_MEMORIZZA_DATI_H_
#define SB_COMPILER_LETTURA_MEMORIZZA_DATI_H_

// The reading stage, on text. Receives the working tables with an empty
// station table and no grid, and the bytes of the two sources as the caller
// found them. Leaves the track grid `percorso` and the plan of the line
// `tabella_linea` created by the line source's length row, every feature of
// both sources placed on the grid (through the placement stage) or in
// `stazioni`, the tunnel lists filled, and the first problem met recorded.
//
// It opens, reads and deletes no file. Each half tells its caller how it
// ended, and so what becomes of its source: the builder deletes a source
// once its half has read it, and the stage goes on only once the delete is
// done (completa_linea, completa_treno), as the order of a run requires. A
// caller with no files to delete calls the steps one after the other.

#include <cstdint>
#include <memory>

#include "compiler/sorgente_testo.h"
#include "compiler/tabelle.h"

class LetturaLinea;
class LettoreTreno;

// How one row's handler, or one pass of a reader, ended.
enum class EsitoRiga : uint8_t {
  kAvanti,    // go on with the next field
  kFineFile,  // code 15 recorded: stop reading, finish as at the end of the file
  kRitorno,   // a code recorded that ends the half (see FineLettura)
};

// How one half of the reading ended.
enum class FineLettura : uint8_t {
  kLetta,     // read to its end (or stopped by code 15): its source is to be
              // deleted, then the half completed
  kChiusa,    // a code ended the half: its source is to be deleted; the line
              // half is then over and the train source is not read
  kFallita,   // reading failed, code 25 recorded: the sources still there
              // are to be deleted (both for the line half, the train source
              // for the train half)
  kMancante,  // the line source does not exist, code 101 recorded: nothing
              // is deleted and the train source is not read
};

class LetturaSorgenti {
 public:
  // `indice_cartello` is the entry below which the stations may go, as
  // the text boards leave it (80 with no board read yet).
  explicit LetturaSorgenti(Tabelle& t, int32_t indice_cartello = kPrimoCartello);
  ~LetturaSorgenti();
  LetturaSorgenti(const LetturaSorgenti&) = delete;
  LetturaSorgenti& operator=(const LetturaSorgenti&) = delete;

  // The line half. REQUIRES: `linea.testo` outlives completa_linea.
  FineLettura leggi_linea(const SorgenteTesto& linea);
  // After kLetta: the gradients up to the end of the grid and the plan of
  // the line straight on to its last row. The train half may follow.
  void completa_linea();

  // The train half. REQUIRES: `treno.testo` outlives completa_treno.
  FineLettura leggi_treno(const SorgenteTesto& treno);
  // After kLetta: the speed limits and the adhesion to the end of the grid,
  // then the check of the kilometre-progressive changes.
  void completa_treno();

  // The source of the half that ended as `fine` could not be deleted: code
  // 25. After a closing code the position goes back to what it was before
  // that code, since the code never took effect.
  void eliminazione_fallita(FineLettura fine);

  // The entry of the lowest text board minus one, once the line is read.
  int32_t indice_cartello() const { return indice_cartello_; }

 private:
  Tabelle& t_;
  int32_t indice_cartello_;      // entry of the lowest text board minus one
  int32_t posizione_prima_ = 0;  // posizione_errore when the half began
  std::unique_ptr<LetturaLinea> linea_;
  std::unique_ptr<LettoreTreno> treno_;
};

// Both halves over two texts, with no file to delete between them: what
// the reading stage leaves for a compile that works on text alone.
void leggi_sorgenti(Tabelle& t, const SorgenteTesto& linea, const SorgenteTesto& treno);

#endif  // SB_COMPILER_LETTURA_MEMORIZZA_DATI_H_
