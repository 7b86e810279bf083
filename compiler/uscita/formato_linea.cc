#include "compiler/uscita/formato_linea.h"

#include "compiler/uscita/codifica.h"

CodificaLinea::CodificaLinea(const Tabelle& t)
    : tabella_(t.tabella_linea), blocco_(new char[kElementi * kMassimo]) {}

std::string_view CodificaLinea::Next() {
  const size_t n = tabella_.size();
  const size_t fine = n - prossimo_ < kElementi ? n : prossimo_ + kElementi;
  char* p = blocco_.get();
  for (; prossimo_ < fine; ++prossimo_) p = PutValore(p, tabella_[prossimo_]);
  return {blocco_.get(), static_cast<size_t>(p - blocco_.get())};
}

std::string codifica_linea(const Tabelle& t) {
  CodificaLinea codifica(t);
  std::string out;
  for (std::string_view pezzo = codifica.Next(); !pezzo.empty(); pezzo = codifica.Next())
    out.append(pezzo);
  return out;
}
