#include "compiler/uscita/formato_linea.h"

#include "compiler/uscita/codifica.h"

std::string codifica_linea(const Tabelle& t) {
  // Values are encoded into a small buffer that stays in cache and appended
  // in blocks, so the large result is written once and never pre-filled.
  constexpr size_t kMassimo = 10;  // bytes of the largest value
  constexpr size_t kBlocco = 4096;
  std::string out;
  out.reserve(kMassimo * t.tabella_linea.size());
  char blocco[kBlocco * kMassimo];
  size_t i = 0;
  const size_t n = t.tabella_linea.size();
  while (i < n) {
    char* p = blocco;
    const size_t fine = n - i < kBlocco ? n : i + kBlocco;
    for (; i < fine; ++i) p = PutValore(p, t.tabella_linea[i]);
    out.append(blocco, static_cast<size_t>(p - blocco));
  }
  return out;
}

EsitoDecodifica decodifica_linea(std::string_view dati, std::vector<valore>* valori) {
  valori->clear();
  LettoreLE l(dati);
  std::vector<valore> out;
  // Most values of a real table are doubles of 10 bytes.
  out.reserve(dati.size() / 10 + 2);
  while (!l.alla_fine()) {
    l.contesto("value " + std::to_string(out.size()));
    valore v;
    if (!l.GetValore(&v)) return l.esito();
    out.push_back(v);
  }
  if (out.empty() || out.size() % 2 != 0)
    return EsitoDecodifica::Rifiuto(
        dati.size(), "two columns of equal length (x then y, at least one row), found " +
                         std::to_string(out.size()) + " values");
  *valori = std::move(out);
  return EsitoDecodifica::Ok();
}

EsitoDecodifica verifica_righe(size_t righe, int32_t lunghezza, size_t dimensione) {
  const int64_t attese = static_cast<int64_t>(lunghezza) + 7001;
  if (static_cast<int64_t>(righe) == attese) return EsitoDecodifica::Ok();
  return EsitoDecodifica::Rifiuto(
      dimensione, std::to_string(attese) + " rows for a line of " + std::to_string(lunghezza) +
                      " m (the length in the station table), found " + std::to_string(righe));
}
