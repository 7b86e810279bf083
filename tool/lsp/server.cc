#include "tool/lsp/server.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "tool/diagnosi/nomi_sorgenti.h"
#include "tool/lsp/diagnostiche.h"
#include "tool/lsp/funzioni.h"
#include "tool/lsp/struttura.h"
#include "tool/lsp/testo.h"
#include "tool/lsp/uri.h"

using nlohmann::json;

namespace {

// The folder of a path and a path in it; the server keeps paths as the
// client's URIs give them, with "/" between names.
std::string cartella(const std::string& p) {
  const size_t barra = p.find_last_of("/\\");
  return barra == std::string::npos ? std::string() : p.substr(0, barra);
}
std::string in_cartella(const std::string& dir, const std::string& nome) {
  return dir.empty() ? nome : dir + "/" + nome;
}

std::filesystem::path fs_path(const std::string& utf8) {
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string chiave_id(const json& id) { return id.dump(); }

}  // namespace

ServerLsp::ServerLsp(Invio invia) : invia_(std::move(invia)) { registra_metodi(); }
ServerLsp::~ServerLsp() = default;

// ---------------------------------------------------------------------------
// Queue and lifecycle.

void ServerLsp::accoda(const std::string& corpo) {
  InCoda q;
  json id;
  q.valido = interpreta(corpo, &q.m, &q.codice, &q.perche, &id);
  if (!q.valido) q.m.id = id;
  if (q.valido && q.m.tipo == Messaggio::Tipo::kNotifica && q.m.metodo == "$/cancelRequest" &&
      q.m.parametri.is_object() && q.m.parametri.contains("id")) {
    // Only a request still waiting can be cancelled; one already answered
    // has nothing left to stop.
    const std::string k = chiave_id(q.m.parametri["id"]);
    for (const InCoda& c : coda_)
      if (c.valido && c.m.tipo == Messaggio::Tipo::kRichiesta && chiave_id(c.m.id) == k)
        annullate_.insert(k);
    return;
  }
  coda_.push_back(std::move(q));
}

void ServerLsp::accoda_malformato(std::string perche) {
  InCoda q;
  q.codice = rpc::kErroreSintassi;
  q.perche = std::move(perche);
  coda_.push_back(std::move(q));
}

void ServerLsp::smaltisci() {
  while (!coda_.empty() && !uscito_) {
    InCoda q = std::move(coda_.front());
    coda_.pop_front();
    // A request is answered on what the documents say now.
    if (q.valido && q.m.tipo == Messaggio::Tipo::kRichiesta) pubblica_sporchi();
    gestisci(q);
  }
  if (!uscito_) pubblica_sporchi();
}

void ServerLsp::gestisci(InCoda& q) {
  if (!q.valido) {
    invia_(corpo_errore(q.m.id, q.codice, q.perche));
    return;
  }
  const Messaggio& m = q.m;
  switch (m.tipo) {
    case Messaggio::Tipo::kRisposta:
      return;  // the server asks the client nothing that needs an answer
    case Messaggio::Tipo::kNotifica:
      if (m.metodo == "exit") {
        uscito_ = true;
        return;
      }
      if (!inizializzato_ || spento_) return;
      metodi_.notifica(m);
      return;
    case Messaggio::Tipo::kRichiesta:
      break;
  }
  if (const auto k = annullate_.find(chiave_id(m.id)); k != annullate_.end()) {
    annullate_.erase(k);
    invia_(corpo_errore(m.id, rpc::kRichiestaAnnullata, "cancelled"));
    return;
  }
  if (m.metodo == "initialize") {
    if (inizializzato_) {
      invia_(corpo_errore(m.id, rpc::kRichiestaInvalida, "already initialized"));
      return;
    }
    inizializzato_ = true;
    invia_(corpo_risposta(
        m.id, {{"capabilities", capacita()}, {"serverInfo", {{"name", "scenario_tool lsp"}}}}));
    return;
  }
  if (!inizializzato_) {
    invia_(corpo_errore(m.id, rpc::kNonInizializzato, "the server is not initialized"));
    return;
  }
  if (spento_) {
    invia_(corpo_errore(m.id, rpc::kRichiestaInvalida, "the server is shut down"));
    return;
  }
  if (m.metodo == "shutdown") {
    spento_ = true;
    invia_(corpo_risposta(m.id, nullptr));
    return;
  }
  invia_(metodi_.rispondi(m));
}

json ServerLsp::capacita() const {
  json c;
  c["positionEncoding"] = "utf-16";
  c["textDocumentSync"] = {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}};
  c["hoverProvider"] = true;
  c["completionProvider"] = json::object();
  c["codeActionProvider"] = {{"codeActionKinds", {"quickfix"}}};
  c["documentSymbolProvider"] = true;
  c["inlayHintProvider"] = true;
  c["documentFormattingProvider"] = true;
  return c;
}

