// The three decoders of the compiled files, fed arbitrary bytes: every input
// is either decoded whole, and then encodes back to exactly the same bytes,
// or refused with an offset inside the input and a statement of what was
// expected, leaving nothing decoded behind.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <string_view>

#include "compiler/tabelle.h"
#include "compiler/uscita/formato_linea.h"
#include "compiler/uscita/formato_percorso.h"
#include "compiler/uscita/formato_stazioni.h"

namespace {

void Verifica(bool condizione, const char* cosa) {
  if (condizione) return;
  std::fprintf(stderr, "broken invariant: %s\n", cosa);
  std::abort();
}

void VerificaRifiuto(const EsitoDecodifica& e, size_t dimensione, const char* decoder) {
  Verifica(!e.atteso.empty(), decoder);
  Verifica(e.offset <= dimensione, "a refusal's offset lies within the input");
  Verifica(e.messaggio().find("expected") != std::string::npos, "a refusal says what was expected");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view dati(reinterpret_cast<const char*>(data), size);
  Tabelle t;

  EsitoDecodifica e = decodifica_percorso(dati, &t.percorso);
  if (e.ok()) {
    Verifica(codifica_percorso(t) == dati, "a decoded grid encodes back to its bytes");
  } else {
    VerificaRifiuto(e, size, "track grid refused with a message");
    Verifica(t.percorso.empty(), "a refused grid leaves no cells");
  }

  e = decodifica_stazioni(dati, &t.stazioni);
  if (e.ok()) {
    std::string di_nuovo;
    Verifica(codifica_stazioni(t, &di_nuovo).ok() && di_nuovo == dati,
             "a decoded station table encodes back to its bytes");
  } else {
    VerificaRifiuto(e, size, "station table refused with a message");
    for (const record_stazione& s : t.stazioni)
      Verifica(s.nome.empty() && s.inizio == 0 && s.orario == 0,
               "a refused station table leaves its entries cleared");
  }

  std::vector<valore> valori;
  e = decodifica_linea(dati, &valori);
  if (e.ok()) {
    Verifica(valori.size() % 2 == 0 && !valori.empty(), "a decoded line table has two columns");
    t.tabella_linea.assign(valori.size(), valore{});
    for (size_t i = 0; i < valori.size(); ++i) t.tabella_linea.imposta(i, valori[i]);
    Verifica(codifica_linea(t) == dati, "a decoded line table encodes back to its bytes");
  } else {
    VerificaRifiuto(e, size, "line table refused with a message");
    Verifica(valori.empty(), "a refused line table leaves no values");
  }
  return 0;
}
