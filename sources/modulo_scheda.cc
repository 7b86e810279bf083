#include "sources/modulo_scheda.h"

#include <utility>

#include "sources/impaginazione.h"

namespace {

// A speed right-aligned before one blank ("  95 ", " 250 "); five blanks
// when the row states none.
std::u16string cella_velocita(std::u16string_view v) { return a_destra(v, 4) + u" "; }

// A kilometre with its point under the point of every other row: the whole
// kilometres end in the fifth character, then the three decimals and a blank.
// The departure "0" has no decimals and stands under the units digit alone.
std::u16string cella_km(std::u16string_view km) {
  const size_t punto = km.find(u'.');
  const std::u16string_view interi = km.substr(0, punto);
  const std::u16string_view decimali = punto == km.npos ? u"" : km.substr(punto);
  return a_destra(interi, 5) + a_sinistra(decimali, 4) + u" ";
}

constexpr std::u16string_view kRegoloTitoli =
    u" |_____|_____|__________|_____|____________________________|________________|_____|";

// The middle of the two heading rows that name the route, 45 characters from
// column 22 (just after the box of the train number) to the box on the right:
// the colons of "da:" and "a:" stand in one column, and one blank after them
// both names begin.
std::u16string tratta(std::u16string_view etichetta, std::u16string_view nome) {
  return a_sinistra(a_destra(etichetta, 22) + u" " + std::u16string(nome), 45);
}

// The blocked mass starts six characters into its box, or earlier when it
// would not fit there.
std::u16string casella_massa_bloccata(std::u16string_view testo) {
  const size_t larghezza = 19;
  const std::u16string s = taglia(testo, larghezza);
  const size_t rientro = s.size() + 6 <= larghezza ? 6 : larghezza - s.size();
  return a_sinistra(blanchi(rientro) + s, larghezza);
}

}  // namespace

std::u16string orario_transito(std::u16string_view ora) {
  return blanchi(6) + std::u16string(ora) + blanchi(5);
}
std::u16string orario_arrivo_partenza(std::u16string_view arrivo, std::u16string_view partenza) {
  return blanchi(2) + std::u16string(arrivo) + blanchi(3) + std::u16string(partenza) + u" ";
}
std::u16string orario_partenza(std::u16string_view ora) {
  return blanchi(10) + std::u16string(ora) + u" ";
}
std::u16string orario_arrivo(std::u16string_view ora) {
  return blanchi(2) + std::u16string(ora) + blanchi(9);
}
std::u16string orario_vuoto() { return blanchi(16); }

std::u16string riga_orario(const RigaOrario& r) {
  const std::u16string luogo = (r.segnata ? u"a) " : u" ") + r.nome;
  return u" |" + cella_velocita(r.vel_lim) + u"|" + cella_velocita(r.vel_marc) + u"|" +
         cella_km(r.km) + u"|" + cella_velocita(r.vel_rs) + u"|" +
         a_sinistra(luogo, kSchedaLuogo + 1) + u"|" + a_sinistra(r.orario, 16) + u"|" +
         cella_velocita(r.recupero) + u"|";
}

TabellaRighe modulo_scheda(const IntestazioneScheda& i, const std::vector<std::u16string>& righe,
                           const std::vector<std::u16string>& piede) {
  TabellaRighe r = {
      u"",
      u"",
      u"  ___________________                                               ______________",
      u" |                   |                    SCHEDA  1/1              |              |",
      u" |" + al_centro(u"TRENO n." + i.treno, 19) + u"|" + tratta(u"da:", i.da) + u"|" +
          al_centro(i.categoria, 14) + u"|",
      u" |___________________|" + tratta(u"a:", i.a) + u"|" + al_centro(i.massa_frenata, 14) + u"|",
      u"                                                                   |______________|",
      u"  ___________________                ___________________",
      u" |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
      u" |" + al_centro(i.classificazione, 19) + u"|              |" +
          casella_massa_bloccata(i.massa_bloccata) + u"|",
      u" |___________________|              |___________________|",
      u"",
      u"  ________________________________________________________________________________",
      u" | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
      u" | Lim.|Marc.|          |  Rs |                            |                |     |",
      std::u16string(kRegoloTitoli),
  };
  return chiudi_modulo(std::move(r), righe, kRegoloTitoli, piede);
}
