#ifndef SB_COMPILER_LETTURA_LETTORE_CAMPI_H_
#define SB_COMPILER_LETTURA_LETTORE_CAMPI_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/registro.h"

// Reads a source text as a stream of fields. A field ends at a comma or at a
// line end (CR LF, or a lone CR or LF). Both source readers go through it.
//
// Reading past the end of the text, and a number that does not fit its
// width, are reading failures: the call returns false and the reader
// records code 25.
class LettoreCampi {
 public:
  enum class Larghezza { kU8, kI16, kI32 };

  // REQUIRES: `testo` outlives the reader.
  explicit LettoreCampi(std::string_view testo) : testo_(testo) {}

  // True once every byte of the text has been consumed.
  bool fine_file() const { return pos_ >= testo_.size(); }

  // Next field as text: leading blanks skipped; a text opening with a double
  // quote runs to the closing quote and the rest of the field is skipped;
  // otherwise it runs up to the comma or line end, which is consumed.
  // Blanks before the delimiter are kept. An empty or blank line yields "".
  bool leggi_testo(std::string* out);

  // Next field as a whole number of width `w`: blanks and line ends before
  // it skipped; it ends at a blank, comma or line end; then blanks and one
  // comma, or one line end, are consumed. A field that is not a number
  // yields 0.
  bool leggi_numero(Larghezza w, int32_t* out);

  // From now on every field read, and every read that fails, is appended to
  // `*campi` (nothing is kept while it is null, as in the builder).
  void registra_in(std::vector<CampoLetto>* campi) { campi_ = campi; }

 private:
  bool blank(size_t i) const { return testo_[i] == ' ' || testo_[i] == '\t'; }
  bool fine_riga(size_t i) const { return testo_[i] == '\r' || testo_[i] == '\n'; }
  // Consumes one line end at pos_. REQUIRES: fine_riga(pos_).
  void consuma_fine_riga();

  void nota(size_t inizio, size_t fine, CampoLetto::Tipo tipo, bool fallito) {
    if (campi_ != nullptr) campi_->push_back(CampoLetto{inizio, fine, tipo, fallito});
  }

  std::string_view testo_;
  size_t pos_ = 0;
  std::vector<CampoLetto>* campi_ = nullptr;
};

// Keyword tests: whether `chiave` occurs anywhere in `campo`, comparing
// exactly or ignoring the case of ASCII letters.
bool contiene(std::string_view campo, std::string_view chiave);
bool contiene_nocase(std::string_view campo, std::string_view chiave);

#endif  // SB_COMPILER_LETTURA_LETTORE_CAMPI_H_