void ServerLsp::registra_metodi() {
  metodi_.notifica("initialized", [](const json&) {});
  metodi_.notifica("textDocument/didOpen", [this](const json& p) { apri(p); });
  metodi_.notifica("textDocument/didChange", [this](const json& p) { cambia(p); });
  metodi_.notifica("textDocument/didClose", [this](const json& p) { chiudi(p); });
  metodi_.notifica("textDocument/didSave", [this](const json& p) {
    // The text on disk may now be what the partner of an open source reads.
    if (const Documento* d = documento(p.at("textDocument").at("uri").get<std::string>()))
      sporchi_.insert(d->percorso);
  });
  // The questions about one open source; about one not open, nothing.
  auto domanda = [this](auto f) {
    return [this, f](const json& p) {
      SorgenteAperta s;
      if (!sorgente_aperta(p, &s)) return Esito{};
      Esito e;
      e.risultato = f(s, p);
      return e;
    };
  };
  metodi_.richiesta("textDocument/codeAction", domanda([](const SorgenteAperta& s, const json& p) {
                      return azioni(s, p.at("range"));
                    }));
  metodi_.richiesta("textDocument/hover", domanda([](const SorgenteAperta& s, const json& p) {
                      return hover(s, posizione_da_json(p.at("position")));
                    }));
  metodi_.richiesta("textDocument/completion", domanda([](const SorgenteAperta& s, const json& p) {
                      return completamento(s, posizione_da_json(p.at("position")));
                    }));
  metodi_.richiesta("textDocument/documentSymbol",
                    domanda([](const SorgenteAperta& s, const json&) { return simboli(s); }));
  metodi_.richiesta("textDocument/inlayHint", domanda([](const SorgenteAperta& s, const json& p) {
                      return suggerimenti(s, p.at("range"));
                    }));
  metodi_.richiesta("textDocument/formatting",
                    domanda([](const SorgenteAperta& s, const json&) { return formattazione(s); }));
}

