// The line half of the source reading: finding the "[generale]" section,
// the line's general settings, then the feature rows (elementi_linea.cc),
// and the closing stages once the file has been consumed.

#include <cstdint>
#include <string>
#include <utility>

#include "compiler/arrotonda.h"
#include "compiler/codici_errore.h"
#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/lettura/lettura_linea.h"
#include "compiler/lettura/memorizza_dati.h"
#include "compiler/nomi_file.h"
#include "compiler/registro.h"
#include "compiler/posa/posa.h"
#include "platform/executable_dir.h"

namespace {

// The longest line the tables are built for, in metres.
constexpr int32_t kLunghezzaMassima = 1000000;
// Track beyond the nominal end of the line, for the train to run out on.
constexpr int32_t kCodaPercorso = 7000;
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

bool leggi_sorgente_linea(Tabelle& t, const Ambiente& a, int32_t* indice_cartello) {
  t.stazioni[85].nome = t.nome_scenario;
  t.stazioni[86].nome = t.numero_treno;
  std::string percorso_file = JoinPath(a.directory, nome_sorgente_linea(t.nome_scenario));
  if (!a.fs->Exists(percorso_file)) {
    t.codice_errore = codice::kNessunaLinea;
    nota_codice(t, Sorgente::kLinea);
    return false;
  }
  std::string testo;
  if (Status s = a.fs->Read(percorso_file, &testo); !s.ok()) {
    t.ricorda_guasto(s);
    LetturaLinea::lettura_fallita(t, a);
    return false;
  }
  LetturaLinea lettura(t, a, std::move(percorso_file), testo, indice_cartello);
  return lettura.leggi();
}

LetturaLinea::LetturaLinea(Tabelle& t, const Ambiente& a, std::string percorso_file,
                           const std::string& testo, int32_t* indice_cartello)
    : t_(t),
      a_(a),
      percorso_file_(std::move(percorso_file)),
      campi_(testo),
      indice_cartello_(*indice_cartello) {
  if (t.registro != nullptr) campi_.registra_in(&t.registro->di(Sorgente::kLinea));
}

LetturaLinea::Esito LetturaLinea::lettura_fallita(Tabelle& t, const Ambiente& a) {
  t.codice_errore = codice::kLetturaFallita;
  nota_codice(t, Sorgente::kLinea);
  // The code already says the reading failed; a delete that fails as well
  // is kept only when it is the first failure of a file.
  const std::string linea = JoinPath(a.directory, nome_sorgente_linea(t.nome_scenario));
  const std::string treno =
      JoinPath(a.directory, nome_sorgente_treno(t.nome_scenario, t.numero_treno));
  if (a.fs->Exists(linea)) t.ricorda_guasto(a.fs->Remove(linea));
  if (a.fs->Exists(treno)) t.ricorda_guasto(a.fs->Remove(treno));
  return Esito::kRitorno;
}

LetturaLinea::Esito LetturaLinea::chiudi(int32_t codice, std::optional<int32_t> posizione) {
  if (Status s = a_.fs->Remove(percorso_file_); !s.ok()) {
    t_.ricorda_guasto(s);
    return fallita();
  }
  t_.codice_errore = codice;
  if (posizione) t_.posizione_errore = *posizione;
  nota_codice(t_, Sorgente::kLinea);
  return Esito::kRitorno;
}

LetturaLinea::Esito LetturaLinea::fuori_percorso(int32_t p) {
  t_.codice_errore = codice::kFuoriPercorso;
  t_.posizione_errore = p;
  nota_codice(t_, Sorgente::kLinea);
  return Esito::kFineFile;
}

bool LetturaLinea::nel_percorso(int32_t p, int64_t offset) const {
  return int64_t{p} + 100 <= 50 * int64_t{t_.numero_celle} && cella_di(p, offset) >= 0;
}

bool LetturaLinea::leggi() {
  if (!trova_generale()) return false;
  if (sezione_generale() == Esito::kRitorno) return false;

  // Without a length row there is no grid to place anything on.
  if (!t_.ha_percorso()) {
    fallita();
    return false;
  }
  progressive_ordina(t_);
  if (t_.codice_errore > 0) {
    chiudi(t_.codice_errore);
    return false;
  }
  t_.numero_montagne = 0;
  cursore_pendenza_ = 0;
  pendenza_precedente_ = 0;
  piano_ = PianoLinea();
  indice_cartello_ = 80;
  if (t_.scrivi_linea != 0) {
    t_.imposta_linea(0, 0, valore::Intero(0));
    t_.imposta_linea(0, 1, valore::Intero(0));
    t_.imposta_linea(1, 0, valore::Intero(0));
    t_.imposta_linea(1, 1, valore::Intero(1));
  }

  if (sezione_elementi() == Esito::kRitorno) return false;
  if (Status s = a_.fs->Remove(percorso_file_); !s.ok()) {
    t_.ricorda_guasto(s);
    fallita();
    return false;
  }
  finisci_pendenze();
  if (t_.scrivi_linea != 0) finisci_piano();
  return true;
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
    if ((e = riga_progressiva(t_.stazioni[81])) != Esito::kAvanti) return e;
  }
  if (contiene(campo, "due") && contiene(campo, "progressiva")) {
    if ((e = riga_progressiva(t_.stazioni[82])) != Esito::kAvanti) return e;
  }
  if (contiene(campo, "uno") && contiene(campo, "progressiva")) {
    if ((e = riga_progressiva(t_.stazioni[83])) != Esito::kAvanti) return e;
  }
  if (contiene(campo, "sfondo") && contiene(campo, "uno")) {
    if (!numero(&t_.stazioni[85].inizio)) return fallita();
  }
  if (contiene(campo, "sfondo") && contiene(campo, "due")) {
    if (!numero(&t_.stazioni[85].posizione)) return fallita();
  }
  if (contiene(campo, "sfondo") && contiene(campo, "tre")) {
    if (!numero(&t_.stazioni[85].fine)) return fallita();
  }
  if (contiene(campo, "segnali") && contiene(campo, "ripetizione")) {
    if ((e = riga_ripetizione(campo)) != Esito::kAvanti) return e;
  }
  return Esito::kAvanti;
}

LetturaLinea::Esito LetturaLinea::riga_lunghezza() {
  int32_t lunghezza = 0;
  if (!numero(&lunghezza)) return fallita();
  t_.stazioni[84].fine = lunghezza;
  // A negative length would leave no room for the first two rows of the
  // plan; it is refused like one that is too long.
  if (lunghezza > kLunghezzaMassima || lunghezza < 0) return chiudi(codice::kLunghezzaEccessiva);
  t_.limite_tabella = lunghezza + kCodaPercorso;
  t_.numero_celle = static_cast<int32_t>(dividi_arrotonda(t_.limite_tabella, 50));
  t_.percorso.assign(static_cast<size_t>(t_.numero_celle) + 1, cella{});
  t_.rallentamenti_in_una_cella.clear();
  if (t_.scrivi_linea != 0)
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
  record_stazione& s = t_.stazioni[86];
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
