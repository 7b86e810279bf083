#ifndef SB_TOOL_DIAGNOSI_CONTESTO_H_
#define SB_TOOL_DIAGNOSI_CONTESTO_H_

// What the diagnostics know about one compile: the two sources, the account
// the compiler kept of its reading (fields, rows, cells, codes) and the
// tables it ended with. The helpers here turn that account into the
// author's terms: which row, which field, what stands on a cell.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/registro.h"
#include "compiler/tabelle.h"
#include "tool/diagnosi/compilazione.h"
#include "tool/diagnosi/diagnostica.h"

class Contesto {
 public:
  Contesto(const Compilazione& c, const TestoSorgente& linea, const TestoSorgente& treno, int32_t j)
      : c_(c), sorgenti_{&linea, &treno}, j_(j) {}

  const Compilazione& compilazione() const { return c_; }
  const Registro& registro() const { return c_.registro; }
  const Tabelle& tabelle() const { return c_.tabelle; }
  int32_t j() const { return j_; }
  const TestoSorgente& sorgente(Sorgente s) const { return *sorgenti_[static_cast<int>(s)]; }
  const TestoSorgente* const* sorgenti() const { return sorgenti_; }

  // Fields and rows of the account.
  const std::vector<CampoLetto>& campi(Sorgente s) const {
    return c_.registro.campi[static_cast<size_t>(s)];
  }
  // The bytes of a field, trailing blanks left out.
  std::string_view testo_campo(Sorgente s, size_t i) const;
  const RigaLetta* riga(int64_t r) const;
  // The first kind of row the readers took the keyword field of `r` for,
  // in the order they test them.
  TipoRiga tipo(const RigaLetta& r) const;
  // The n-th field a row's handlers read (1 for the first after the
  // keyword), or null when they read fewer.
  const CampoLetto* campo_riga(const RigaLetta& r, size_t n) const;
  // The n-th number of a row as the field reader read it (a field that is
  // not a number reads as 0), or none.
  std::optional<int64_t> numero(const RigaLetta& r, size_t n) const;

  // A diagnostic at a field, at the n-th field of a row (the keyword field
  // for 0; the keyword too when the row has no such field), at the end of a
  // source, or without a row.
  Diagnostica al_campo(Sorgente s, size_t i) const;
  Diagnostica alla_riga(const RigaLetta& r, size_t n = 0) const;
  Diagnostica alla_fine(Sorgente s) const;
  static Diagnostica senza_riga(Sorgente s);
  // A warning at the n-th field of row r, as alla_riga, with its sentence.
  Diagnostica avviso(const RigaLetta& r, size_t n, std::string messaggio) const;
  // Row r as a related row of another diagnostic, at its n-th field.
  Collegata collegata(const RigaLetta& r, size_t n, std::string messaggio) const;
  // The line (from 1) the keyword field of r stands on.
  size_t linea(const RigaLetta& r) const;
  // The rows of one kind, in reading order, that read at least `n` fields
  // after the keyword. REQUIRES: n >= 1.
  std::vector<const RigaLetta*> righe_di(TipoRiga t, size_t n = 1) const;

  // How the author would name the feature of a row: "signal", "station"...
  static std::string nome(TipoRiga t);
  // The point feature standing on grid cell k, as a phrase after "the":
  // "station at 17000 m", "start of the slow-down at 3000 m"; with the row
  // that placed it when there is one.
  std::string occupante(int64_t k, const RigaLetta** riga = nullptr) const;
  // The row that placed the feature of cell k and whether it is a code cut
  // the finishing pass added for it.
  const RigaLetta* riga_della_cella(int64_t k, bool* aggiunta = nullptr) const;

  // The line's length as its row gives it (0 without one).
  int64_t lunghezza() const { return c_.tabelle.stazioni[kVoceGenerale].fine; }
  // 50 * numero_celle: where the track grid ends, in metres.
  int64_t fine_griglia() const { return 50 * int64_t{c_.tabelle.numero_celle}; }

 private:
  const Compilazione& c_;
  const TestoSorgente* sorgenti_[2];
  int32_t j_;
};

// The kind of row a keyword field `k` read in `sezione` starts, by the
// readers' tests in their order.
TipoRiga tipo_di(std::string_view k, Sezione sezione);

// The parse of the field reader: an optional sign and digits, else 0.
int64_t valore_numero(std::string_view token);
// Whether `token` is a number as the field reader reads one.
bool e_numero(std::string_view token);
// "176000 m (176 km)"-style text for a distance.
std::string metri(int64_t m);

#endif  // SB_TOOL_DIAGNOSI_CONTESTO_H_
