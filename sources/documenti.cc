#include "sources/documenti.h"

#include "compiler/nomi_file.h"

Status dati_linea(const Destinazione& d) {
  return scrivi_testo(d, nome_sorgente_linea(d.nome_scenario), righe_linea());
}
Status dati_treno(const Destinazione& d) {
  return scrivi_testo(d, nome_sorgente_treno(d.nome_scenario, d.numero_treno), righe_treno());
}
Status dati_note(const Destinazione& d) {
  return scrivi_testo(d, nome_note(d.nome_scenario, d.numero_treno), righe_note(d.numero_treno));
}
Status dati_rallentamenti(const Destinazione& d) {
  return scrivi_testo(d, nome_rallentamenti(d.nome_scenario, d.numero_treno), righe_rallentamenti());
}
Status dati_scheda(const Destinazione& d) {
  return scrivi_testo(d, nome_scheda(d.nome_scenario, d.numero_treno), righe_scheda(d.numero_treno));
}
