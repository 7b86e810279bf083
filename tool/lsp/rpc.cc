#include "tool/lsp/rpc.h"

#include <exception>

using nlohmann::json;

namespace {
// Texts from the client are passed back as they came; one that is not UTF-8
// must not stop the answer.
std::string testo(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }
}  // namespace

bool interpreta(std::string_view corpo, Messaggio* m, int* codice, std::string* perche, json* id) {
  *id = nullptr;
  json j = json::parse(corpo, nullptr, /*allow_exceptions=*/false);
  if (j.is_discarded()) {
    *codice = rpc::kErroreSintassi;
    *perche = "the message is not JSON";
    return false;
  }
  auto invalida = [&](std::string p) {
    *codice = rpc::kRichiestaInvalida;
    *perche = std::move(p);
    return false;
  };
  if (!j.is_object()) return invalida("the message is not a JSON object");
  if (auto i = j.find("id"); i != j.end()) {
    if (!i->is_number_integer() && !i->is_string() && !i->is_null())
      return invalida("the id is neither a number nor a string");
    *id = *i;
  }
  if (auto v = j.find("jsonrpc"); v == j.end() || *v != "2.0")
    return invalida("\"jsonrpc\" is not \"2.0\"");
  const auto metodo = j.find("method");
  if (metodo == j.end()) {
    if (!j.contains("id") || (!j.contains("result") && !j.contains("error")))
      return invalida("neither a request, a notification nor a response");
    m->tipo = Messaggio::Tipo::kRisposta;
    m->id = *id;
    return true;
  }
  if (!metodo->is_string()) return invalida("the method is not a string");
  m->metodo = metodo->get<std::string>();
  m->tipo = j.contains("id") ? Messaggio::Tipo::kRichiesta : Messaggio::Tipo::kNotifica;
  m->id = *id;
  auto p = j.find("params");
  m->parametri = p == j.end() ? json() : std::move(*p);
  return true;
}

std::string corpo_risposta(const json& id, const json& risultato) {
  json j = {{"jsonrpc", "2.0"}, {"id", id}, {"result", risultato}};
  return testo(j);
}

std::string corpo_errore(const json& id, int codice, std::string_view messaggio) {
  json j = {{"jsonrpc", "2.0"},
            {"id", id},
            {"error", {{"code", codice}, {"message", std::string(messaggio)}}}};
  return testo(j);
}

std::string corpo_notifica(std::string_view metodo, const json& parametri) {
  json j = {{"jsonrpc", "2.0"}, {"method", std::string(metodo)}, {"params", parametri}};
  return testo(j);
}

std::string TabellaMetodi::rispondi(const Messaggio& m) const {
  const auto f = richieste_.find(m.metodo);
  if (f == richieste_.end())
    return corpo_errore(m.id, rpc::kMetodoSconosciuto, "unknown method \"" + m.metodo + "\"");
  Esito e;
  try {
    e = f->second(m.parametri);
  } catch (const json::exception& x) {
    return corpo_errore(m.id, rpc::kParametriInvalidi,
                        "parameters of \"" + m.metodo + "\": " + x.what());
  } catch (const std::exception& x) {
    return corpo_errore(m.id, rpc::kErroreInterno, x.what());
  }
  if (e.codice != 0) return corpo_errore(m.id, e.codice, e.messaggio);
  return corpo_risposta(m.id, e.risultato);
}

void TabellaMetodi::notifica(const Messaggio& m) const {
  const auto f = notifiche_.find(m.metodo);
  if (f == notifiche_.end()) return;
  try {
    f->second(m.parametri);
  } catch (const std::exception&) {
    // A notification has no answer to carry the error.
  }
}
