#include "tool/documenti/ordini_autore.h"

#include <algorithm>

#include "sources/impaginazione.h"
#include "sources/modulo_rallentamenti.h"
#include "tool/documenti/celle.h"

namespace {

// Where a slow-down lies, as the order names it: the station whose area
// holds it whole, or the last station before its start and the first after
// its end (only one of them at either end of the line).
struct Tratta {
  const StazioneDocumento* dentro = nullptr;
  const StazioneDocumento* da = nullptr;
  const StazioneDocumento* a = nullptr;
};

Tratta tratta_di(const DatiDocumenti& d, const RallentamentoDocumento& r) {
  const int64_t inizio = std::min(r.inizio, r.inizio + r.lunghezza);
  const int64_t fine = std::max(r.inizio, r.inizio + r.lunghezza);
  Tratta t;
  for (const StazioneDocumento& s : d.stazioni) {
    if (s.inizio <= inizio && fine <= s.fine) t.dentro = &s;
    if (s.posizione <= inizio) t.da = &s;
    if (s.posizione >= fine && t.a == nullptr) t.a = &s;
  }
  return t;
}

// The cell of the stations, on one grid row or, when the two names do not
// fit side by side, on two: "A -" over "B".
std::vector<std::u16string> righe_tratta(const Tratta& t) {
  if (t.dentro) return {t.dentro->nome};
  if (!t.da || !t.a) return {t.da ? t.da->nome : t.a ? t.a->nome : u""};
  const std::u16string insieme = t.da->nome + u" - " + t.a->nome;
  if (insieme.size() <= kOrdineStazioni) return {insieme};
  return {taglia(t.da->nome, kOrdineStazioni - 2) + u" -", t.a->nome};
}

}  // namespace

TabellaRighe ordini_autore(const DatiDocumenti& d, std::u16string_view treno) {
  std::vector<std::u16string> righe;
  for (size_t i = 0; i < d.rallentamenti.size(); ++i) {
    const RallentamentoDocumento& r = d.rallentamenti[i];
    const std::vector<std::u16string> tratta = righe_tratta(tratta_di(d, r));
    OrdineRallentamento o;
    o.numero = numero_testo(static_cast<int64_t>(i) + 1);
    o.tratta = tratta[0];
    o.km = km_testo(r.inizio);
    o.velocita = numero_testo(r.velocita);
    o.lunghezza = numero_testo(r.lunghezza);
    righe.push_back(riga_ordine(o));
    for (size_t k = 1; k < tratta.size(); ++k) {
      OrdineRallentamento seguito;
      seguito.tratta = tratta[k];
      righe.push_back(riga_ordine(seguito));
    }
  }
  const std::u16string linea = taglia(d.stazioni.front().nome, kOrdineStazioni) + u" - " +
                               taglia(d.stazioni.back().nome, kOrdineStazioni);
  return modulo_rallentamenti(linea, treno, righe);
}
