// The sentence of every code, in the author's terms: the feature met, its
// position in metres, the limit broken, and where in the sources the row
// responsible stands.
#include "tool/diagnosi/messaggi.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "compiler/arrotonda.h"
#include "compiler/codici_errore.h"
#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/lettura/lettore_campi.h"
#include "compiler/limiti.h"

namespace {

// The range of a cell's 16-bit values, as a sentence gives it.
std::string gamma16() { return std::to_string(kMinimo16) + " to " + std::to_string(kMassimo16); }

std::string m(int64_t v) { return std::to_string(v) + " m"; }
// Codes that come with a position in posizione_errore.
bool ha_posizione(int32_t codice) {
  switch (codice) {
    case 1: case 2: case 3: case 4: case 5: case 10: case 24: case 25:
    case 101: case 102: case 103:
      return false;
    default:
      return codice < 1250;
  }
}

class Frasi {
 public:
  explicit Frasi(const Contesto& c) : c_(c) {}

  Diagnostica di(const CodiceRegistrato& k) const {
    Diagnostica d = k.passata ? passata(k) : lettura(k);
    d.codice = k.codice;
    if (ha_posizione(k.codice)) d.posizione_m = k.posizione;
    return d;
  }

  Diagnostica intestazione(int32_t numero) const {
    bool aggiunta = false;
    const RigaLetta* r = c_.riga_della_cella(1, &aggiunta);
    const std::string quale = numero == codice::kErroreIntestazione ? "first" : "second";
    Diagnostica d;
    if (r == nullptr) {
      d = Contesto::senza_riga(Sorgente::kLinea);
      d.messaggio = "a value stands in the header of the grid (the " + quale +
                    " value of cell 1 of the track, or the station table's entry 85), which "
                    "must be 0 before the header is written; the row that put it there cannot "
                    "be known";
    } else {
      d = c_.alla_riga(*r, 1);
      const bool plurale = c_.tabelle().percorso.size() > 1 &&
                           (c_.tabelle().percorso[1].tipo == tipo_cella::kIndicatoriVmax ||
                            c_.tabelle().percorso[1].tipo == tipo_cella::kPrimaDellAvviso);
      d.messaggio = "the " + c_.occupante(1) + (plurale ? " stand" : " stands") +
                    " on cell 1 of the track, whose " + quale +
                    " value is kept for the header of the grid and must be 0; move it further "
                    "along the line";
    }
    d.codice = numero;
    return d;
  }

 private:
  // The row the reader was handling when it recorded the code, if it
  // belongs to the source that recorded it.
  const RigaLetta* riga_corrente(const CodiceRegistrato& k) const {
    const RigaLetta* r = c_.riga(k.riga);
    return r != nullptr && r->sorgente == k.sorgente ? r : nullptr;
  }

  // The verb for the feature of a row: the speed boards are two.
  std::string verbo(const RigaLetta& r, const char* uno, const char* piu) const {
    return c_.tipo(r) == TipoRiga::kIndicatori ? piu : uno;
  }

  int64_t num(const RigaLetta& r, size_t n, int64_t altrimenti = 0) const {
    return c_.numero(r, n).value_or(altrimenti);
  }

  // Rows of one kind, in reading order.
  template <typename F>
  void per_righe(TipoRiga tipo, F f) const {
    for (const RigaLetta& r : c_.registro().righe)
      if (c_.tipo(r) == tipo && r.fine > r.campo + 1) f(r);
  }

  static Diagnostica con(Diagnostica d, std::string messaggio) {
    d.messaggio = std::move(messaggio);
    return d;
  }

  Diagnostica senza(Sorgente s, std::string messaggio) const {
    return con(Contesto::senza_riga(s), std::move(messaggio) + "; the row cannot be known");
  }

  // Stations accepted before row r: the index r's station took.
  size_t indice_stazione(const RigaLetta& r) const {
    size_t i = 1;
    per_righe(TipoRiga::kStazione, [&](const RigaLetta& s) {
      if (&s < &r) ++i;
    });
    return i;
  }

