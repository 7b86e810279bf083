// The train half of reading the sources: train make-up, sand, start time,
// adhesion and speed limits along the line, stations, signals, slow-downs
// and cuts of the signal code. The source is read whole into memory, walked
// field by field, and deleted once read.
#include <cstdint>
#include <limits>
#include <string>

#include "compiler/arrotonda.h"
#include "compiler/codici_errore.h"
#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/lettura/lettura_treno.h"
#include "compiler/limiti.h"
#include "compiler/posa/posa.h"
#include "compiler/registra_codice.h"
#include "compiler/registro.h"

namespace {

using L = LettoreCampi::Larghezza;
using Esito = EsitoRiga;

// A station row needs this much grid after its position, room for its area
// and its stop cell.
constexpr int64_t kMargineStazione = 800;
// Every other row needs two cells after its position.
constexpr int64_t kMargine = 100;
// Stations must be at least this far apart (end of one to start of next).
constexpr int64_t kDistanzaStazioni = 350;

}  // namespace

LettoreTreno::LettoreTreno(Tabelle& t, std::string_view testo, int32_t indice_cartello)
    : t_(t), campi_(testo), indice_cartello_(indice_cartello) {
  if (t.registro != nullptr) campi_.registra_in(&t.registro->di(Sorgente::kTreno));
}

void LettoreTreno::registra(int32_t codice, std::optional<int32_t> posizione) {
  registra_codice(t_, codice, posizione, OrigineCodice::lettura(Sorgente::kTreno));
}

Esito LettoreTreno::fuori(int32_t p) {
  registra(codice::kFuoriPercorso, p);
  return Esito::kFineFile;
}

Esito LettoreTreno::chiudi(int32_t codice, std::optional<int32_t> p) {
  registra(codice, p);
  fine_ = FineLettura::kChiusa;
  return Esito::kRitorno;
}

Esito LettoreTreno::guasto() {
  registra(codice::kLetturaFallita, std::nullopt);
  fine_ = FineLettura::kFallita;
  return Esito::kRitorno;
}

Esito LettoreTreno::leggi() {
  std::string campo;
  // Everything up to and including the marker is skipped; a source without
  // it has nothing to read.
  while (!campi_.fine_file()) {
    if (!campi_.leggi_testo(&campo)) return guasto();
    if (contiene_nocase(campo, kMarcaGenerale)) break;
  }
  for (;;) {
    if (campi_.fine_file()) return Esito::kAvanti;
    if (!campi_.leggi_testo(&t_.riga)) return guasto();
    if (campi_.fine_file()) return Esito::kAvanti;
    // Comment rows (column headings, remarks) are skipped, two per pass.
    for (int volta = 0; volta < 2; ++volta) {
      if (contiene(t_.riga, "-")) {
        if (!campi_.leggi_testo(&t_.riga)) return guasto();
        if (campi_.fine_file()) return Esito::kAvanti;
      }
    }
    nota_riga(t_, Sorgente::kTreno, Sezione::kTreno);
    Esito e = riga_letta();
    nota_fine_riga(t_, Sorgente::kTreno);
    if (e != Esito::kAvanti) return e;
  }
}

// Tests the field just read against every keyword, in order; the tests are
// independent, so a field holding several keywords runs several handlers.
Esito LettoreTreno::riga_letta() {
  const std::string chiave = t_.riga;
  auto ha = [&](std::string_view k) { return contiene_nocase(chiave, k); };
  Esito e = Esito::kAvanti;
  auto esegui = [&](Esito risultato) {
    e = risultato;
    return e == Esito::kAvanti;
  };
  record_stazione& generali = t_.stazioni[kVoceGenerale];
  record_stazione& treno = t_.stazioni[kVoceTreno];
  int32_t v = 0;

  if (ha("frenata") && ha("massa")) {
    if (!numero(L::kI32, &v)) return guasto();
    generali.inizio = v;
  }
  if (ha("vetture")) {
    if (!numero(L::kI32, &v)) return guasto();
    generali.posizione = v;
  }
  if (ha("velocit") && !esegui(velocita())) return e;
  if (ha("aderenza") && !esegui(aderenza())) return e;
  if (ha("orologio")) {
    int32_t ore = 0, minuti = 0, secondi = 0;
    if (!numero(L::kI16, &ore) || !numero(L::kI16, &minuti) || !numero(L::kI16, &secondi))
      return guasto();
    treno.d1b = static_cast<int16_t>(ore);
    treno.d2b = static_cast<int16_t>(minuti);
    treno.d3b = static_cast<int16_t>(secondi);
  }
  if (ha("sabbia")) {
    if (!numero(L::kI16, &v)) return guasto();
    treno.d2a = static_cast<int16_t>(v);
  }
  if (ha("segnale") && !esegui(segnale())) return e;
  if (ha("rallentamento") && !esegui(rallentamento())) return e;
  if (ha("abbattimento") && !esegui(abbattimento())) return e;
  if (ha("stazione") && !esegui(stazione())) return e;
  return Esito::kAvanti;
}

