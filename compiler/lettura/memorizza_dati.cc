#include "compiler/lettura/memorizza_dati.h"

#include <utility>

#include "compiler/codici_errore.h"
#include "compiler/lettura/lettura_linea.h"
#include "compiler/lettura/lettura_treno.h"
#include "compiler/registra_codice.h"
#include "compiler/registro.h"

LetturaSorgenti::LetturaSorgenti(Tabelle& t, int32_t indice_cartello)
    : t_(t), indice_cartello_(indice_cartello) {}
LetturaSorgenti::~LetturaSorgenti() = default;

FineLettura LetturaSorgenti::leggi_linea(const SorgenteTesto& linea) {
  posizione_prima_ = t_.posizione_errore;
  t_.stazioni[kVoceScenario].nome = t_.nome_scenario;
  t_.stazioni[kVoceTreno].nome = t_.numero_treno;
  switch (linea.stato) {
    case SorgenteTesto::Stato::kMancante:
      registra_codice(t_, codice::kNessunaLinea, std::nullopt,
                      OrigineCodice::lettura(Sorgente::kLinea));
      return FineLettura::kMancante;
    case SorgenteTesto::Stato::kIlleggibile:
      registra_codice(t_, codice::kLetturaFallita, std::nullopt,
                      OrigineCodice::lettura(Sorgente::kLinea));
      return FineLettura::kFallita;
    case SorgenteTesto::Stato::kLetta:
      break;
  }
  linea_ = std::make_unique<LetturaLinea>(t_, linea.testo, &indice_cartello_);
  return linea_->leggi();
}

void LetturaSorgenti::completa_linea() {
  if (linea_) linea_->completa();
}

FineLettura LetturaSorgenti::leggi_treno(const SorgenteTesto& treno) {
  posizione_prima_ = t_.posizione_errore;
  if (treno.stato != SorgenteTesto::Stato::kLetta) {
    registra_codice(t_, codice::kLetturaFallita, std::nullopt,
                    OrigineCodice::lettura(Sorgente::kTreno));
    return FineLettura::kFallita;
  }
  treno_ = std::make_unique<LettoreTreno>(t_, treno.testo, indice_cartello_);
  return treno_->leggi_tutto();
}

void LetturaSorgenti::completa_treno() {
  if (treno_) treno_->completa();
}

void LetturaSorgenti::eliminazione_fallita(FineLettura fine) {
  const Sorgente s = treno_ ? Sorgente::kTreno : Sorgente::kLinea;
  registra_codice(
      t_, codice::kLetturaFallita,
      fine == FineLettura::kChiusa ? std::optional<int32_t>(posizione_prima_) : std::nullopt,
      OrigineCodice::lettura(s));
}

void leggi_sorgenti(Tabelle& t, const SorgenteTesto& linea, const SorgenteTesto& treno) {
  LetturaSorgenti l(t);
  if (l.leggi_linea(linea) != FineLettura::kLetta) return;
  l.completa_linea();
  if (l.leggi_treno(treno) == FineLettura::kLetta) l.completa_treno();
}