  Diagnostica lettura(const CodiceRegistrato& k) const {
    const RigaLetta* r = riga_corrente(k);
    const int32_t cod = k.codice;
    if (cod == codice::kNessunaLinea) return senza(Sorgente::kLinea, "there is no line source");
    if (cod == codice::kNessunGenerale)
      return con(c_.alla_fine(Sorgente::kLinea),
                 "the line source has no " + q(kMarcaGenerale) +
                     " row: everything up to a field holding " + q(kMarcaGenerale) +
                     " is skipped, and none came before the end of the file (a marker on the very "
                     "last line does not count)");
    if (cod == codice::kProgressivaErrata) return progressiva_errata();
    if (cod == codice::kLetturaFallita) return lettura_fallita(k, r);
    if (cod == codice::kValoreEccessivo && r != nullptr && r->sezione == Sezione::kGenerale)
      return progressiva_oltre();
    if (r == nullptr) return senza(k.sorgente, "code " + std::to_string(cod) + " was recorded");

    const std::string cosa = Contesto::nome(c_.tipo(*r));
    const int64_t p = num(*r, 1, k.posizione);
    switch (cod) {
      case codice::kLunghezzaEccessiva:
        if (p < 0) return con(c_.alla_riga(*r, 1), "the line length " + m(p) + " is negative");
        return con(c_.alla_riga(*r, 1), "the line is " + metri(p) +
                                            " long; the tables are built for lines up to " +
                                            metri(kLunghezzaMassima));
      case codice::kRipetizioneInizio:
        return con(c_.alla_riga(*r, 1), "the first position of the signal repetition, " + m(p) +
                                            ", is not a multiple of 50 m");
      case codice::kRipetizioneFine:
        return con(c_.alla_riga(*r, 2), "the second position of the signal repetition, " +
                                            m(num(*r, 2)) + ", is not a multiple of 50 m");
      case codice::kRipetizioneCodici:
        return con(c_.alla_riga(*r),
                   "the signal repetition row must say how many codes are repeated with a \"4\" "
                   "or a \"9\" in its keyword, as in " +
                       q(formato_di(TipoRiga::kRipetizione).forme[0]));
      case codice::kCartelloOccupato:
      case codice::kIndicatoriOccupato:
      case codice::kSegnaleOccupato:
        return con(c_.alla_riga(*r, 1), cosa + " at " + m(p) + verbo(*r, " falls", " fall") +
                                            " on the cell of the " + c_.occupante(cella_di(p, 1)));
      case codice::kAbbattimentoOccupato:
        return con(c_.alla_riga(*r, 1), "code cut at " + m(p) + " falls on the cell of the " +
                                            c_.occupante(cella_di(p, 0)));
      case codice::kStazionePosizione:
        return con(c_.alla_riga(*r, 1),
                   "the position of the station, " + m(p) + ", is not a multiple of 50 m");
      case codice::kStazioneLunghezza:
        return con(c_.alla_riga(*r, 3), "the stop length of the station at " + m(p) + ", " +
                                            m(num(*r, 3)) + ", is not a multiple of 100 m");
      case codice::kStazioniPiene:
        return con(c_.alla_riga(*r),
                   "no room for another station: stations and text boards together may number "
                   "at most 78");
      case codice::kFuoriPercorso: {
        const int64_t margine = c_.tipo(*r) == TipoRiga::kStazione ? 800 : 100;
        const int64_t pos = k.posizione;
        if (pos + margine > c_.fine_griglia())
          return con(c_.alla_riga(*r, 1), cosa + " at " + m(pos) + verbo(*r, " lies", " lie") +
                                              " beyond the end of the track: the track ends at " +
                                              m(c_.fine_griglia()) + " (the line's length plus " +
                                              m(kCodaPercorso) + ") and a " + cosa + " row needs " +
                                              m(margine) + " of it after its position");
        return con(c_.alla_riga(*r, 1), cosa + " at " + m(pos) + verbo(*r, " lies", " lie") +
                                            " before the start of the line");
      }
      case codice::kAvvisoOccupato:
        return con(c_.alla_riga(*r, 1), "the warning board of the slow-down at " + m(p) +
                                            ", 1200 m before it, falls on the cell of the " +
                                            c_.occupante(cella_di(p - 1200, 1)));
      case codice::kInizioOccupato:
        return con(c_.alla_riga(*r, 1), "the start of the slow-down at " + m(p) +
                                            " falls on the cell of the " +
                                            c_.occupante(cella_di(p, 1)));
      case codice::kFineOccupato: {
        const int64_t l = num(*r, 3);
        return con(c_.alla_riga(*r, 3), "the end of the slow-down at " + m(p) + ", " + m(l) +
                                            " after its start, falls on the cell of the " +
                                            c_.occupante(cella_di(p + l, 1)));
      }
      case codice::kPrimaAvvisoOccupato: {
        const int64_t ka = cella_di(p - 1200, 0);
        std::string chi = "another feature";
        for (int64_t n = 0; n < 4; ++n) {
          const int64_t cella = ka - n;
          if (cella >= 0 && static_cast<size_t>(cella) < c_.tabelle().percorso.size() &&
              !libera(c_.tabelle().percorso[static_cast<size_t>(cella)])) {
            chi = "the " + c_.occupante(cella);
            break;
          }
        }
        return con(c_.alla_riga(*r, 1),
                   "the four cells just before the warning board of the slow-down at " + m(p) +
                       " must be free for its numbered cells, but one holds " + chi);
      }
      case codice::kStazioniVicine: {
        const size_t i = indice_stazione(*r);
        if (i < 2 || i > kPrimoCartello) break;
        const record_stazione& prima = c_.tabelle().stazioni[i - 1];
        const record_stazione& questa = c_.tabelle().stazioni[i];
        return con(c_.alla_riga(*r, 1),
                   "the station at " + m(p) + " starts at " + m(questa.inizio) +
                       ": it must start at least 350 m after the end of the station before it (at " +
                       m(prima.posizione) + "), which ends at " + m(prima.fine));
      }
      case codice::kFermataInizio: {
        const size_t i = indice_stazione(*r);
        const int64_t fine = i <= kPrimoCartello ? c_.tabelle().stazioni[i].fine : 0;
        return con(c_.alla_riga(*r, 1),
                   "the area of the station at " + m(p) + " ends at " + m(fine) +
                       ", so its stop would fall on the header cells at the very start of the "
                       "line; a stopping station's area must end beyond 125 m");
      }
      case codice::kCurvaErrata: {
        const std::string_view chiave = c_.testo_campo(r->sorgente, r->campo);
        if (chiave.find_first_of("123456") == std::string_view::npos)
          return con(c_.alla_riga(*r), "the curve keyword " + q(chiave) +
                                           " gives no sharpness: it must hold one of the digits 1 "
                                           "to 6, as in " +
                                           q(std::string(parole(formato_di(TipoRiga::kCurva))[0]) +
                                             "d3"));
        return con(c_.alla_riga(*r, 2), "the curve from " + m(p) + ", " + m(num(*r, 2)) +
                                            " long, carries the plan of the line beyond metre " +
                                            std::to_string(kLunghezzaMassima) + " (" +
                                            std::to_string(kLunghezzaMassima / 1000) + " km)");
      }
      case codice::kCurvaOltreTabella: {
        const int64_t l = num(*r, 2);
        return con(c_.alla_riga(*r, 2),
                   "the curve from " + m(p) + ", " + m(l) + " long, ends at " + m(p + l) +
                       ", beyond the last metre of the plan of the line (" +
                       m(int64_t{c_.tabelle().limite_tabella} - 2) + ": the line's length plus " +
                       m(kCodaPercorso) + ", less 2)");
      }
      case codice::kTroppiCartelli:
        return con(c_.alla_riga(*r), "no room for another text board: a line holds at most " +
                                         std::to_string(kMassimoCartelli));
      case codice::kMontagnaOltrePercorso:
        return con(c_.alla_riga(*r, 2), "the tunnel stretch from " + m(p) + " to " +
                                            m(num(*r, 2)) +
                                            " goes beyond the end of the track, at " +
                                            m(c_.fine_griglia()));
      case codice::kTroppeMontagne:
        return con(c_.alla_riga(*r), "no room for another tunnel stretch: a line holds at most " +
                                         std::to_string(kMassimoMontagne));
      case codice::kRallentamentoOltre:
        return con(c_.alla_riga(*r, 3), "the slow-down at " + m(p) + ", " + m(num(*r, 3)) +
                                            " long, ends beyond the end of the track, at " +
                                            m(c_.fine_griglia()));
      case codice::kAvvisiPrimaInizio:
        return con(c_.alla_riga(*r, 1),
                   "the signal at " + m(p) +
                       " is too near the start of the line: its approach marks, 2 to 8 cells "
                       "before it, would fall before the line starts (a signal needs at least "
                       "325 m)");
      case codice::kStazioneOltre:
        return con(c_.alla_riga(*r, 3), "the stop of the station at " + m(p) +
                                            " would fall beyond the end of the track, at " +
                                            m(c_.fine_griglia()));
      case codice::kValoreEccessivo: return valore_eccessivo(*r, p);
      case codice::kCursoreOltre:
        return con(c_.alla_riga(*r, 1),
                   "the gradient at " + m(p) +
                       " comes after gradient rows that already reach the end of the track: "
                       "gradient rows must go up along the line");
      default: break;
    }
    return con(c_.alla_riga(*r), "code " + std::to_string(cod) + " was recorded at this row");
  }

