#ifndef SB_COMPILER_LETTURA_FORMATO_SORGENTI_H_
#define SB_COMPILER_LETTURA_FORMATO_SORGENTI_H_

// The vocabulary of the two sources, written once: every kind of row the
// readers know, the part of its source where it counts, the keywords that
// name it and the fields its handler reads, in order, with what each means
// to an author. The readers keep their own keyword tests (a test holds them
// to this table); everything else that names a keyword or a field (the
// tool's diagnostics, the fuzzers, the documentation's tables) takes it
// from here.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "compiler/registro.h"

// Kinds of row, by what the author writes them for. The three kilometre
// changes share a kind, and so do the three background settings.
enum class TipoRiga : uint8_t {
  kNessuno,
  // Line source, "[generale]" section.
  kLunghezza,
  kProgressiva,
  kSfondo,
  kRipetizione,
  // Line source, feature rows.
  kPendenza,
  kCurva,
  kMontagna,
  kIndicatori,
  kCartello,
  // Train source.
  kMassaFrenata,
  kVetture,
  kVelocita,
  kAderenza,
  kOrologio,
  kSabbia,
  kSegnale,
  kRallentamento,
  kAbbattimento,
  kStazione,
};

// How a field is read: a whole number of a width, or text to the end of
// the field.
enum class Larghezza : uint8_t { kU8, kI16, kI32, kTesto };

struct CampoFormato {
  const char* nome;  // as the documentation names it: "position p", "vas"
  Larghezza larghezza;
  const char* unita;        // "m", "km/h", ...; "" for a plain number or a text
  const char* significato;  // one line, in an author's words
};

struct RigaFormato {
  Sorgente sorgente;
  Sezione sezione;  // where the keywords are looked for
  TipoRiga tipo;
  // Keywords that must all occur in the field, anywhere in it; the unused
  // entry is null.
  std::array<const char*, 2> parole;
  bool ignora_maiuscole;                // compared ignoring the case of ASCII letters, or exactly
  std::span<const CampoFormato> campi;  // the fields read after the keyword, in order
  const char* nome;                     // how an author names the feature: "kilometre change"
  const char* descrizione;              // what the row does, in one line
  // The keyword field as the built-in sources write it, and the other
  // spellings worth offering to an author.
  std::span<const char* const> forme;
};

// The marker before which both readers skip everything.
inline constexpr char kMarcaGenerale[] = "[generale]";

// Every row kind of both sources: per section, in the order the readers
// try them (rows of one kind in the order the built-in sources write them).
// Every row of its section is tried on every field, so one field may
// trigger several rows.
std::span<const RigaFormato> righe_formato();

// The keywords of `r` (one or two).
std::span<const char* const> parole(const RigaFormato& r);

// Whether every keyword of `r` occurs in `campo`, compared as `r` says;
// whether some row of kind `t` recognises `campo`.
bool riconosce(const RigaFormato& r, std::string_view campo);
bool riconosce(TipoRiga t, std::string_view campo);

// The first row of section `s` that recognises `campo`, or null.
const RigaFormato* riga_riconosciuta(Sezione s, std::string_view campo);

// The first row of kind `t`. REQUIRES: t is not kNessuno.
const RigaFormato& formato_di(TipoRiga t);

#endif  // SB_COMPILER_LETTURA_FORMATO_SORGENTI_H_
