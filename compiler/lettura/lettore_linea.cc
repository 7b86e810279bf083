// The line half of the source reading: finding the "[generale]" section,
// the line's general settings, then the feature rows (elementi_linea.cc),
// and the closing stages once the file has been consumed.

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/arrotonda.h"
#include "compiler/codici_errore.h"
#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/lettura/lettura_linea.h"
#include "compiler/limiti.h"
#include "compiler/posa/posa.h"
#include "compiler/registra_codice.h"
#include "compiler/registro.h"

namespace {

// Comment fields skipped per pass of the "[generale]" loop.
constexpr int kCommentiGenerale = 10;

// A section marker ends the "[generale]" section unless, once its leading
// blanks are set aside, it starts like a comment.
bool chiude_sezione(const std::string& campo) {
  if (!contiene(campo, "[") || !contiene(campo, "]")) return false;
  const size_t primo = campo.find_first_not_of(" \t");
  return primo == std::string::npos || campo[primo] != '-';
}

}  // namespace

LetturaLinea::LetturaLinea(Tabelle& t, std::string_view testo, int32_t* indice_cartello)
    : t_(t), campi_(testo), indice_cartello_(*indice_cartello) {
  if (t.registro != nullptr) campi_.registra_in(&t.registro->di(Sorgente::kLinea));
}

void LetturaLinea::registra(int32_t codice, std::optional<int32_t> posizione) {
  registra_codice(t_, codice, posizione, OrigineCodice::lettura(Sorgente::kLinea));
}

LetturaLinea::Esito LetturaLinea::fallita() {
  registra(codice::kLetturaFallita, std::nullopt);
  fine_ = FineLettura::kFallita;
  return Esito::kRitorno;
}

LetturaLinea::Esito LetturaLinea::chiudi(int32_t codice, std::optional<int32_t> posizione) {
  registra(codice, posizione);
  fine_ = FineLettura::kChiusa;
  return Esito::kRitorno;
}

LetturaLinea::Esito LetturaLinea::fuori_percorso(int32_t p) {
  registra(codice::kFuoriPercorso, p);
  return Esito::kFineFile;
}

bool LetturaLinea::nel_percorso(int32_t p, int64_t offset) const {
  return int64_t{p} + 100 <= kMetriCella * int64_t{t_.numero_celle} && cella_di(p, offset) >= 0;
}

FineLettura LetturaLinea::leggi() {
  if (!trova_generale()) return fine_;
  if (sezione_generale() == Esito::kRitorno) return fine_;

  // Without a length row there is no grid to place anything on.
  if (!t_.ha_percorso()) {
    fallita();
    return fine_;
  }
  if (const int32_t c = progressive_ordina(t_); c > 0) {
    chiudi(c);
    return fine_;
  }
  t_.numero_montagne = 0;
  cursore_pendenza_ = 0;
  pendenza_precedente_ = 0;
  piano_ = PianoLinea();
  indice_cartello_ = kPrimoCartello;
  if (t_.scrivi_linea != 0 && !t_.piano_senza_tabella) {
    t_.imposta_linea(0, 0, valore::Intero(0));
    t_.imposta_linea(0, 1, valore::Intero(0));
    t_.imposta_linea(1, 0, valore::Intero(0));
    t_.imposta_linea(1, 1, valore::Intero(1));
  }

  if (sezione_elementi() == Esito::kRitorno) return fine_;
  return FineLettura::kLetta;
}

void LetturaLinea::completa() {
  finisci_pendenze();
  if (t_.scrivi_linea != 0 && !t_.piano_senza_tabella) finisci_piano();
}

bool LetturaLinea::trova_generale() {
  // Everything up to the marker is skipped; a marker that is the very last
  // field of the file does not count, since nothing could follow it.
  for (;;) {
    if (!testo() || campi_.fine_file()) {
      chiudi(codice::kNessunGenerale);
      return false;
    }
    if (contiene_nocase(t_.riga, kMarcaGenerale)) return true;
  }
}

LetturaLinea::Esito LetturaLinea::sezione_generale() {
  for (;;) {
    if (campi_.fine_file()) return Esito::kAvanti;
    if (!testo()) return fallita();
    if (campi_.fine_file()) return Esito::kAvanti;  // the last field is never examined
    for (int i = 0; i < kCommentiGenerale; ++i) {
      if (contiene(t_.riga, "-") && !testo()) return fallita();
    }
    const std::string campo = t_.riga;
    nota_riga(t_, Sorgente::kLinea, Sezione::kGenerale);
    const Esito e = chiavi_generale(campo);
    nota_fine_riga(t_, Sorgente::kLinea);
    if (e != Esito::kAvanti) return e;
    if (chiude_sezione(campo)) return Esito::kAvanti;
  }
}