  Diagnostica valore_eccessivo(const RigaLetta& r, int64_t p) const {
    const std::string fuori16 = "beyond " + gamma16() + ", the range of a cell's values";
    switch (c_.tipo(r)) {
      case TipoRiga::kCartello: {
        const CampoLetto* f = c_.campo_riga(r, 2);
        const size_t n = f != nullptr ? f->fine - f->inizio : 0;
        return con(c_.alla_riga(r, 2),
                   "the text of the board at " + m(p) + " is " + std::to_string(n) +
                       " bytes long; a board holds at most " + std::to_string(kTestoMassimo));
      }
      case TipoRiga::kMontagna:
        return con(c_.alla_riga(r, 3), "the tunnel style " + std::to_string(num(r, 3)) +
                                           " does not fit its byte (0 to " +
                                           std::to_string(kMassimo8) + ")");
      case TipoRiga::kIndicatori:
        return con(c_.alla_riga(r, 2), "the speeds of the boards at " + m(p) +
                                           " give values " + fuori16);
      case TipoRiga::kSegnale:
        return con(c_.alla_riga(r, 2), "the aspects of the signal at " + m(p) +
                                           " give values " + fuori16 +
                                           ", or a time above 255");
      case TipoRiga::kRallentamento:
        return con(c_.alla_riga(r, 2), "the speed, f_tt or d_v of the slow-down at " + m(p) +
                                           " lies " + fuori16);
      case TipoRiga::kAbbattimento:
        return con(c_.alla_riga(r, 2), "the code value " + std::to_string(num(r, 2)) +
                                           " lies " + fuori16);
      case TipoRiga::kStazione: {
        // The same tests as the reader's, in its order: name, time, area.
        const CampoLetto* nome = c_.campo_riga(r, 17);
        if (nome != nullptr && nome->fine - nome->inizio > kTestoMassimo)
          return con(c_.alla_riga(r, 17), "the name of the station at " + m(p) + " is " +
                                              std::to_string(nome->fine - nome->inizio) +
                                              " bytes long; a name holds at most " +
                                              std::to_string(kTestoMassimo));
        const int64_t orario = (num(r, 14) * 60 + num(r, 15)) * 60 + num(r, 16);
        if (orario < std::numeric_limits<int32_t>::min() ||
            orario > std::numeric_limits<int32_t>::max())
          return con(c_.alla_riga(r, 14), "the time of the station at " + m(p) +
                                              " is beyond 2147483647 seconds");
        return con(c_.alla_riga(r, 3), "the area of the station at " + m(p) +
                                           " reaches beyond -2147483648 to 2147483647 m");
      }
      default:
        return con(c_.alla_riga(r), "a value of this row does not fit the field it goes into");
    }
  }

