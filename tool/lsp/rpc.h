#ifndef SB_TOOL_LSP_RPC_H_
#define SB_TOOL_LSP_RPC_H_

// JSON-RPC 2.0 as the language server speaks it: what one message body is,
// the bodies it sends back, and the table of methods a message is handed
// to. A handler that meets parameters of the wrong shape throws the JSON
// library's exception; the table answers it as invalid parameters.

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace rpc {
inline constexpr int kErroreSintassi = -32700;
inline constexpr int kRichiestaInvalida = -32600;
inline constexpr int kMetodoSconosciuto = -32601;
inline constexpr int kParametriInvalidi = -32602;
inline constexpr int kErroreInterno = -32603;
inline constexpr int kNonInizializzato = -32002;
inline constexpr int kRichiestaAnnullata = -32800;
}  // namespace rpc

struct Messaggio {
  enum class Tipo { kRichiesta, kNotifica, kRisposta };
  Tipo tipo = Tipo::kNotifica;
  nlohmann::json id;  // of a request or a response
  std::string metodo;
  nlohmann::json parametri;  // null when absent
};

// Reads one body. On failure returns false with the error code (syntax or
// invalid request) and a sentence; `*id` is then the message's id when one
// could be read, null otherwise.
bool interpreta(std::string_view corpo, Messaggio* m, int* codice, std::string* perche,
                nlohmann::json* id);

// The bodies sent back: a result, an error, a notification.
std::string corpo_risposta(const nlohmann::json& id, const nlohmann::json& risultato);
std::string corpo_errore(const nlohmann::json& id, int codice, std::string_view messaggio);
std::string corpo_notifica(std::string_view metodo, const nlohmann::json& parametri);

// What a request handler answers: a result, or an error code and message.
struct Esito {
  nlohmann::json risultato;
  int codice = 0;  // 0: `risultato` is the answer
  std::string messaggio;
  static Esito errore(int codice, std::string messaggio) {
    Esito e;
    e.codice = codice;
    e.messaggio = std::move(messaggio);
    return e;
  }
};

class TabellaMetodi {
 public:
  using Richiesta = std::function<Esito(const nlohmann::json& parametri)>;
  using Notifica = std::function<void(const nlohmann::json& parametri)>;

  void richiesta(std::string metodo, Richiesta f) { richieste_[std::move(metodo)] = std::move(f); }
  void notifica(std::string metodo, Notifica f) { notifiche_[std::move(metodo)] = std::move(f); }

  // The answer to request `m` (a body to send); a method nobody handles
  // gets -32601.
  std::string rispondi(const Messaggio& m) const;
  // Hands notification `m` to its handler; one nobody handles, or whose
  // parameters are of the wrong shape, is let go, as the protocol wants.
  void notifica(const Messaggio& m) const;

 private:
  std::map<std::string, Richiesta, std::less<>> richieste_;
  std::map<std::string, Notifica, std::less<>> notifiche_;
};

#endif  // SB_TOOL_LSP_RPC_H_
