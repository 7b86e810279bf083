#include "support/trascrizione_lsp.h"

#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

using nlohmann::json;

namespace {

std::vector<json> righe(const std::string& t) {
  std::vector<json> out;
  std::istringstream in(t);
  std::string r;
  while (std::getline(in, r))
    if (!r.empty()) out.push_back(json::parse(r));
  return out;
}

void sostituisci(json& j, const std::string& linea, const std::string& treno) {
  if (j.is_string()) {
    if (j == "@LINEA@") j = linea;
    if (j == "@TRENO@") j = treno;
  } else if (j.is_structured()) {
    for (json& e : j) sostituisci(e, linea, treno);
  }
}

bool combacia(const json& atteso, const json& dato) {
  // {"$all": X}, {"$some": X}, {"$none": X}: an array whose elements all,
  // some, none match X.
  if (atteso.is_object() && !atteso.empty() && atteso.begin().key()[0] == '$') {
    if (!dato.is_array()) return false;
    for (const auto& [k, x] : atteso.items()) {
      size_t n = 0;
      for (const json& e : dato) n += combacia(x, e) ? 1 : 0;
      if ((k == "$all" && n != dato.size()) || (k == "$some" && n == 0) || (k == "$none" && n != 0))
        return false;
    }
    return true;
  }
  if (atteso.is_object()) {
    if (!dato.is_object()) return false;
    for (const auto& [k, v] : atteso.items())
      if (!dato.contains(k) || !combacia(v, dato[k])) return false;
    return true;
  }
  if (atteso.is_array()) {
    if (!dato.is_array() || dato.size() != atteso.size()) return false;
    for (size_t i = 0; i < atteso.size(); ++i)
      if (!combacia(atteso[i], dato[i])) return false;
    return true;
  }
  if (atteso.is_string() && atteso.get<std::string>().rfind('~', 0) == 0)
    return dato.is_string() &&
           dato.get<std::string>().find(atteso.get<std::string>().substr(1)) != std::string::npos;
  return atteso == dato;
}

std::string cornice(const std::string& corpo) {
  return "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + corpo;
}

}  // namespace

std::string ingresso_trascrizione(const std::string& trascrizione, const std::string& linea,
                                  const std::string& treno) {
  std::string out;
  for (json& r : righe(trascrizione)) {
    if (r.contains("send")) {
      sostituisci(r["send"], linea, treno);
      out += cornice(r["send"].dump());
    } else if (r.contains("send_raw")) {
      out += cornice(r["send_raw"].get<std::string>());
    }
  }
  return out;
}

bool verifica_trascrizione(const std::string& trascrizione, const std::string& uscita, int stato,
                           std::string* errore) {
  // The server's messages, unframed.
  std::vector<json> dati;
  for (size_t i = 0; i < uscita.size();) {
    const size_t fine = uscita.find("\r\n\r\n", i);
    const size_t k = uscita.find("Content-Length: ", i);
    if (fine == std::string::npos || k == std::string::npos) break;
    const size_t n = std::stoul(uscita.substr(k + 16, fine - k - 16));
    dati.push_back(json::parse(uscita.substr(fine + 4, n), nullptr, false));
    i = fine + 4 + n;
  }
  size_t prossimo = 0;
  for (const json& r : righe(trascrizione)) {
    if (r.contains("expect")) {
      while (prossimo < dati.size() && !combacia(r["expect"], dati[prossimo])) ++prossimo;
      if (prossimo == dati.size()) {
        *errore = "no message matches " + r["expect"].dump() + "\nthe server sent:\n";
        for (const json& d : dati) *errore += d.dump() + "\n";
        return false;
      }
      ++prossimo;
    } else if (r.contains("exit_status") && r["exit_status"] != stato) {
      *errore = "exit status " + std::to_string(stato) + ", expected " + r["exit_status"].dump();
      return false;
    }
  }
  return true;
}
