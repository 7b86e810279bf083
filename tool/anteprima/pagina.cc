#include "tool/anteprima/pagina.h"

#include <initializer_list>
#include <string_view>
#include <utility>

#include "tool/anteprima/pagina_incorporata.h"

namespace {

template <size_t N>
std::string unisci(const std::string_view (&pezzi)[N]) {
  std::string s;
  for (std::string_view p : pezzi) s += p;
  return s;
}

// `modello` with each mark replaced by its text; the marks are looked for
// in the template only, never in what replaces them.
std::string riempi(const std::string &modello,
                   std::initializer_list<std::pair<std::string_view, std::string>> marche) {
  std::string s;
  size_t da = 0;
  for (const auto &[marca, testo] : marche) {
    const size_t i = modello.find(marca, da);
    if (i == std::string::npos) continue;
    s.append(modello, da, i - da);
    s += testo;
    da = i + marca.size();
  }
  s.append(modello, da, std::string::npos);
  return s;
}

}  // namespace

std::string json_in_pagina(const JsonPagina &dati) {
  const std::string testo =
      dati.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  std::string s;
  s.reserve(testo.size() + 64);
  for (size_t i = 0; i < testo.size(); ++i) {
    // "<" only ever stands inside a JSON string, where \u003c reads the same.
    if (testo[i] == '<') {
      s += "\\u003c";
    } else if (testo.compare(i, 3, "\xE2\x80\xA8") == 0 ||
               testo.compare(i, 3, "\xE2\x80\xA9") == 0) {
      s += testo[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      s += testo[i];
    }
  }
  return s;
}

std::string pagina_html(JsonPagina dati, bool vivo) {
  dati["vivo"] = vivo;
  return riempi(unisci(kPaginaHtml), {{"/*STILE*/", unisci(kPaginaCss)},
                                      {"/*DATI*/", json_in_pagina(dati)},
                                      {"/*CODICE*/", unisci(kPaginaJs)}});
}
