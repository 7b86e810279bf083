#ifndef SB_TOOL_DIAGNOSI_DIAGNOSTICA_H_
#define SB_TOOL_DIAGNOSI_DIAGNOSTICA_H_

// The tool's account of what is wrong with an author's sources: one
// diagnostic per problem, pointing at a span of bytes of one source, shown
// as compilers show theirs (file:line:column, a sentence, the row with a
// caret under the field) or as one JSON object for editors and scripts.

#include <cstddef>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One source text as the author wrote it, with the start of each line.
// Lines end at CR LF, a lone CR or a lone LF, as the field reader sees them.
// Lines and columns count from 1; a column counts bytes.
class TestoSorgente {
 public:
  TestoSorgente(std::string nome, std::string testo);

  const std::string &nome() const { return nome_; }  // the path as the author gave it
  const std::string &testo() const { return testo_; }

  // Number of lines. A line end at the very end of the text opens no line of
  // its own, and an empty text has one empty line.
  size_t righe() const { return inizi_.size(); }
  // Line and column of byte offset `o`; the end of the text (or anything
  // beyond) lies just after the last byte of the last line.
  size_t riga(size_t o) const;
  size_t colonna(size_t o) const;
  // Line `n` (from 1) without its line end. REQUIRES: 1 <= n <= righe().
  std::string_view testo_riga(size_t n) const;
  // Offset one past the last byte of line `n`, before its line end.
  size_t fine_riga(size_t n) const;
  // The column just past the span [inizio, fine), cut at the end of the
  // line of `inizio`: the end column of a range on one line.
  size_t colonna_fine(size_t inizio, size_t fine) const;

 private:
  std::string nome_;
  std::string testo_;
  std::vector<size_t> inizi_;
};

// A mechanical fix of a diagnostic: the bytes [inizio, fine) of the
// diagnostic's source become `testo` (Windows-1252, as the sources). An
// empty span inserts `testo` before `inizio`. A fix never spans two lines.
struct Correzione {
  size_t inizio = 0;
  size_t fine = 0;
  std::string testo;
};

// Another row that takes part in a diagnostic: the station whose cell a
// signal fell on, the row a run-on row swallows. `messaggio` says what it is
// to the diagnostic ("the station at 8200 m stands here").
struct Collegata {
  int sorgente = 0;
  size_t inizio = 0;
  size_t fine = 0;
  std::string messaggio;  // Windows-1252 bytes
};

struct Diagnostica {
  enum class Gravita { kErrore, kAvviso };
  Gravita gravita = Gravita::kErrore;
  std::optional<int32_t> codice;  // the compiler's code; none for a warning
  int sorgente = 0;               // 0 the line source, 1 the train source
  // The bytes at fault, [inizio, fine) in that source; an empty span points
  // just before `inizio`. When `ha_riga` is false the row responsible cannot
  // be known and the diagnostic names only the file.
  bool ha_riga = true;
  size_t inizio = 0;
  size_t fine = 0;
  std::optional<int64_t> posizione_m;  // the position of the code, when it has one
  std::string messaggio;               // Windows-1252 bytes, as in the sources
  std::vector<Correzione> correzioni;  // fix-its, all in this diagnostic's source
  std::vector<Collegata> collegate;    // related rows
};

// What a check or a compile ended with, for the JSON object: the compiler's
// own error state at the end.
struct StatoFinale {
  int32_t codice_errore = 0;
  int32_t posizione_errore = 0;
};

// The text form: one diagnostic after another, each a heading line
// "file:line:column: error: sentence (code N)" (or "warning: sentence"),
// then the row indented by two blanks and a caret line under the field;
// a fix-it adds a line with its text under the caret line, and each
// related row follows as "file:line:column: note: sentence" with its row.
std::string testo_diagnostiche(const std::vector<Diagnostica> &d,
                               const TestoSorgente *const sorgenti[2]);

// The JSON form: {"codice_errore", "posizione_errore", "diagnostics": [...]},
// as a document and as the text the tool prints. Each diagnostic carries
// "line", "column" and "end_column" (the column just past its span, on the
// same line), its "fixes" [{line, column, end_column, text}] and its
// "related" rows [{file, line, column, message}].
nlohmann::ordered_json documento_diagnostiche(const std::vector<Diagnostica> &d,
                                              const TestoSorgente *const sorgenti[2],
                                              const StatoFinale &stato);
std::string testo_json(const nlohmann::ordered_json &documento);

// Windows-1252 bytes as UTF-8, for the rooms that see sources/ only through
// the diagnosis.
std::string utf8_da_1252(std::string_view s);

// `s` in double quotes, the way a sentence names a keyword or a field.
inline std::string q(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 2);
  out += '"';
  out += s;
  out += '"';
  return out;
}

#endif  // SB_TOOL_DIAGNOSI_DIAGNOSTICA_H_
