// Placement of the line's own features: the kilometre-progressive changes,
// tunnel stretches and maximum-speed indicator boards.

#include <cstdint>
#include <limits>

#include "compiler/arrotonda.h"
#include "compiler/codici_errore.h"
#include "compiler/limiti.h"
#include "compiler/posa/posa.h"
#include "compiler/registro.h"

namespace {

// The three progressive changes live in entries 81 ("tre"), 82 ("due") and
// 83 ("uno"), each a triple inizio / fine / posizione.
struct Cambio {
  int32_t inizio = 0;
  int32_t fine = 0;
  int32_t posizione = 0;
};

Cambio leggi_cambio(const record_stazione& s) { return {s.inizio, s.fine, s.posizione}; }

void scrivi_cambio(record_stazione& s, const Cambio& c) {
  s.inizio = c.inizio;
  s.fine = c.fine;
  s.posizione = c.posizione;
}

bool nel_percorso(const Tabelle& t, int64_t k) { return k >= 0 && k <= t.numero_celle; }

}  // namespace

int32_t progressive_ordina(Tabelle& t) {
  // Every test reads the triples as they stood before the call; index 0 is
  // entry 81, 1 is 82, 2 is 83.
  const Cambio prima[3] = {leggi_cambio(t.stazioni[kVoceProgressivaTre]),
                           leggi_cambio(t.stazioni[kVoceProgressivaDue]),
                           leggi_cambio(t.stazioni[kVoceProgressivaUno])};
  Cambio dopo[3] = {prima[0], prima[1], prima[2]};
  const Cambio vuoto{};

  // Summed in 64 bits: a 32-bit sum of three large positions could wrap to
  // zero and send the changes down the wrong branch.
  const int64_t somma = int64_t{prima[0].inizio} + prima[1].inizio + prima[2].inizio;
  if (somma != 0) {
    int massimo = -1;
    for (int i = 0; i < 3; ++i) {
      const int a = (i + 1) % 3, b = (i + 2) % 3;
      if (prima[i].inizio > prima[a].inizio && prima[i].inizio > prima[b].inizio) massimo = i;
    }
    if (massimo < 0) {
      dopo[0] = dopo[1] = dopo[2] = vuoto;
    } else {
      // The other two in entry order; on equal positions the one from the
      // higher-numbered entry goes first.
      int basso = -1, alto = -1;
      for (int i = 0; i < 3; ++i) {
        if (i == massimo) continue;
        if (basso < 0)
          basso = i;
        else
          alto = i;
      }
      const bool alto_primo = prima[alto].inizio >= prima[basso].inizio;
      dopo[0] = prima[massimo];
      dopo[1] = alto_primo ? prima[alto] : prima[basso];
      dopo[2] = alto_primo ? prima[basso] : prima[alto];
    }
  } else if (prima[2].fine > 0) {
    dopo[0] = prima[2];
    dopo[2] = prima[0];
  } else if (prima[1].fine > 0) {
    dopo[0] = prima[1];
    dopo[1] = prima[0];
  } else if (prima[0].fine <= 0) {
    dopo[0] = dopo[1] = dopo[2] = vuoto;
  }

  // The flag 1 moves the progressive on by 100. A progressive already at
  // the top of the 32-bit range has no room for that: it is kept as it
  // stands and the row is refused, rather than wrapped to a negative value.
  int32_t esito = 0;
  for (Cambio& c : dopo) {
    if (c.posizione != 1) continue;
    const int64_t nuovo = int64_t{c.fine} + 100;
    if (nuovo > std::numeric_limits<int32_t>::max()) {
      esito = codice::kValoreEccessivo;
      continue;
    }
    c.fine = static_cast<int32_t>(nuovo);
  }
  for (int i = 0; i < 3; ++i)
    scrivi_cambio(t.stazioni[static_cast<size_t>(kVoceProgressivaTre) + static_cast<size_t>(i)], dopo[i]);
  return esito;
}

