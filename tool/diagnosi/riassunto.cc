#include "tool/diagnosi/riassunto.h"

#include "compiler/arrotonda.h"
#include "tool/diagnosi/contesto.h"

namespace {

std::string conta(size_t n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

}  // namespace

std::string riassunto(const Analisi& a, const std::string& nome) {
  const Contesto c(*a.compilazione, a.linea, a.treno, 1);
  size_t stazioni = 0, fermate = 0;
  for (const RigaLetta* r : c.righe_di(TipoRiga::kStazione, 17)) {
    ++stazioni;
    if (c.numero(*r, 2).value_or(0) < 25) ++fermate;
  }
  const int64_t decimi = dividi_arrotonda(c.lunghezza(), 100);
  size_t errori = 0, avvisi = 0;
  for (const Diagnostica& d : a.diagnostiche)
    ++(d.gravita == Diagnostica::Gravita::kErrore ? errori : avvisi);
  return nome + ": " + std::to_string(decimi / 10) + "." + std::to_string(decimi % 10) + " km, " +
         conta(stazioni, "station", "stations") + " (" + conta(fermate, "stop", "stops") + "), " +
         conta(c.righe_di(TipoRiga::kSegnale, 1).size(), "signal", "signals") + ", " +
         conta(c.righe_di(TipoRiga::kRallentamento, 1).size(), "slow-down", "slow-downs") + ", " +
         conta(c.righe_di(TipoRiga::kCartello, 1).size(), "text board", "text boards") + ", " +
         conta(static_cast<size_t>(c.tabelle().numero_montagne), "tunnel", "tunnels") + "; " +
         conta(errori, "error", "errors") + ", " + conta(avvisi, "warning", "warnings");
}
