#include "tool/documenti/scheda_autore.h"

#include "sources/modulo_scheda.h"
#include "tool/documenti/celle.h"

namespace {

// The time cell of station `i` of `n`. The train leaves its first station
// and reaches its last; the time of a stop between them is the time it
// leaves again, and a place passed through has a passing time.
std::u16string cella_orario(const StazioneDocumento& s, size_t i, size_t n) {
  if (s.orario == 0) return orario_vuoto();
  const std::u16string ora = ora_testo(s.orario);
  if (i == 0) return orario_partenza(ora);
  if (i + 1 == n) return orario_arrivo(ora);
  return s.fermata ? orario_partenza(ora) : orario_transito(ora);
}

}  // namespace

TabellaRighe scheda_autore(const DatiDocumenti& d, const OpzioniScheda& o) {
  IntestazioneScheda intestazione;
  intestazione.treno = o.treno;
  intestazione.da = d.stazioni.front().nome;
  intestazione.a = d.stazioni.back().nome;
  if (d.massa_frenata) intestazione.massa_frenata = numero_testo(*d.massa_frenata) + u"%";
  intestazione.classificazione = o.classificazione;
  intestazione.massa_bloccata = o.massa_bloccata;

  std::vector<std::u16string> righe;
  int32_t in_vigore = 0;
  for (size_t i = 0; i < d.stazioni.size(); ++i) {
    const StazioneDocumento& s = d.stazioni[i];
    RigaOrario r;
    // The limit is written where it changes: at the first station the one
    // it starts with, then wherever it differs from the station before.
    if (s.velocita != in_vigore) r.vel_lim = numero_testo(s.velocita);
    in_vigore = s.velocita;
    r.km = s.posizione == 0 ? u"0" : km_testo(s.posizione);
    r.nome = s.nome;
    r.orario = cella_orario(s, i, d.stazioni.size());
    righe.push_back(riga_orario(r));
  }
  return modulo_scheda(intestazione, righe, {});
}
