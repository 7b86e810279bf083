#include "compiler/uscita/formato_linea.h"

#include <algorithm>

#include "compiler/uscita/codifica.h"

CodificaLinea::CodificaLinea(const Tabelle& t) : tabella_(t.tabella_linea) {}

std::string_view CodificaLinea::Next() {
  // The block is made at the first piece asked for, not before: a file
  // system that drops the file never asks. A table shorter than a block
  // gets a block of its own size.
  if (!blocco_)
    blocco_.reset(new char[std::min(kElementi, std::max<size_t>(tabella_.size(), 1)) * kMassimo]);
  // The codes straight from the table, as PutValore writes them, without
  // forming each value first. The loop works on locals only: every access to
  // a member of this polymorphic class is checked for its dynamic type under
  // the undefined-behaviour sanitizer, and the loop runs once per element.
  const uint8_t* codici = tabella_.codici();
  const double* numeri = tabella_.numeri();
  const size_t n = tabella_.size();
  size_t i = prossimo_;
  const size_t fine = n - i < kElementi ? n : i + kElementi;
  char* const inizio = blocco_.get();
  char* p = inizio;
  while (i < fine) {
    const uint8_t codice = codici[i];
    if (codice == valore::kReale) {
      // Nearly every element is a computed double, so they go in runs.
      do {
        p = PutF64(PutU16(p, valore::kReale), numeri[i]);
      } while (++i < fine && codici[i] == valore::kReale);
      continue;
    }
    if (codice == valore::kIntero)
      p = PutI16(PutU16(p, valore::kIntero), static_cast<int16_t>(numeri[i]));
    else
      p = PutU16(p, valore::kVuoto);
    ++i;
  }
  prossimo_ = i;
  return {inizio, static_cast<size_t>(p - inizio)};
}

std::string codifica_linea(const Tabelle& t) {
  CodificaLinea codifica(t);
  std::string out;
  for (std::string_view pezzo = codifica.Next(); !pezzo.empty(); pezzo = codifica.Next())
    out.append(pezzo);
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
