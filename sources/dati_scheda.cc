#include <array>

#include "sources/documenti.h"
#include "sources/impaginazione.h"
#include "sources/modulo_scheda.h"

// The timetable sheet of the train, as the driver finds it in the cab: a
// heading box, the classification and blocked-mass box, and the grid with
// speeds, kilometres, places and times, one row per place in running order.

namespace {

// The train runs partly on the high-speed line (DD) and partly on the old
// slow line (LL); places on the slow line carry the mark "a)" of the footnote.
constexpr bool kDD = false;
constexpr bool kLL = true;

// The kilometres follow the markings of two lines and so jump back and forth:
// the slow line and the fast line are measured from different origins.
std::array<RigaOrario, 31> percorso_orario() {
  return {{
      {u"30", u"30", u"0", u"30", kDD, u"LAVRANO Centrale", orario_partenza(u"17.50"), u""},
      {u"95", u"95", u"1.050", u"95", kDD, u"Deviatoio di uscita", orario_transito(u"17.53"), u""},
      {u"", u"", u"4.100", u"", kDD, u"LAVRANO Flavia", orario_transito(u"17.55"), u"0.5"},
      {u"110", u"110", u"4.700", u"90", kDD, u"dev. uscita Lavrano F.", orario_transito(u"17.56"),
       u""},
      {u"", u"", u"6.150", u"", kDD, u"Doppio Bivio Nomentano", orario_transito(u"17.57"), u""},
      {u"250", u"220", u"16.300", u"150", kDD, u"P.C. SETTEBAGNI", orario_transito(u"18.03"),
       u"0.5"},
      {u"", u"", u"32.250", u"", kDD, u"P.C. CAPENA", orario_transito(u"18.07"), u"0.5"},
      {u"", u"", u"43.750", u"", kDD, u"P.M. S.ORESTE", orario_transito(u"18.12"), u"0.5"},
      {u"", u"", u"61.050", u"", kDD, u"P.C. GALLESE", orario_transito(u"18.18"), u"0.5"},
      {u"", u"", u"65.050", u"", kDD, u"Primo Bivio ORTE SUD", orario_transito(u"18.20"), u""},
      {u"", u"", u"74.500", u"", kDD, u"Primo Bivio ORTE NORD", orario_transito(u"18.24"), u""},
      {u"", u"", u"76.600", u"", kDD, u"P.C. BASSANO", orario_transito(u"18.24"), u""},
      {u"", u"", u"93.700", u"", kDD, u"P.C. CIVITELLA D'AGLIANO", orario_transito(u"18.27"),
       u"0.5"},
      {u"100", u"100", u"104.600", u"100", kDD, u"Primo Bivio ORVIETO SUD",
       orario_transito(u"18.29"), u"0.5"},
      {u"", u"", u"122.800", u"", kLL, u"Secondo Bivio ORVIETO SUD", orario_transito(u"18.29"),
       u""},
      {u"", u"", u"124.850", u"", kLL, u"ORVIETO", orario_arrivo_partenza(u"18.30", u"18.31"), u""},
      {u"110", u"", u"125.400", u"110", kLL, u"Km 125.400", orario_transito(u"18.32"), u""},
      {u"100", u"", u"130.750", u"100", kLL, u"Primo Bivio ORVIETO NORD", orario_transito(u"18.36"),
       u""},
      {u"250", u"220", u"116.000", u"150", kDD, u"cippo Km 116.000", orario_transito(u"18.37"),
       u""},
      {u"", u"", u"116.300", u"", kDD, u"Secondo Bivio ORVIETO NORD", orario_transito(u"18.37"),
       u""},
      {u"", u"", u"121.500", u"", kDD, u"P.C. ALLERONA", orario_transito(u"18.40"), u""},
      {u"100", u"", u"134.700", u"100", kDD, u"Primo Bivio CHIUSI SUD", orario_transito(u"18.47"),
       u""},
      {u"150", u"", u"155.450", u"120", kLL, u"Secondo Bivio CHIUSI SUD", orario_transito(u"18.48"),
       u""},
      {u"", u"", u"156.000", u"", kLL, u"CITTA' DELLA PIEVE", orario_transito(u"18.49"), u""},
      {u"100", u"", u"161.900", u"", kLL, u"Km 161.900", orario_transito(u"18.50"), u""},
      {u"", u"", u"163.200", u"", kLL, u"CHIUSI-CHIANCIANO TERME",
       orario_arrivo_partenza(u"18.53", u"18.55"), u""},
      {u"140", u"140", u"165.250", u"", kLL, u"Km 165.250", orario_transito(u"18.56"), u""},
      {u"", u"", u"174.750", u"", kLL, u"P.M. PANICALE-S.FATUCCHIO", orario_transito(u"18.59"),
       u""},
      {u"150", u"", u"175.050", u"", kLL, u"Km 175.050", orario_transito(u"19.00"), u""},
      {u"", u"", u"181.800", u"", kLL, u"CASTIGLION DEL LAGO", orario_transito(u"19.04"), u""},
      {u"", u"", u"191.800", u"", kLL, u"CESTELLE-CORTONA", orario_arrivo(u"19.11"), u""},
  }};
}

// The row of the Km 161.900 board has always carried a stray blank after
// its last bar; the sheet is kept exactly as drivers know it.
constexpr std::u16string_view kKmConBlancoFinale = u"161.900";

}  // namespace

TabellaRighe righe_scheda(const std::string& numero_treno) {
  IntestazioneScheda intestazione;
  intestazione.treno = da_byte(numero_treno);
  intestazione.da = u"Lavrano Centrale";
  intestazione.a = u"Cestelle";
  intestazione.categoria = u"V250 C";
  intestazione.massa_frenata = u"130%";
  intestazione.classificazione = u"EUROSTAR";
  intestazione.massa_bloccata = u"530T";
  std::vector<std::u16string> righe;
  for (const RigaOrario& l : percorso_orario())
    righe.push_back(riga_orario(l) + (l.km == kKmConBlancoFinale ? u" " : u""));
  return modulo_scheda(intestazione, righe,
                       {u"", u" a) località di servizio sulla linea LL Lavrano-Sena"});
}