bool ServerLsp::sorgente_aperta(const json& p, SorgenteAperta* s) const {
  const Documento* d = documento(p.at("textDocument").at("uri").get<std::string>());
  if (d == nullptr) return false;
  s->testo = d->testo;
  s->sorgente = nome_da_treno(d->percorso) ? 1 : 0;
  for (const auto& [chiave, c] : coppie_) {
    if (c.uri_linea == d->uri || c.uri_treno == d->uri) {
      s->analisi = c.analisi.get();
      s->uri[0] = &c.uri_linea;
      s->uri[1] = &c.uri_treno;
      s->sorgente = c.uri_treno == d->uri ? 1 : 0;
      break;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------
// Documents.

const ServerLsp::Documento* ServerLsp::documento(std::string_view uri) const {
  const auto d = aperti_.find(uri);
  return d == aperti_.end() ? nullptr : &d->second;
}

void ServerLsp::apri(const json& p) {
  const json& td = p.at("textDocument");
  Documento d;
  d.uri = td.at("uri").get<std::string>();
  d.percorso = percorso_da_uri(d.uri).value_or(std::string());
  d.testo = in_1252(td.at("text").get<std::string>());
  d.versione = td.value("version", int64_t{0});
  if (!d.percorso.empty()) sporchi_.insert(d.percorso);
  aperti_[d.uri] = std::move(d);
}

void ServerLsp::cambia(const json& p) {
  const json& td = p.at("textDocument");
  const auto it = aperti_.find(td.at("uri").get<std::string>());
  if (it == aperti_.end()) return;
  Documento& d = it->second;
  for (const json& c : p.at("contentChanges")) {
    const std::string nuovo = in_1252(c.at("text").get<std::string>());
    if (!c.contains("range")) {
      d.testo = nuovo;
      continue;
    }
    const json& r = c.at("range");
    size_t a = offset_di(d.testo, posizione_da_json(r.at("start")));
    size_t b = offset_di(d.testo, posizione_da_json(r.at("end")));
    if (b < a) std::swap(a, b);
    d.testo.replace(a, b - a, nuovo);
  }
  if (td.contains("version") && td["version"].is_number_integer())
    d.versione = td["version"].get<int64_t>();
  if (!d.percorso.empty()) sporchi_.insert(d.percorso);
}

void ServerLsp::chiudi(const json& p) {
  const auto it = aperti_.find(p.at("textDocument").at("uri").get<std::string>());
  if (it == aperti_.end()) return;
  const std::string percorso = it->second.percorso;
  aperti_.erase(it);
  if (!percorso.empty()) sporchi_.insert(percorso);
}

bool ServerLsp::testo_di(const std::string& percorso, std::string* testo) const {
  for (const auto& [uri, d] : aperti_)
    if (d.percorso == percorso) {
      *testo = d.testo;
      return true;
    }
  // The sources are Windows-1252 on disk: their bytes are what the
  // compiler reads.
  static const std::unique_ptr<FileSystem> fs = MakeRealFileSystem();
  return fs->Exists(percorso) && fs->Read(percorso, testo).ok();
}

std::string ServerLsp::uri_di(const std::string& percorso) const {
  for (const auto& [uri, d] : aperti_)
    if (d.percorso == percorso) return uri;
  return uri_da_percorso(percorso);
}

// ---------------------------------------------------------------------------
// Diagnostics.

void ServerLsp::pubblica_sporchi() {
  std::set<std::string> sporchi;
  sporchi.swap(sporchi_);
  for (const std::string& p : sporchi) aggiorna(p);
}

void ServerLsp::pubblica(const std::string& uri, json diagnostiche) {
  invia_(corpo_notifica("textDocument/publishDiagnostics",
                        {{"uri", uri}, {"diagnostics", std::move(diagnostiche)}}));
}

ServerLsp::Coppia* ServerLsp::compila(const std::string& linea, const std::string& treno,
                                      const std::string& nome, const std::string& numero) {
  std::string testo_linea, testo_treno;
  testo_di(linea, &testo_linea);
  if (!treno.empty()) testo_di(treno, &testo_treno);
  Coppia& c = coppie_[treno.empty() ? linea : treno];
  c.analisi.reset();
  // As `check` compiles, curve rows read and checked, but without the plan
  // of the line, which no diagnostic needs: on a long line building it is
  // most of the work and most of the memory.
  c.analisi = analizza(linea, std::move(testo_linea), treno, std::move(testo_treno), nome,
                       numero.empty() ? std::string("0") : numero, 1, &memoria_, true);
  c.uri_linea = uri_di(linea);
  c.uri_treno = treno.empty() ? std::string() : uri_di(treno);
  return &c;
}

void ServerLsp::aggiorna(const std::string& percorso) {
  const std::string dir = cartella(percorso);
  // Whether anybody still looks at the pair: when neither source is open,
  // their diagnostics are withdrawn.
  auto aperto = [&](const std::string& p) {
    for (const auto& [uri, d] : aperti_)
      if (d.percorso == p) return true;
    return false;
  };
  auto diagnostiche = [](const Coppia& c, int sorgente) {
    const Analisi& a = *c.analisi;
    const std::string* uri[2] = {&c.uri_linea, &c.uri_treno};
    json l = json::array();
    for (const Diagnostica& d : a.diagnostiche)
      if (d.sorgente == sorgente) l.push_back(diagnostica_lsp(d, a.sorgenti, uri));
    return l;
  };

  if (const auto nome = nome_da_linea(percorso)) {
    // The trains beside the line: open ones and files on disk.
    std::set<std::string> treni;
    for (const auto& [uri, d] : aperti_)
      if (cartella(d.percorso) == dir && nome_da_treno(d.percorso) == *nome)
        treni.insert(d.percorso);
    std::error_code ec;
    for (std::filesystem::directory_iterator i(fs_path(dir.empty() ? "." : dir), ec), fine;
         !ec && i != fine; i.increment(ec)) {
      const auto u8 = i->path().filename().u8string();
      const std::string f(u8.begin(), u8.end());
      if (nome_da_treno(f) == *nome && i->is_regular_file(ec)) treni.insert(in_cartella(dir, f));
    }
    const bool vivo = aperto(percorso) || std::any_of(treni.begin(), treni.end(), aperto);
    if (treni.empty()) {
      coppie_.erase(percorso);
      Coppia* c = compila(percorso, "", *nome, "");
      pubblica(c->uri_linea, vivo ? diagnostiche(*c, 0) : json::array());
      return;
    }
    coppie_.erase(percorso);
    bool prima = true;
    for (const std::string& t : treni) {
      Coppia* c = compila(percorso, t, *nome, numero_da_treno(t).value_or(""));
      if (prima) pubblica(c->uri_linea, vivo ? diagnostiche(*c, 0) : json::array());
      prima = false;
      pubblica(c->uri_treno, vivo ? diagnostiche(*c, 1) : json::array());
    }
    return;
  }

  if (const auto nome = nome_da_treno(percorso)) {
    const std::string nome_linea = *nome + "_linea.txt";
    const std::string linea = in_cartella(dir, nome_linea);
    std::string non_usato;
    const bool vivo = aperto(percorso) || aperto(linea);
    if (!testo_di(linea, &non_usato)) {
      coppie_.erase(percorso);
      json d = json::array();
      if (vivo) {
        Posizione zero;
        d.push_back({{"range", {{"start", posizione_json(zero)}, {"end", posizione_json(zero)}}},
                     {"severity", 1},
                     {"source", "scenario_tool"},
                     {"message", "no line source beside this train source: looked for \"" +
                                     nome_linea + "\" in the same folder"}});
      }
      pubblica(uri_di(percorso), std::move(d));
      return;
    }
    Coppia* c = compila(linea, percorso, *nome, numero_da_treno(percorso).value_or(""));
    pubblica(c->uri_linea, vivo ? diagnostiche(*c, 0) : json::array());
    pubblica(c->uri_treno, vivo ? diagnostiche(*c, 1) : json::array());
    return;
  }

  // Not a source of a scenario by its name: nothing to compile it with.
  pubblica(uri_di(percorso), json::array());
}