  // Code 2: the kilometre change whose position or new value is not a
  // multiple of 50 m. Each of the three changes keeps its last row; they
  // are looked at from the third ("tre", the first entry) to the first.
  Diagnostica progressiva_errata() const {
    std::vector<const RigaFormato*> cambi;
    for (const RigaFormato& f : righe_formato())
      if (f.tipo == TipoRiga::kProgressiva) cambi.insert(cambi.begin(), &f);
    std::vector<const RigaLetta*> ultima(cambi.size(), nullptr);
    per_righe(TipoRiga::kProgressiva, [&](const RigaLetta& r) {
      const std::string_view k = c_.testo_campo(r.sorgente, r.campo);
      for (size_t i = 0; i < cambi.size(); ++i)
        if (riconosce(*cambi[i], k)) ultima[i] = &r;
    });
    for (const RigaLetta* r : ultima) {
      if (r == nullptr) continue;
      for (size_t n = 1; n <= 2; ++n) {
        if (num(*r, n) % 50 == 0) continue;
        return con(c_.alla_riga(*r, n),
                   "the kilometre change at " + m(num(*r, 1)) + " to the progressive " +
                       m(num(*r, 2)) +
                       ": its position and its new progressive must both be multiples of 50 m");
      }
    }
    return senza(Sorgente::kLinea,
                 "a kilometre change has a position or a new progressive that is not a "
                 "multiple of 50 m");
  }

