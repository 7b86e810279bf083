#include <array>

#include "sources/documenti.h"

// The timetable sheet of the train, as the driver finds it in the cab: a
// heading box, the classification and blocked-mass box, and the grid with
// speeds, kilometres, places and times, one row per place in running order.

namespace {

std::u16string blanchi(size_t n) { return std::u16string(n, u' '); }

// `testo` followed by blanks up to `larghezza` characters (never cut).
std::u16string a_sinistra(std::u16string_view testo, size_t larghezza) {
  std::u16string s(testo);
  if (s.size() < larghezza) s.append(larghezza - s.size(), u' ');
  return s;
}

// Blanks, then `testo` ending at `larghezza` characters (never cut).
std::u16string a_destra(std::u16string_view testo, size_t larghezza) {
  std::u16string s = testo.size() < larghezza ? blanchi(larghezza - testo.size()) : u"";
  s.append(testo);
  return s;
}

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

// The 16-character time cell: arrivals stand two characters in, departures
// ten, and a passing time in between, at six.
std::u16string transito(std::u16string_view ora) {
  return blanchi(6) + std::u16string(ora) + blanchi(5);
}
std::u16string arrivo_partenza(std::u16string_view arrivo, std::u16string_view partenza) {
  return blanchi(2) + std::u16string(arrivo) + blanchi(3) + std::u16string(partenza) + u" ";
}
std::u16string solo_partenza(std::u16string_view ora) {
  return blanchi(10) + std::u16string(ora) + u" ";
}
std::u16string solo_arrivo(std::u16string_view ora) {
  return blanchi(2) + std::u16string(ora) + blanchi(9);
}

// The train runs partly on the high-speed line (DD) and partly on the old
// slow line (LL); places on the slow line carry the mark "a)" of the footnote.
enum Linea { kDD, kLL };

struct Localita {
  std::u16string_view vel_lim;   // speed limit from here on
  std::u16string_view vel_marc;  // running speed
  std::u16string_view km;        // kilometre as marked on the line in use
  std::u16string_view vel_rs;    // speed of the signal-code repetition
  Linea linea;
  std::u16string_view nome;
  std::u16string orario;         // the whole time cell
  std::u16string_view recupero;  // recovery margin in minutes, or empty
};

// Cells between the bars at columns 1, 7, 13, 24, 30, 59, 76 and 82.
std::u16string riga_orario(const Localita& l) {
  std::u16string luogo = (l.linea == kLL ? u"a) " : u" ") + std::u16string(l.nome);
  return u" |" + cella_velocita(l.vel_lim) + u"|" + cella_velocita(l.vel_marc) + u"|" +
         cella_km(l.km) + u"|" + cella_velocita(l.vel_rs) + u"|" + a_sinistra(luogo, 28) + u"|" +
         l.orario + u"|" + cella_velocita(l.recupero) + u"|";
}

// The kilometres follow the markings of two lines and so jump back and forth:
// the slow line and the fast line are measured from different origins.
std::array<Localita, 31> percorso_orario() {
  return {{
      {u"30", u"30", u"0", u"30", kDD, u"LAVRANO Centrale", solo_partenza(u"17.50"), u""},
      {u"95", u"95", u"1.050", u"95", kDD, u"Deviatoio di uscita", transito(u"17.53"), u""},
      {u"", u"", u"4.100", u"", kDD, u"LAVRANO Flavia", transito(u"17.55"), u"0.5"},
      {u"110", u"110", u"4.700", u"90", kDD, u"dev. uscita Lavrano F.", transito(u"17.56"), u""},
      {u"", u"", u"6.150", u"", kDD, u"Doppio Bivio Nomentano", transito(u"17.57"), u""},
      {u"250", u"220", u"16.300", u"150", kDD, u"P.C. SETTEBAGNI", transito(u"18.03"), u"0.5"},
      {u"", u"", u"32.250", u"", kDD, u"P.C. CAPENA", transito(u"18.07"), u"0.5"},
      {u"", u"", u"43.750", u"", kDD, u"P.M. S.ORESTE", transito(u"18.12"), u"0.5"},
      {u"", u"", u"61.050", u"", kDD, u"P.C. GALLESE", transito(u"18.18"), u"0.5"},
      {u"", u"", u"65.050", u"", kDD, u"Primo Bivio ORTE SUD", transito(u"18.20"), u""},
      {u"", u"", u"74.500", u"", kDD, u"Primo Bivio ORTE NORD", transito(u"18.24"), u""},
      {u"", u"", u"76.600", u"", kDD, u"P.C. BASSANO", transito(u"18.24"), u""},
      {u"", u"", u"93.700", u"", kDD, u"P.C. CIVITELLA D'AGLIANO", transito(u"18.27"), u"0.5"},
      {u"100", u"100", u"104.600", u"100", kDD, u"Primo Bivio ORVIETO SUD", transito(u"18.29"),
       u"0.5"},
      {u"", u"", u"122.800", u"", kLL, u"Secondo Bivio ORVIETO SUD", transito(u"18.29"), u""},
      {u"", u"", u"124.850", u"", kLL, u"ORVIETO", arrivo_partenza(u"18.30", u"18.31"), u""},
      {u"110", u"", u"125.400", u"110", kLL, u"Km 125.400", transito(u"18.32"), u""},
      {u"100", u"", u"130.750", u"100", kLL, u"Primo Bivio ORVIETO NORD", transito(u"18.36"), u""},
      {u"250", u"220", u"116.000", u"150", kDD, u"cippo Km 116.000", transito(u"18.37"), u""},
      {u"", u"", u"116.300", u"", kDD, u"Secondo Bivio ORVIETO NORD", transito(u"18.37"), u""},
      {u"", u"", u"121.500", u"", kDD, u"P.C. ALLERONA", transito(u"18.40"), u""},
      {u"100", u"", u"134.700", u"100", kDD, u"Primo Bivio CHIUSI SUD", transito(u"18.47"), u""},
      {u"150", u"", u"155.450", u"120", kLL, u"Secondo Bivio CHIUSI SUD", transito(u"18.48"), u""},
      {u"", u"", u"156.000", u"", kLL, u"CITTA' DELLA PIEVE", transito(u"18.49"), u""},
      {u"100", u"", u"161.900", u"", kLL, u"Km 161.900", transito(u"18.50"), u""},
      {u"", u"", u"163.200", u"", kLL, u"CHIUSI-CHIANCIANO TERME",
       arrivo_partenza(u"18.53", u"18.55"), u""},
      {u"140", u"140", u"165.250", u"", kLL, u"Km 165.250", transito(u"18.56"), u""},
      {u"", u"", u"174.750", u"", kLL, u"P.M. PANICALE-S.FATUCCHIO", transito(u"18.59"), u""},
      {u"150", u"", u"175.050", u"", kLL, u"Km 175.050", transito(u"19.00"), u""},
      {u"", u"", u"181.800", u"", kLL, u"CASTIGLION DEL LAGO", transito(u"19.04"), u""},
      {u"", u"", u"191.800", u"", kLL, u"CESTELLE-CORTONA", solo_arrivo(u"19.11"), u""},
  }};
}

// The row of the Km 161.900 board has always carried a stray blank after
// its last bar; the sheet is kept exactly as drivers know it.
constexpr std::u16string_view kKmConBlancoFinale = u"161.900";

constexpr std::u16string_view kRegoloTitoli =
    u" |_____|_____|__________|_____|____________________________|________________|_____|";

// The middle of the two heading rows that name the route, 45 characters from
// column 22 (just after the box of the train number) to the box on the right:
// the colons of "da:" and "a:" stand in one column, and one blank after them
// both names begin.
std::u16string tratta(std::u16string_view etichetta, std::u16string_view nome) {
  return a_sinistra(a_destra(etichetta, 22) + u" " + std::u16string(nome), 45);
}

// " |   TRENO n.58121   |": the train number centred in its box.
std::u16string casella_treno(const std::string& numero_treno) {
  std::u16string testo = u"TRENO n.";
  for (char c : numero_treno) testo.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  const size_t larghezza = 19;
  const size_t sinistra = testo.size() < larghezza ? (larghezza - testo.size()) / 2 : 0;
  return u" |" + a_sinistra(blanchi(sinistra) + testo, larghezza) + u"|";
}

}  // namespace

TabellaRighe righe_scheda(const std::string& numero_treno) {
  TabellaRighe r = {
      u"",
      u"",
      u"  ___________________                                               ______________",
      u" |                   |                    SCHEDA  1/1              |              |",
      casella_treno(numero_treno) + tratta(u"da:", u"Lavrano Centrale") + u"|    V250 C    |",
      u" |___________________|" + tratta(u"a:", u"Cestelle") + u"|     130%     |",
      u"                                                                   |______________|",
      u"  ___________________                ___________________",
      u" |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
      u" |     EUROSTAR      |              |      530T         |",
      u" |___________________|              |___________________|",
      u"",
      u"  ________________________________________________________________________________",
      u" | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
      u" | Lim.|Marc.|          |  Rs |                            |                |     |",
      std::u16string(kRegoloTitoli),
  };
  for (const Localita& l : percorso_orario())
    r.push_back(riga_orario(l) + (l.km == kKmConBlancoFinale ? u" " : u""));
  r.insert(r.end(), {
                        std::u16string(kRegoloTitoli),
                        u"",
                        u" a) località di servizio sulla linea LL Lavrano-Sena",
                        std::u16string(riferimento_fine_file),
                    });
  return r;
}
