#ifndef SB_TOOL_LSP_SERVER_H_
#define SB_TOOL_LSP_SERVER_H_

// The language server of the scenario sources: the lifecycle of the
// protocol, the documents the client has open, and the diagnostics of
// every pair of sources, compiled together as the builder compiles them.
// It is fed message bodies and sends bodies back through `invia`; the
// framing is the caller's (see ciclo.h).

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>

#include "compiler/tabelle.h"
#include "tool/diagnosi/analisi.h"
#include "tool/lsp/rpc.h"

struct SorgenteAperta;  // tool/lsp/funzioni.h

class ServerLsp {
 public:
  using Invio = std::function<void(const std::string& corpo)>;
  explicit ServerLsp(Invio invia);
  ~ServerLsp();

  // A message body as it came; kept in the queue until smaltisci().
  // A `$/cancelRequest` takes effect at once on the requests queued.
  void accoda(const std::string& corpo);
  // A message that could not be read at all, for a -32700 answer in turn.
  void accoda_malformato(std::string perche);
  // Handles every message queued, in order; the diagnostics of the edited
  // documents are sent once the queue is empty or before a request.
  void smaltisci();

  // After `exit`: the process ends with stato_uscita() (0 when `shutdown`
  // came first).
  bool uscito() const { return uscito_; }
  int stato_uscita() const { return spento_ ? 0 : 1; }

  // One document the client has open.
  struct Documento {
    std::string uri;
    std::string percorso;  // empty for a URI that is not a file
    std::string testo;     // Windows-1252 bytes (see testo.h)
    int64_t versione = 0;
  };
  // The last compile of one pair of sources, for the answers that need
  // what the compile placed (hover, hints); it builds no line table.
  struct Coppia {
    std::string uri_linea, uri_treno;
    std::unique_ptr<Analisi> analisi;
  };

 private:
  struct InCoda {
    Messaggio m;
    bool valido = false;
    int codice = 0;
    std::string perche;
  };
  void gestisci(InCoda& q);
  void registra_metodi();
  nlohmann::json capacita() const;

  // Documents.
  const Documento* documento(std::string_view uri) const;
  void apri(const nlohmann::json& p);
  void cambia(const nlohmann::json& p);
  void chiudi(const nlohmann::json& p);
  // The text of `percorso`: the open buffer's, else the file's on disk;
  // false when neither exists.
  bool testo_di(const std::string& percorso, std::string* testo) const;
  std::string uri_di(const std::string& percorso) const;

  // The source `uri` names, for the questions of funzioni.h; null when it
  // is not open.
  bool sorgente_aperta(const nlohmann::json& parametri, SorgenteAperta* s) const;

  // Diagnostics.
  void pubblica_sporchi();
  void aggiorna(const std::string& percorso);
  Coppia* compila(const std::string& linea, const std::string& treno, const std::string& nome,
                  const std::string& numero);
  void pubblica(const std::string& uri, nlohmann::json diagnostiche);

  Invio invia_;
  TabellaMetodi metodi_;
  std::deque<InCoda> coda_;
  std::set<std::string> annullate_;  // ids (as JSON text) of requests cancelled while queued
  bool inizializzato_ = false, spento_ = false, uscito_ = false;

  std::map<std::string, Documento, std::less<>> aperti_;  // by URI
  std::set<std::string> sporchi_;         // paths whose pair is to be compiled again
  std::map<std::string, Coppia> coppie_;  // by the train source's path
  Tabelle memoria_;                       // memory lent from one compile to the next
};

#endif  // SB_TOOL_LSP_SERVER_H_
