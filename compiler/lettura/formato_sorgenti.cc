#include "compiler/lettura/formato_sorgenti.h"

#include "compiler/lettura/lettore_campi.h"

namespace {

using L = Larghezza;

// ---- fields --------------------------------------------------------------------

constexpr CampoFormato kLunghezza[] = {
    {"length L", L::kI32, "m",
     "length of the line, 0 to 1000000; creates the track grid, so it comes first"},
};
constexpr CampoFormato kProgressiva[] = {
    {"position", L::kI32, "m", "where along the line the change takes effect"},
    {"new value", L::kI32, "m", "what the kilometre markings read from there (16400 is km 16.4)"},
    {"flag", L::kI32, "", "1 adds 100 to the new value, 0 leaves it"},
};
constexpr CampoFormato kSfondo[] = {
    {"value", L::kI32, "", "the background setting, passed to the simulator as written"},
};
constexpr CampoFormato kRipetizione[] = {
    {"first", L::kI32, "m", "where the train starts repeating the signal code, a multiple of 50"},
    {"second", L::kI32, "m", "where it stops, a multiple of 50; 0 for no repetition"},
};
constexpr CampoFormato kPendenza[] = {
    {"position p", L::kI32, "m", "where the gradient starts"},
    {"gradient g", L::kI32, "per mille", "-100 to 155; the built-in line uses -12 to 12"},
};
constexpr CampoFormato kCurva[] = {
    {"start", L::kI32, "m", "the curve turns from metre start + 1"},
    {"length", L::kI32, "m", "to metre start + length"},
};
constexpr CampoFormato kMontagna[] = {
    {"start", L::kI32, "m", "where the tunnel begins"},
    {"end", L::kI32, "m", "where it ends"},
    {"style", L::kI32, "", "1, 2 or 3; 11, 12, 13 for the same styles with markers"},
};
constexpr CampoFormato kIndicatori[] = {
    {"posizione", L::kI32, "m", "where the boards stand"},
    {"vas", L::kI32, "km/h", "left board, speed A"},
    {"vbs", L::kI32, "km/h", "left board, speed B"},
    {"vcs", L::kI32, "km/h", "left board, speed C"},
    {"strisces", L::kI32, "", "left board, stripe count (0, 1 or 2 in the built-in line)"},
    {"vad", L::kI32, "km/h", "right board, speed A"},
    {"vbd", L::kI32, "km/h", "right board, speed B"},
    {"vcd", L::kI32, "km/h", "right board, speed C"},
    {"strisced", L::kI32, "", "right board, stripe count"},
};
constexpr CampoFormato kCartello[] = {
    {"position p", L::kI32, "m", "where the board stands"},
    {"text", L::kTesto, "", "the rest of the row: what the board says"},
};

constexpr CampoFormato kMassaFrenata[] = {
    {"percentage", L::kI32, "%", "braked-mass percentage of the train"},
};
constexpr CampoFormato kVetture[] = {
    {"count", L::kI32, "", "number of coaches"},
};
constexpr CampoFormato kVelocita[] = {
    {"position p", L::kI32, "m", "where the limit starts"},
    {"speed v", L::kI32, "km/h", "0 to 1277"},
};
constexpr CampoFormato kAderenza[] = {
    {"position p", L::kI32, "m", "where the value starts"},
    {"value a", L::kI32, "", "adhesion value, 0 to 255 (the built-in train uses 90)"},
};
constexpr CampoFormato kOrologio[] = {
    {"hours", L::kI16, "h", "start time of the scenario: hours"},
    {"minutes", L::kI16, "min", "minutes"},
    {"seconds", L::kI16, "s", "seconds"},
};
constexpr CampoFormato kSabbia[] = {
    {"sand", L::kI16, "", "sand carried"},
};
constexpr CampoFormato kSegnale[] = {
    {"posizione", L::kI32, "m", "position of the signal"},
    {"sx", L::kI32, "", "left-side kind (2 in every built-in signal)"},
    {"s1", L::kI32, "", "left side, first value"},
    {"s2", L::kI32, "", "left side, second value"},
    {"s3", L::kI32, "", "left side, third value"},
    {"rapp", L::kI32, "", "packed with sx and dx"},
    {"dx", L::kI32, "", "right-side kind"},
    {"d1", L::kI32, "", "right side, first value"},
    {"d2", L::kI32, "", "right side, second value"},
    {"d3", L::kI32, "", "right side, third value"},
    {"tempo", L::kI32, "", "signal time; 1 to 100 is raised to 101; kept only when sx is 2"},
};
constexpr CampoFormato kRallentamento[] = {
    {"x", L::kI32, "m", "where the slow-down starts"},
    {"v", L::kI32, "km/h", "its speed"},
    {"l", L::kI32, "m", "its length"},
    {"f_tt", L::kI32, "", "stored with the start and the end"},
    {"f_ta", L::kI32, "", "not 0: four numbered cells before the warning board"},
    {"d_v", L::kI32, "", "stored with the start, the end and the board when not 0"},
};
constexpr CampoFormato kAbbattimento[] = {
    {"position p", L::kI32, "m", "where the cut stands"},
    {"value", L::kI32, "",
     "the cap, 1 to 32767 (270 in the built-in train); 0, a negative number or the letters "
     "\"AC\" mark a cell of an uncoded stretch"},
};
// The columns as the built-in train's heading comments label them.
constexpr CampoFormato kStazione[] = {
    {"pos.", L::kI32, "m", "position of the station, a multiple of 50"},
    {"tipo", L::kU8, "", "kind of station (below)"},
    {"lung.", L::kI32, "m",
     "length of the station area, a multiple of 100; used only for the extent"},
    {"tps", L::kU8, "",
     "passed to the simulator (1 at the departure station in the built-in train)"},
    {"tab", L::kU8, "", "passed on; forced to 0 below 600 m of length and at the first station"},
    {"mar", L::kU8, "",
     "when not 0 the station area ends 50 m later; forced to 0 for kinds 5 to 8, and at the "
     "first station once its area is computed"},
    {"d2", L::kI16, "", "first group, passed on"},
    {"d3", L::kI16, "", "first group, passed on"},
    {"rap", L::kU8, "", "passed on"},
    {"d1", L::kI16, "", "second group, passed on"},
    {"d2", L::kI16, "", "second group, passed on"},
    {"d3", L::kI16, "", "second group, passed on"},
    {"ac", L::kU8, "",
     "passed on (1 at the departure, 60 at the stop at ORVIETO in the built-in train)"},
    {"oro", L::kI32, "h", "time of the stop: hours"},
    {"orm", L::kI32, "min", "minutes"},
    {"ors", L::kI32, "s", "seconds; all three 0 for a station without a time"},
    {"nome", L::kTesto, "", "the name: the rest of the row"},
};

// ---- spellings of the keyword field ------------------------------------------------

constexpr const char* kFormeLunghezza[] = {"lunghezza percorso"};
constexpr const char* kFormeProgressivaUno[] = {"progressiva chilometrica uno"};
constexpr const char* kFormeProgressivaDue[] = {"progressiva chilometrica due"};
constexpr const char* kFormeProgressivaTre[] = {"progressiva chilometrica tre"};
constexpr const char* kFormeSfondoUno[] = {"sfondo uno"};
constexpr const char* kFormeSfondoDue[] = {"sfondo due"};
constexpr const char* kFormeSfondoTre[] = {"sfondo tre"};
constexpr const char* kFormeRipetizione[] = {"ripetizione segnali 9 codici",
                                             "ripetizione segnali 4 codici"};
constexpr const char* kFormePendenza[] = {"pendenza"};
constexpr const char* kFormeCurva[] = {"curvas1", "curvas2", "curvas3", "curvas4",
                                       "curvas5", "curvas6", "curvad1", "curvad2",
                                       "curvad3", "curvad4", "curvad5", "curvad6"};
constexpr const char* kFormeMontagna[] = {"montagna"};
constexpr const char* kFormeIndicatori[] = {"indicatori_vmax"};
constexpr const char* kFormeCartello[] = {"cartello indicatore", "cartello_indicatore"};
constexpr const char* kFormeMassaFrenata[] = {"percentuale massa frenata"};
constexpr const char* kFormeVetture[] = {"numero vetture"};
constexpr const char* kFormeVelocita[] = {"velocita"};
constexpr const char* kFormeAderenza[] = {"aderenza"};
constexpr const char* kFormeOrologio[] = {"orologio"};
constexpr const char* kFormeSabbia[] = {"sabbia"};
constexpr const char* kFormeSegnale[] = {"segnale"};
constexpr const char* kFormeRallentamento[] = {"rallentamento"};
constexpr const char* kFormeAbbattimento[] = {"abbattimento codice", "abbattimento"};
constexpr const char* kFormeStazione[] = {"stazione"};

// ---- rows ----------------------------------------------------------------------

constexpr Sorgente kL = Sorgente::kLinea;
constexpr Sorgente kT = Sorgente::kTreno;
constexpr Sezione kG = Sezione::kGenerale;
constexpr Sezione kE = Sezione::kElementi;
constexpr Sezione kR = Sezione::kTreno;
constexpr bool kCaso = true;     // letter case ignored
constexpr bool kEsatto = false;  // letter case compared

constexpr RigaFormato kRighe[] = {
    {kL,
     kG,
     TipoRiga::kLunghezza,
     {"lunghezza", "percorso"},
     kCaso,
     kLunghezza,
     "line length",
     "the length of the line",
     kFormeLunghezza},
    {kL,
     kG,
     TipoRiga::kProgressiva,
     {"progressiva", "uno"},
     kEsatto,
     kProgressiva,
     "kilometre change",
     "a change of the kilometre markings (first)",
     kFormeProgressivaUno},
    {kL,
     kG,
     TipoRiga::kProgressiva,
     {"progressiva", "due"},
     kEsatto,
     kProgressiva,
     "kilometre change",
     "a change of the kilometre markings (second)",
     kFormeProgressivaDue},
    {kL,
     kG,
     TipoRiga::kProgressiva,
     {"progressiva", "tre"},
     kEsatto,
     kProgressiva,
     "kilometre change",
     "a change of the kilometre markings (third)",
     kFormeProgressivaTre},
    {kL,
     kG,
     TipoRiga::kSfondo,
     {"sfondo", "uno"},
     kEsatto,
     kSfondo,
     "background",
     "the first background setting",
     kFormeSfondoUno},
    {kL,
     kG,
     TipoRiga::kSfondo,
     {"sfondo", "due"},
     kEsatto,
     kSfondo,
     "background",
     "the second background setting",
     kFormeSfondoDue},
    {kL,
     kG,
     TipoRiga::kSfondo,
     {"sfondo", "tre"},
     kEsatto,
     kSfondo,
     "background",
     "the third background setting",
     kFormeSfondoTre},
    {kL,
     kG,
     TipoRiga::kRipetizione,
     {"ripetizione", "segnali"},
     kEsatto,
     kRipetizione,
     "signal repetition",
     "where the train repeats the signal code; \"4\" or else \"9\" in the keyword field gives "
     "the number of codes",
     kFormeRipetizione},

    {kL,
     kE,
     TipoRiga::kPendenza,
     {"pendenza"},
     kCaso,
     kPendenza,
     "gradient",
     "the gradient from a position on",
     kFormePendenza},
    {kL,
     kE,
     TipoRiga::kCurva,
     {"curva"},
     kCaso,
     kCurva,
     "curve",
     "a curve of the plan: \"s\" in the keyword field turns left, else right; the first digit "
     "1 to 6 in it is the sharpness",
     kFormeCurva},
    {kL,
     kE,
     TipoRiga::kMontagna,
     {"montagna"},
     kCaso,
     kMontagna,
     "tunnel stretch",
     "a tunnel between two positions",
     kFormeMontagna},
    {kL,
     kE,
     TipoRiga::kIndicatori,
     {"indicatori_v"},
     kCaso,
     kIndicatori,
     "speed indicator boards",
     "a pair of maximum-speed boards",
     kFormeIndicatori},
    {kL,
     kE,
     TipoRiga::kCartello,
     {"cartello", "indicat"},
     kCaso,
     kCartello,
     "text board",
     "a board with a text",
     kFormeCartello},

    {kT,
     kR,
     TipoRiga::kMassaFrenata,
     {"frenata", "massa"},
     kCaso,
     kMassaFrenata,
     "braked mass",
     "the braked-mass percentage of the train",
     kFormeMassaFrenata},
    {kT,
     kR,
     TipoRiga::kVetture,
     {"vetture"},
     kCaso,
     kVetture,
     "number of coaches",
     "the number of coaches",
     kFormeVetture},
    {kT,
     kR,
     TipoRiga::kVelocita,
     {"velocit"},
     kCaso,
     kVelocita,
     "speed limit",
     "the speed limit from a position on",
     kFormeVelocita},
    {kT,
     kR,
     TipoRiga::kAderenza,
     {"aderenza"},
     kCaso,
     kAderenza,
     "adhesion",
     "the adhesion from a position on",
     kFormeAderenza},
    {kT,
     kR,
     TipoRiga::kOrologio,
     {"orologio"},
     kCaso,
     kOrologio,
     "start time",
     "the start time of the scenario",
     kFormeOrologio},
    {kT,
     kR,
     TipoRiga::kSabbia,
     {"sabbia"},
     kCaso,
     kSabbia,
     "sand",
     "the sand the train carries",
     kFormeSabbia},
    {kT, kR, TipoRiga::kSegnale, {"segnale"}, kCaso, kSegnale, "signal", "a signal", kFormeSegnale},
    {kT,
     kR,
     TipoRiga::kRallentamento,
     {"rallentamento"},
     kCaso,
     kRallentamento,
     "slow-down",
     "a temporary speed restriction",
     kFormeRallentamento},
    {kT,
     kR,
     TipoRiga::kAbbattimento,
     {"abbattimento"},
     kCaso,
     kAbbattimento,
     "code cut",
     "a cap on the signal code the train receives on one cell",
     kFormeAbbattimento},
    {kT,
     kR,
     TipoRiga::kStazione,
     {"stazione"},
     kCaso,
     kStazione,
     "station",
     "a station: its stop, times and name",
     kFormeStazione},
};

}  // namespace

std::span<const RigaFormato> righe_formato() { return kRighe; }

std::span<const char* const> parole(const RigaFormato& r) {
  return std::span<const char* const>(r.parole).first(r.parole[1] == nullptr ? 1 : 2);
}

bool riconosce(const RigaFormato& r, std::string_view campo) {
  for (const char* p : parole(r)) {
    if (!(r.ignora_maiuscole ? contiene_nocase(campo, p) : contiene(campo, p))) return false;
  }
  return true;
}

bool riconosce(TipoRiga t, std::string_view campo) {
  for (const RigaFormato& r : kRighe) {
    if (r.tipo == t && riconosce(r, campo)) return true;
  }
  return false;
}

const RigaFormato* riga_riconosciuta(Sezione s, std::string_view campo) {
  for (const RigaFormato& r : kRighe) {
    if (r.sezione == s && riconosce(r, campo)) return &r;
  }
  return nullptr;
}

const RigaFormato& formato_di(TipoRiga t) {
  for (const RigaFormato& r : kRighe) {
    if (r.tipo == t) return r;
  }
  return kRighe[0];  // unreachable for a kind of row
}
