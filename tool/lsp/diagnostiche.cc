#include "tool/lsp/diagnostiche.h"

using nlohmann::json;

json posizione_json(const Posizione& p) { return {{"line", p.riga}, {"character", p.carattere}}; }

Posizione posizione_da_json(const json& j) {
  Posizione p;
  p.riga = j.at("line").get<int64_t>();
  p.carattere = j.at("character").get<int64_t>();
  return p;
}

json intervallo_di(const TestoSorgente& s, size_t inizio, size_t fine) {
  // TestoSorgente counts lines and byte columns from 1; a byte is a UTF-16
  // unit of the client's text (see testo.h).
  auto pos = [&](size_t o) {
    Posizione p;
    p.riga = static_cast<int64_t>(s.riga(o)) - 1;
    p.carattere = static_cast<int64_t>(s.colonna(o)) - 1;
    return posizione_json(p);
  };
  if (fine < inizio) fine = inizio;
  return {{"start", pos(inizio)}, {"end", pos(fine)}};
}

json diagnostica_lsp(const Diagnostica& d, const TestoSorgente* const sorgenti[2],
                     const std::string* const uri[2]) {
  const TestoSorgente& s = *sorgenti[d.sorgente == 1 ? 1 : 0];
  json j;
  j["range"] = d.ha_riga ? intervallo_di(s, d.inizio, d.fine) : intervallo_di(s, 0, 0);
  j["severity"] = d.gravita == Diagnostica::Gravita::kErrore ? 1 : 2;
  if (d.codice) j["code"] = *d.codice;
  j["source"] = "scenario_tool";
  j["message"] = utf8_da_1252(d.messaggio);
  if (!d.collegate.empty()) {
    json r = json::array();
    for (const Collegata& c : d.collegate) {
      const int k = c.sorgente == 1 ? 1 : 0;
      r.push_back({{"location",
                    {{"uri", *uri[k]}, {"range", intervallo_di(*sorgenti[k], c.inizio, c.fine)}}},
                   {"message", utf8_da_1252(c.messaggio)}});
    }
    j["relatedInformation"] = std::move(r);
  }
  return j;
}