bool LettoreTreno::byte_velocita(uint8_t* byte) const {
  const int64_t passi = dividi_arrotonda(velocita_precedente_, 5);
  if (passi < 0 || passi > 255) return false;
  *byte = static_cast<uint8_t>(passi);
  return true;
}

// A speed row: speed v holds from the cell of p on; the cells before it, from
// where the previous row took effect, get the previous speed in 5 km/h steps.
// A speed is turned into its byte only when cells receive it, so a speed
// that does not fit stops the reading at the next speed row that writes it
// (or at the final fill), not where it is read.
Esito LettoreTreno::velocita() {
  int32_t p = 0, v = 0;
  if (!numero(L::kI32, &p) || !numero(L::kI32, &v)) return guasto();
  if (!nel_percorso(p, kMargine)) return fuori(p);
  const int64_t n = dividi_arrotonda(p, 50);
  if (n > 0 && cursore_velocita_ < t_.numero_celle) {
    uint8_t byte = 0;
    if (!byte_velocita(&byte)) return guasto();
    do {
      if (cursore_velocita_ >= t_.numero_celle) break;
      if (cella* c = at(cursore_velocita_)) c->velocita = byte;
      ++cursore_velocita_;
    } while (cursore_velocita_ < n);
  }
  velocita_precedente_ = v;
  return Esito::kAvanti;
}

// An adhesion row works like a speed row; the byte keeps the low 8 bits.
Esito LettoreTreno::aderenza() {
  int32_t p = 0, a = 0;
  if (!numero(L::kI32, &p) || !numero(L::kI32, &a)) return guasto();
  if (!nel_percorso(p, kMargine)) return fuori(p);
  const int64_t n = dividi_arrotonda(p, 50);
  if (n > 0) {
    const auto byte = static_cast<uint8_t>(aderenza_precedente_ & 0xFF);
    // Each row writes at least one cell; many rows at one position would
    // otherwise push the cursor past the grid.
    do {
      if (cursore_aderenza_ >= t_.numero_celle) break;
      if (cella* c = at(cursore_aderenza_)) c->aderenza = byte;
      ++cursore_aderenza_;
    } while (cursore_aderenza_ < n);
  }
  aderenza_precedente_ = a;
  return Esito::kAvanti;
}

Esito LettoreTreno::segnale() {
  int32_t n[11] = {};
  for (int32_t& x : n)
    if (!numero(L::kI32, &x)) return guasto();
  const int32_t posizione = n[0];
  if (!nel_percorso(posizione, kMargine) || cella_di(posizione, 1) < 0) return fuori(posizione);
  const int32_t c =
      memo_segnale(t_, posizione, n[1], n[2], n[3], n[4], n[5], n[6], n[7], n[8], n[9], n[10]);
  if (c == codice::kFuoriPercorso) return fuori(posizione);
  if (c > 0) return chiudi(c, posizione);
  return Esito::kAvanti;
}

Esito LettoreTreno::rallentamento() {
  int32_t x = 0, v = 0, l = 0, f_tt = 0, f_ta = 0, d_v = 0;
  for (int32_t* p : {&x, &v, &l, &f_tt, &f_ta, &d_v})
    if (!numero(L::kI32, p)) return guasto();
  if (!nel_percorso(x, kMargine) || cella_di(x, 1) < 0) return fuori(x);
  const int32_t c = memo_rallentamento(t_, x, v, l, f_tt, f_ta, d_v);
  if (c == codice::kFuoriPercorso) return fuori(x);
  if (c > 0) return chiudi(c, x);
  return Esito::kAvanti;
}