int32_t memo_montagna(Tabelle& t, int32_t& inizio, int32_t& fine, int32_t& tipo) {
  // A stretch covers the cells from inizio / 50 to fine / 50 - 1: a tunnel
  // ends at the boundary of the cell where fine falls.
  const int64_t prima_cella = cella_di(inizio, 0);
  const int64_t ultima_cella = cella_di(fine, -1);
  const bool ha_celle = prima_cella <= ultima_cella;

  // Rows the tables have no room for are refused before anything changes.
  if (ha_celle && (!nel_percorso(t, prima_cella) || !nel_percorso(t, ultima_cella))) {
    return codice::kMontagnaOltrePercorso;
  }
  if (t.numero_montagne < 0 || t.numero_montagne + 1 >= kNumeroMontagne) {
    return codice::kTroppeMontagne;
  }

  int64_t stile = tipo;
  const bool segnata = stile > 10;  // 11, 12, 13: style 1, 2, 3 with markers
  if (segnata) stile -= 10;
  // A stretch that begins within 150 m of the end of the one before it (or
  // before that end) is drawn as one continuous tunnel: style 3.
  const bool seguente = t.numero_montagne >= 1;
  if (seguente && int64_t{inizio} - t.fine_montagne[static_cast<size_t>(t.numero_montagne)] <= 150)
    stile = 3;
  if (stile < 0 || stile > 255) {  // the style is a byte of every covered cell
    return codice::kValoreEccessivo;
  }

  ++t.numero_montagne;
  t.inizio_montagne[static_cast<size_t>(t.numero_montagne)] = inizio;
  t.fine_montagne[static_cast<size_t>(t.numero_montagne)] = fine;

  if (ha_celle) {
    int64_t conteggio = 0;
    for (int64_t k = prima_cella; k <= ultima_cella; ++k) {
      cella& c = t.percorso[static_cast<size_t>(k)];
      c.montagna = static_cast<uint8_t>(stile);
      ++conteggio;
      if (segnata && conteggio % 4 == 0 && c.tipo == tipo_cella::kNiente)
        c.tipo = tipo_cella::kMontagna;
    }
  }
  tipo = static_cast<int32_t>(stile);
  return 0;
}

int32_t memo_indicatori_v_max(Tabelle& t, int32_t posizione, int32_t& vas, int32_t& vbs,
                              int32_t& vcs, int32_t& strisces, int32_t& vad, int32_t& vbd,
                              int32_t& vcd, int32_t& strisced) {
  const int64_t k = cella_di(posizione, 1);
  // The reader has tested the position against the grid; a caller that did
  // not gets the reader's code instead of a write outside the grid.
  if (!nel_percorso(t, k)) {
    return codice::kFuoriPercorso;
  }
  cella& c = t.percorso[static_cast<size_t>(k)];
  if (!libera(c)) {
    return codice::kIndicatoriOccupato;
  }
  // Each speed rank packs the left speed times 20 with the right speed in
  // steps of 5 km/h: round(20 * s + d / 5), computed exactly as (100 s + d) / 5.
  const int64_t dato1 = dividi_arrotonda(100 * int64_t{vas} + vad, 5);
  const int64_t dato2 = dividi_arrotonda(100 * int64_t{vbs} + vbd, 5);
  const int64_t dato3 = dividi_arrotonda(100 * int64_t{vcs} + vcd, 5);
  const int64_t dato4 = 10 * int64_t{strisces} + strisced;
  if (!entra_i16(dato1) || !entra_i16(dato2) || !entra_i16(dato3) || !entra_i16(dato4)) {
    return codice::kValoreEccessivo;
  }
  c.tipo = tipo_cella::kIndicatoriVmax;
  nota_cella(t, k);
  c.dato1 = static_cast<int16_t>(dato1);
  c.dato2 = static_cast<int16_t>(dato2);
  c.dato3 = static_cast<int16_t>(dato3);
  c.dato4 = static_cast<int16_t>(dato4);
  return 0;
}