  // Code 111 right after "[generale]": a change with flag 1 whose
  // progressive has no room for the 100 it adds.
  Diagnostica progressiva_oltre() const {
    const RigaLetta* trovata = nullptr;
    per_righe(TipoRiga::kProgressiva, [&](const RigaLetta& r) {
      if (num(r, 3) == 1 && num(r, 2) + 100 > std::numeric_limits<int32_t>::max()) trovata = &r;
    });
    const std::string frase =
        "a kilometre change with flag 1 would move its progressive past 2147483647 m";
    if (trovata == nullptr) return senza(Sorgente::kLinea, frase);
    return con(c_.alla_riga(*trovata, 2), frase);
  }

  Diagnostica lettura_fallita(const CodiceRegistrato& k, const RigaLetta* r) const {
    const Sorgente s = k.sorgente;
    const auto& campi = c_.campi(s);
    if (!campi.empty() && campi.back().fallito) {
      const CampoLetto& f = campi.back();
      const size_t i = campi.size() - 1;
      if (f.inizio == f.fine) {  // the text ended
        if (r != nullptr && i > r->campo && i < r->fine) {
          const size_t letti = i - r->campo - 1;
          return con(c_.alla_riga(*r),
                     "the file ends in the middle of the " + Contesto::nome(c_.tipo(*r)) +
                         " row, after " + std::to_string(letti) + " of its fields");
        }
        return con(c_.alla_fine(s),
                   "the file ends where the reader needs another field (after comment rows)");
      }
      std::string gamma = "-2147483648 to 2147483647";
      if (f.tipo == CampoLetto::Tipo::kU8) gamma = "0 to " + std::to_string(kMassimo8);
      if (f.tipo == CampoLetto::Tipo::kI16) gamma = gamma16();
      return con(c_.al_campo(s, i), q(c_.testo_campo(s, i)) +
                                        " does not fit its field, which holds " + gamma);
    }
    if (s == Sorgente::kLinea && !c_.tabelle().ha_percorso()) {
      // Where "[generale]" ended: at the marker that closed it, or at the
      // end of the file.
      const RigaLetta* chiusura = nullptr;
      for (const RigaLetta& x : c_.registro().righe)
        if (x.sorgente == Sorgente::kLinea && x.sezione == Sezione::kGenerale) chiusura = &x;
      Diagnostica d = c_.alla_fine(s);
      if (chiusura != nullptr && contiene(c_.testo_campo(s, chiusura->campo), "["))
        d = c_.alla_riga(*chiusura);
      return con(d,
                 "the " + q(kMarcaGenerale) + " section ends without a " +
                     q(formato_di(TipoRiga::kLunghezza).forme[0]) +
                     " row: the track is built from the line's length, so nothing can be placed");
    }
    if (s == Sorgente::kTreno) {
      // A speed whose 5 km/h steps do not fit the speed byte.
      const RigaLetta* trovata = nullptr;
      per_righe(TipoRiga::kVelocita, [&](const RigaLetta& x) {
        const int64_t passi = dividi_arrotonda(num(x, 2), 5);
        if (trovata == nullptr && (passi < 0 || passi > 255)) trovata = &x;
      });
      if (trovata != nullptr)
        return con(c_.alla_riga(*trovata, 2),
                   "the speed " + std::to_string(num(*trovata, 2)) +
                       " km/h does not fit the track: a cell holds speeds from 0 to 1277 km/h, "
                       "in steps of 5 km/h");
    }
    return senza(s, "reading the source failed");
  }