LetturaLinea::Esito LetturaLinea::chiavi_generale(const std::string& campo) {
  // Every row of the table is tried on every field: a field naming several
  // settings feeds each of them in turn.
  Esito e = Esito::kAvanti;
  if (contiene_nocase(campo, "percorso") && contiene_nocase(campo, "lunghezza")) {
    if ((e = riga_lunghezza()) != Esito::kAvanti) return e;
  }
  if (contiene(campo, "tre") && contiene(campo, "progressiva")) {
    if ((e = riga_progressiva(t_.stazioni[kVoceProgressivaTre])) != Esito::kAvanti) return e;
  }
  if (contiene(campo, "due") && contiene(campo, "progressiva")) {
    if ((e = riga_progressiva(t_.stazioni[kVoceProgressivaDue])) != Esito::kAvanti) return e;
  }
  if (contiene(campo, "uno") && contiene(campo, "progressiva")) {
    if ((e = riga_progressiva(t_.stazioni[kVoceProgressivaUno])) != Esito::kAvanti) return e;
  }
  if (contiene(campo, "sfondo") && contiene(campo, "uno")) {
    if (!numero(&t_.stazioni[kVoceScenario].inizio)) return fallita();
  }
  if (contiene(campo, "sfondo") && contiene(campo, "due")) {
    if (!numero(&t_.stazioni[kVoceScenario].posizione)) return fallita();
  }
  if (contiene(campo, "sfondo") && contiene(campo, "tre")) {
    if (!numero(&t_.stazioni[kVoceScenario].fine)) return fallita();
  }
  if (contiene(campo, "segnali") && contiene(campo, "ripetizione")) {
    if ((e = riga_ripetizione(campo)) != Esito::kAvanti) return e;
  }
  return Esito::kAvanti;
}

LetturaLinea::Esito LetturaLinea::riga_lunghezza() {
  int32_t lunghezza = 0;
  if (!numero(&lunghezza)) return fallita();
  t_.stazioni[kVoceGenerale].fine = lunghezza;
  // A negative length would leave no room for the first two rows of the
  // plan; it is refused like one that is too long.
  if (lunghezza > kLunghezzaMassima || lunghezza < 0) return chiudi(codice::kLunghezzaEccessiva);
  t_.limite_tabella = lunghezza + kCodaPercorso;
  t_.numero_celle = static_cast<int32_t>(dividi_arrotonda(t_.limite_tabella, kMetriCella));
  t_.percorso.assign(static_cast<size_t>(t_.numero_celle) + 1, cella{});
  t_.rallentamenti_in_una_cella.clear();
  if (t_.scrivi_linea != 0 && !t_.piano_senza_tabella)
    t_.tabella_linea.assign(2 * (static_cast<size_t>(t_.limite_tabella) + 1), valore{});
  else
    t_.tabella_linea.clear();
  return Esito::kAvanti;
}

LetturaLinea::Esito LetturaLinea::riga_progressiva(record_stazione& s) {
  if (!numero(&s.inizio) || !numero(&s.fine) || !numero(&s.posizione)) return fallita();
  return Esito::kAvanti;
}

LetturaLinea::Esito LetturaLinea::riga_ripetizione(const std::string& campo) {
  record_stazione& s = t_.stazioni[kVoceTreno];
  if (!numero(&s.inizio) || !numero(&s.fine)) return fallita();
  if (s.inizio % 50 != 0) return chiudi(codice::kRipetizioneInizio);
  if (s.fine % 50 != 0) return chiudi(codice::kRipetizioneFine);
  // The number of codes is written in the keyword itself; "4" is looked
  // for first. A second position of 0 means no repetition at all.
  if (contiene(campo, "4"))
    s.posizione = 4;
  else if (contiene(campo, "9"))
    s.posizione = 9;
  else
    return chiudi(codice::kRipetizioneCodici);
  if (s.fine == 0) s.posizione = 0;
  return Esito::kAvanti;
}

void LetturaLinea::finisci_pendenze() {
  // The gradient rows keep the cursor within the grid (code 112), so the
  // cell it stands on exists.
  do {
    t_.percorso[static_cast<size_t>(cursore_pendenza_)].pendenza =
        static_cast<uint8_t>((int64_t{pendenza_precedente_} + 100) & 0xFF);
    ++cursore_pendenza_;
  } while (cursore_pendenza_ < int64_t{t_.numero_celle} - 2);
}

void LetturaLinea::finisci_piano() {
  piano_.dritto_fino_a(t_, int64_t{t_.limite_tabella} - 2);
}