// A cut of the signal code, in the cell of p itself (no one-cell offset).
Esito LettoreTreno::abbattimento() {
  int32_t p = 0, valore = 0;
  if (!numero(L::kI32, &p) || !numero(L::kI32, &valore)) return guasto();
  const int64_t k = dividi_arrotonda(p, 50);
  if (!nel_percorso(p, kMargine) || k < 0) return fuori(p);
  cella* c = at(k);
  if (c == nullptr) return fuori(p);
  if (!libera(*c)) return chiudi(codice::kAbbattimentoOccupato, p);
  if (valore >= 1) {
    if (!entra_i16(valore)) return chiudi(codice::kValoreEccessivo, p);
    c->tipo = tipo_cella::kAbbattimento;
    c->dato1 = static_cast<int16_t>(valore);
  } else {
    c->tipo = tipo_cella::kAbbattimentoNullo;  // "AC", 0 or less: no value
  }
  nota_cella(t_, k);
  return Esito::kAvanti;
}

// A station row: sixteen numbers and the name. Fields go straight into the
// station's entry as they are read, so a refused row leaves what it read.
Esito LettoreTreno::stazione() {
  const int32_t i = indice_stazione_;
  // The entries above the last free one hold text boards; a station never
  // overwrites one (this only happens when the boards fill the table).
  if (i > indice_cartello_) {
    return chiudi(codice::kStazioniPiene, std::nullopt);
  }
  record_stazione& r = t_.stazioni[static_cast<size_t>(i)];
  int32_t v = 0;

  if (!numero(L::kI32, &v)) return guasto();
  r.posizione = v;
  const int32_t posizione = v;
  if (!nel_percorso(posizione, kMargineStazione)) return fuori(posizione);
  if (posizione % 50 != 0) return chiudi(codice::kStazionePosizione, posizione);

  if (!numero(L::kU8, &v)) return guasto();
  r.tipo = static_cast<uint8_t>(v);
  int32_t lung = 0;
  if (!numero(L::kI32, &lung)) return guasto();
  if (lung % 100 != 0) return chiudi(codice::kStazioneLunghezza, posizione);

  struct Campo {
    L larghezza;
    void (*scrivi)(record_stazione&, int32_t);
  };
  static constexpr Campo kCampi[] = {
      {L::kU8, [](record_stazione& s, int32_t x) { s.tps = static_cast<uint8_t>(x); }},
      {L::kU8, [](record_stazione& s, int32_t x) { s.tab = static_cast<uint8_t>(x); }},
      {L::kU8, [](record_stazione& s, int32_t x) { s.mar = static_cast<uint8_t>(x); }},
      {L::kI16, [](record_stazione& s, int32_t x) { s.d2a = static_cast<int16_t>(x); }},
      {L::kI16, [](record_stazione& s, int32_t x) { s.d3a = static_cast<int16_t>(x); }},
      {L::kU8, [](record_stazione& s, int32_t x) { s.rap = static_cast<uint8_t>(x); }},
      {L::kI16, [](record_stazione& s, int32_t x) { s.d1b = static_cast<int16_t>(x); }},
      {L::kI16, [](record_stazione& s, int32_t x) { s.d2b = static_cast<int16_t>(x); }},
      {L::kI16, [](record_stazione& s, int32_t x) { s.d3b = static_cast<int16_t>(x); }},
      {L::kU8, [](record_stazione& s, int32_t x) { s.ac = static_cast<uint8_t>(x); }},
  };
  for (const Campo& f : kCampi) {
    if (!numero(f.larghezza, &v)) return guasto();
    f.scrivi(r, v);
  }
  int32_t ore = 0, minuti = 0, secondi = 0;
  if (!numero(L::kI32, &ore) || !numero(L::kI32, &minuti) || !numero(L::kI32, &secondi))
    return guasto();
  if (!campi_.leggi_testo(&r.nome)) return guasto();
  if (r.nome.size() > kTestoMassimo) return chiudi(codice::kValoreEccessivo, posizione);
  const int64_t orario = (int64_t{ore} * 60 + minuti) * 60 + secondi;
  if (!entra_i32(orario)) return chiudi(codice::kValoreEccessivo, posizione);
  r.orario = static_cast<int32_t>(orario);

  // The stretch the station covers.
  int64_t inizio = 0, fine = 0;
  if (r.tipo == 5 || r.tipo == 6) {
    inizio = int64_t{posizione} - lung;
    fine = int64_t{posizione} + 150;
    r.mar = 0;
  } else if (r.tipo == 7 || r.tipo == 8) {
    inizio = int64_t{posizione} - lung;
    fine = int64_t{posizione} + lung;
    r.mar = 0;
  } else {
    inizio = int64_t{posizione} - lung / 2;
    fine = int64_t{posizione} + lung / 2 + (r.mar != 0 ? 50 : 0);
  }
  if (!entra_i32(inizio) || !entra_i32(fine)) return chiudi(codice::kValoreEccessivo, posizione);
  r.inizio = static_cast<int32_t>(inizio);
  r.fine = static_cast<int32_t>(fine);
  if (lung < 600) r.tab = 0;
  if (i == 1) {
    r.mar = 0;
    r.tab = 0;
  }

  // Grid entries of a stop: the stop cell and, except for kinds 5 and 6,
  // four approach marks behind it. Stations of kind 25 and up have none.
  if (r.tipo < 25) {
    const int64_t fermata = dividi_arrotonda(fine, 50) - 1;
    if (fermata >= static_cast<int64_t>(t_.percorso.size()))
      return chiudi(codice::kStazioneOltre, posizione);
    if (r.tipo != 5 && r.tipo != 6) {
      for (int64_t k = 1; k <= 4; ++k) {
        const int64_t idx = fermata - k;
        if (idx > 1) at(idx)->avviso = static_cast<uint8_t>(80 + k);
      }
    }
    if (fermata <= 1) {
      return chiudi(codice::kFermataInizio, std::nullopt);
    }
    cella* c = at(fermata);
    c->tipo = tipo_cella::kFermata;
    c->dato1 = static_cast<int16_t>(i);
    nota_cella(t_, fermata);
  }

  if (i > 1 && inizio - kDistanzaStazioni < t_.stazioni[static_cast<size_t>(i - 1)].fine)
    return chiudi(codice::kStazioniVicine, posizione);

  ++indice_stazione_;
  if (indice_stazione_ >= indice_cartello_) {
    return chiudi(codice::kStazioniPiene, std::nullopt);
  }
  return Esito::kAvanti;
}