  // Code 12: which of the three groups of cells behind a slow-down's start
  // had no free cell, and what stands on each of its cells. A group that
  // found room holds a cut the pass added for the same row; the n-th code
  // 12 of one start is its n-th group without one.
  std::string gruppo_pieno(const CodiceRegistrato& k, const std::string& dove) const {
    static const int64_t kGruppi[3][3] = {{5, 6, 7}, {11, 12, 13}, {18, 19, 20}};
    static const char* const kNomi[3] = {"first", "second", "third"};
    const int64_t c = k.causa;
    const Registro& reg = c_.registro();
    const auto dentro = [&](int64_t x) { return x >= 0 && static_cast<size_t>(x) < reg.celle.size(); };
    size_t n = 0;
    for (const CodiceRegistrato& altro : reg.codici) {
      if (&altro == &k) break;
      if (altro.passata && altro.codice == k.codice && altro.causa == c) ++n;
    }
    for (int g = 0; g < 3 && dentro(c); ++g) {
      if (c <= kGruppi[g][2]) continue;
      bool ha_taglio = false;
      for (int64_t d : kGruppi[g]) {
        const int64_t x = c - d;
        ha_taglio = ha_taglio || (dentro(x) && reg.aggiunta[static_cast<size_t>(x)] &&
                                  reg.celle[static_cast<size_t>(x)] == reg.celle[static_cast<size_t>(c)]);
      }
      if (ha_taglio) continue;
      if (n > 0) {
        --n;
        continue;
      }
      std::string frase = "no room for the " + std::string(kNomi[g]) +
                          " of the three code cuts behind the start of the slow-down" + dove +
                          ": the finishing pass tries the cells " +
                          std::to_string(kGruppi[g][0]) + " to " + std::to_string(kGruppi[g][2]) +
                          " before the start, and all three are taken: by the ";
      for (int i = 0; i < 3; ++i) {
        frase += i == 0 ? "" : i == 1 ? ", the " : " and the ";
        frase += c_.occupante(c - kGruppi[g][i]);
      }
      return frase;
    }
    return "no room for one of the three code cuts behind the start of the slow-down" + dove +
           ": the finishing pass tries 5 to 7, 11 to 13 and 18 to 20 cells before the start, "
           "and all cells of one of these groups are taken";
  }

  Diagnostica passata(const CodiceRegistrato& k) const {
    const RigaLetta* r = c_.riga_della_cella(k.causa);
    const int64_t cella = k.posizione / 50;
    std::string chi;
    if (cella >= 0 && static_cast<size_t>(cella) < c_.tabelle().percorso.size() &&
        !libera(c_.tabelle().percorso[static_cast<size_t>(cella)]))
      chi = " (the " + c_.occupante(cella) + " stands there)";
    const std::string dove = r != nullptr ? " at " + m(num(*r, 1)) : std::string();
    std::string frase;
    switch (k.codice) {
      case codice::kAbbattimentoSegnale:
        frase = "no room for a code cut in front of the signal" + dove +
                ", which stands behind a slow-down warning board: the two cells before it are "
                "taken and neither holds a code cut to cap";
        break;
      case codice::kAbbattimentoInizio:
        frase = gruppo_pieno(k, dove);
        break;
      default:
        frase = "no room for a code cut at " + m(k.posizione) +
                " along or just after the slow-down" + dove + ": the cells there are taken" + chi;
        break;
    }
    if (r == nullptr) return senza(Sorgente::kTreno, frase);
    return con(c_.alla_riga(*r, 1), frase);
  }

  const Contesto& c_;
};

}  // namespace

std::vector<Diagnostica> diagnostiche_codici(const Contesto& c) {
  Frasi frasi(c);
  std::vector<Diagnostica> out;
  for (const CodiceRegistrato& k : c.registro().codici) out.push_back(frasi.di(k));
  const EsitoCompilazione& e = c.compilazione().esito;
  if (e.tipo == EsitoCompilazione::Tipo::kErroreFatale) out.push_back(frasi.intestazione(e.numero));
  return out;
}
