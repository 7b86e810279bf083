#include "tool/documenti/documenti_autore.h"

#include "compiler/nomi_file.h"
#include "sources/modulo_scheda.h"
#include "tool/documenti/ordini_autore.h"
#include "tool/documenti/testo_1252.h"

namespace {

// The classification and the blocked mass each have a box of 19.
constexpr size_t kLarghezzaCasella = 19;

Status testo_opzione(const char* cosa, const std::string& utf8, size_t larghezza,
                     std::u16string* out) {
  const std::optional<std::u16string> t = da_utf8(utf8);
  if (!t) return Status::Error(std::string("the ") + cosa + " is not UTF-8 text");
  if (!stampabile_1252(*t))
    return Status::Error(std::string("the ") + cosa + " '" + utf8 +
                         "' holds a character outside Windows-1252, the documents' code page");
  if (t->size() > larghezza)
    return Status::Error(std::string("the ") + cosa + " '" + utf8 + "' is longer than the " +
                         std::to_string(larghezza) + " characters of its box on the sheet");
  *out = *t;
  return Status::Ok();
}

}  // namespace

Status opzioni_scheda(const std::string& numero, const std::string& classificazione,
                      const std::string& massa_bloccata, OpzioniScheda* o) {
  Status s = testo_opzione("train number", numero, kSchedaTreno, &o->treno);
  if (s.ok())
    s = testo_opzione("classification", classificazione, kLarghezzaCasella, &o->classificazione);
  if (s.ok())
    s = testo_opzione("blocked mass", massa_bloccata, kLarghezzaCasella, &o->massa_bloccata);
  return s;
}

DocumentiAutore documenti_autore(const Analisi& a, const std::string& nome,
                                 const std::string& numero, const OpzioniScheda& o) {
  DocumentiAutore esito;
  const DatiDocumenti d = dati_documenti(a, &esito.problemi);
  if (!esito.problemi.empty()) return esito;
  const struct {
    std::string nome_file;
    TabellaRighe righe;
  } tabelle[] = {
      {nome_scheda(nome, numero), scheda_autore(d, o)},
      {nome_rallentamenti(nome, numero), ordini_autore(d, o.treno)},
  };
  for (const auto& t : tabelle) {
    DocumentoAutore doc{t.nome_file, {}};
    // Every character was checked on its way in; a failure here would be a
    // fault of this program, and is reported rather than written.
    if (Status s = CodificaRighe(t.righe, &doc.byte); !s.ok()) {
      Diagnostica guasto = Diagnostica{};
      guasto.ha_riga = false;
      guasto.sorgente = 1;
      guasto.messaggio = "cannot encode '" + t.nome_file + "': " + s.message();
      esito.problemi.push_back(std::move(guasto));
      esito.documenti.clear();
      return esito;
    }
    esito.documenti.push_back(std::move(doc));
  }
  return esito;
}