bool LettoreTreno::estendi() {
  uint8_t byte = 0;
  if (!byte_velocita(&byte)) return false;
  do {
    if (cella* c = at(cursore_velocita_)) c->velocita = byte;
    ++cursore_velocita_;
  } while (cursore_velocita_ < int64_t{t_.numero_celle} - 2);
  const auto byte_aderenza = static_cast<uint8_t>(aderenza_precedente_ & 0xFF);
  do {
    if (cella* c = at(cursore_aderenza_)) c->aderenza = byte_aderenza;
    ++cursore_aderenza_;
  } while (cursore_aderenza_ < int64_t{t_.numero_celle} - 2);
  return true;
}

FineLettura LettoreTreno::leggi_tutto() {
  if (leggi() == Esito::kRitorno) return fine_;
  return FineLettura::kLetta;
}

void LettoreTreno::completa() {
  // The source is already deleted: a last speed that does not fit its byte
  // ends the reading here, like any other reading failure.
  if (!estendi()) {
    registra(codice::kLetturaFallita, std::nullopt);
    return;
  }
  // The kilometre-progressive changes can only be checked now.
  bool errata = false;
  for (int i = kVoceProgressivaTre; i <= kVoceProgressivaUno; ++i) {
    const record_stazione& s = t_.stazioni[static_cast<size_t>(i)];
    if (s.inizio % kMetriCella != 0 || s.fine % kMetriCella != 0) errata = true;
  }
  if (errata) registra(codice::kProgressivaErrata, std::nullopt);
}
