#include "sources/documenti.h"

// The slow-down order form handed to the driver. It is printed blank: the
// route and the train are runs of x, to be filled in by hand, and the grid
// has room for 26 orders. The same form serves every scenario.

namespace {

// Order number, between which stations, from which kilometre post, speed,
// length in metres, specific prescriptions: cells 3, 28, 12, 10, 9, 12 wide.
constexpr std::u16string_view kRigaVuota =
    u" |   |                            |            |          |         |            |";
constexpr std::u16string_view kRegolo =
    u" |___|____________________________|____________|__________|_________|____________|";
constexpr int kRigheOrdini = 26;

}  // namespace

TabellaRighe righe_rallentamenti() {
  TabellaRighe r = {
      u"",
      u"                               Modulo M. 3",
      u"                           ORDINE DI RALLENTAMENTO",
      u" ________________________________________________________________________________",
      u"  Linea  xxxxxx xxxxxxx",
      u"",
      u"  Si ordina al macchinista del treno xxxxx di effettuare i seguenti rallentamenti",
      u"  _______________________________________________________________________________",
      u" |   |                            |Inizio dopo |          |         |            |",
      u" | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
      u" |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
      std::u16string(kRegolo),
  };
  r.insert(r.end(), kRigheOrdini, std::u16string(kRigaVuota));
  r.insert(r.end(), {
                        std::u16string(kRegolo),
                        u"",
                        u"              Prescrizioni specifiche",
                        u" A - Da rispettare con tutto il treno (per i treni viaggiatori)",
                        u" B - Interessa anche la stazione di.......",
                        // The printed form has this misspelling and the key in the order
                        // A, B, D, C; drivers know it that way, so it stays.
                        u" D - Rallentamneto N. ... e N. ...  sono contigui",
                        u" C - Da rispettare dalle ore ....  alle ore ..... di tutti",
                        u"     i giorni esclusi i seguenti:.........",
                        std::u16string(riferimento_fine_file),
                    });
  return r;
}
