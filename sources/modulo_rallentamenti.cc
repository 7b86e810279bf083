#include "sources/modulo_rallentamenti.h"

#include <utility>

#include "sources/impaginazione.h"

namespace {

// A number right-aligned before one blank; one that needs the blank too
// fills the whole cell. Built by appending: concatenations onto a literal
// trip a false alarm of the compiler's overlap check.
std::u16string numero(std::u16string_view testo, size_t larghezza) {
  if (testo.size() > larghezza) return a_destra(testo, larghezza + 1);
  std::u16string s = a_destra(testo, larghezza);
  s += u' ';
  return s;
}
std::u16string testo(std::u16string_view t, size_t larghezza) {
  std::u16string s(1, u' ');
  s += a_sinistra(t, larghezza);
  return s;
}

constexpr std::u16string_view kRegolo =
    u" |___|____________________________|____________|__________|_________|____________|";

}  // namespace

std::u16string riga_ordine(const OrdineRallentamento& o) {
  std::u16string r = u" |";
  for (const std::u16string& cella :
       {numero(o.numero, kOrdineNumero), testo(o.tratta, kOrdineStazioni), numero(o.km, kOrdineKm),
        numero(o.velocita, kOrdineVelocita), numero(o.lunghezza, kOrdineLunghezza),
        testo(o.prescrizioni, kOrdinePrescrizioni)}) {
    r += cella;
    r += u'|';
  }
  return r;
}

TabellaRighe modulo_rallentamenti(std::u16string_view linea, std::u16string_view treno,
                                  const std::vector<std::u16string>& ordini) {
  TabellaRighe r = {
      u"",
      u"                               Modulo M. 3",
      u"                           ORDINE DI RALLENTAMENTO",
      u" ________________________________________________________________________________",
      u"  Linea  " + std::u16string(linea),
      u"",
      u"  Si ordina al macchinista del treno " + std::u16string(treno) +
          u" di effettuare i seguenti rallentamenti",
      u"  _______________________________________________________________________________",
      u" |   |                            |Inizio dopo |          |         |            |",
      u" | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
      u" |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
      std::u16string(kRegolo),
  };
  std::vector<std::u16string> griglia = ordini;
  for (size_t n = ordini.size(); n < kRigheOrdini; ++n) griglia.push_back(riga_ordine({}));
  return chiudi_modulo(std::move(r), griglia, kRegolo,
                       {
                           u"",
                           u"              Prescrizioni specifiche",
                           u" A - Da rispettare con tutto il treno (per i treni viaggiatori)",
                           u" B - Interessa anche la stazione di.......",
                           // The printed form has this misspelling and the key in the order
                           // A, B, D, C; drivers know it that way, so it stays.
                           u" D - Rallentamneto N. ... e N. ...  sono contigui",
                           u" C - Da rispettare dalle ore ....  alle ore ..... di tutti",
                           u"     i giorni esclusi i seguenti:.........",
                       });
}
