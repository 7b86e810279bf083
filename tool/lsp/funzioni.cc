#include "tool/lsp/funzioni.h"

#include <cctype>
#include <cstdio>
#include <optional>

#include "compiler/arrotonda.h"
#include "compiler/lettura/formato_sorgenti.h"
#include "tool/diagnosi/contesto.h"
#include "tool/lsp/diagnostiche.h"
#include "tool/lsp/righe.h"
#include "tool/lsp/testo.h"

using nlohmann::json;

namespace {

// The section a line of the line source lies in: before "[generale]"
// (none), in it, or after its end (the next marker).
std::optional<Sezione> sezione_a(std::string_view t, size_t o, int sorgente) {
  // The first "[generale]" marker and the marker that ends its section.
  size_t generale = std::string_view::npos, fine_generale = std::string_view::npos;
  for (size_t i = 0; i < t.size(); i = linea_dopo(t, i)) {
    const size_t e = fine_linea(t, i);
    const std::string_view riga = t.substr(i, e - i);
    std::string minuscola(riga);
    for (char& c : minuscola) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (generale == std::string_view::npos) {
      if (minuscola.find(kMarcaGenerale) != std::string::npos) generale = e;
    } else if (riga.find('[') != std::string_view::npos &&
               riga.find(']') != std::string_view::npos &&
               riga.find_first_not_of(' ') != std::string_view::npos &&
               riga[riga.find_first_not_of(' ')] != '-') {
      fine_generale = i;
      break;
    }
  }
  if (generale == std::string_view::npos || o < generale) return std::nullopt;
  if (sorgente == 1) return Sezione::kTreno;
  return o < fine_generale ? Sezione::kGenerale : Sezione::kElementi;
}

std::string nome_campo_utf8(const char* s) { return utf8_da_1252(s); }

// "cell 276, km 13.80: signal; limit 70 km/h; gradient +30 ‰; tunnel
// style 2": what the compile placed on the cell of a position.
std::string sulla_cella(const Analisi& a, TipoRiga tipo, int64_t p) {
  const Tabelle& t = a.compilazione->tabelle;
  const int64_t k = cella_posizione(tipo, p);
  std::string s = "cell " + std::to_string(k) + ", km " + km(t, p);
  if (k < 0 || static_cast<size_t>(k) >= t.percorso.size()) return s + ": off the track grid";
  const cella& c = t.percorso[static_cast<size_t>(k)];
  const Contesto ctx(*a.compilazione, a.linea, a.treno, 1);
  std::vector<std::string> parti;
  if (c.tipo != 0 && c.tipo != tipo_cella::kMontagna) parti.push_back(ctx.occupante(k));
  parti.push_back("limit " + std::to_string(5 * int{c.velocita}) + " km/h");
  const int g = static_cast<int>(c.pendenza) - 100;
  parti.push_back("gradient " + std::string(g > 0 ? "+" : "") + std::to_string(g) + " \u2030");
  if (c.montagna != 0) parti.push_back("tunnel style " + std::to_string(c.montagna));
  s += ": ";
  for (size_t i = 0; i < parti.size(); ++i) s += (i ? "; " : "") + parti[i];
  return s;
}

std::string ora(int32_t secondi) {
  char b[32];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", secondi / 3600, secondi / 60 % 60, secondi % 60);
  return b;
}

json markdown(const std::string& testo, const json& intervallo) {
  return {{"contents", {{"kind", "markdown"}, {"value", testo}}}, {"range", intervallo}};
}

}  // namespace

json azioni(const SorgenteAperta& s, const json& intervallo) {
  json out = json::array();
  if (s.analisi == nullptr) return out;
  const Analisi& a = *s.analisi;
  const TestoSorgente& sorgente = *a.sorgenti[s.sorgente];
  const size_t inizio = offset_di(s.testo, posizione_da_json(intervallo.at("start")));
  const size_t fine = offset_di(s.testo, posizione_da_json(intervallo.at("end")));
  for (const Diagnostica& d : a.diagnostiche) {
    if (d.sorgente != s.sorgente || d.correzioni.empty()) continue;
    // The diagnostic's row touches the range asked about.
    const size_t riga_inizio = sorgente.riga(d.inizio), riga_fine = sorgente.riga(d.fine);
    if (riga_fine < sorgente.riga(inizio) || riga_inizio > sorgente.riga(fine)) continue;
    json modifiche = json::array();
    std::string titolo;
    for (const Correzione& c : d.correzioni) {
      modifiche.push_back({{"range", intervallo_di(sorgente, c.inizio, c.fine)},
                           {"newText", utf8_da_1252(c.testo)}});
      if (titolo.empty())
        titolo = c.testo.empty()
                     ? "Delete \"" +
                           utf8_da_1252(sorgente.testo().substr(c.inizio, c.fine - c.inizio)) + "\""
                     : "Write \"" + utf8_da_1252(c.testo) + "\"";
    }
    out.push_back({{"title", titolo},
                   {"kind", "quickfix"},
                   {"isPreferred", true},
                   {"diagnostics", json::array({diagnostica_lsp(d, a.sorgenti, s.uri)})},
                   {"edit", {{"changes", {{*s.uri[s.sorgente], modifiche}}}}}});
  }
  return out;
}

json hover(const SorgenteAperta& s, Posizione p) {
  const size_t o = offset_di(s.testo, p);
  const RigaTesto r = riga_a(s.testo, o);
  if (r.campo < 0 || r.campi.empty()) return nullptr;
  const CampoTesto& ct = r.campi[static_cast<size_t>(r.campo)];
  const std::string_view chiave =
      s.testo.substr(r.campi[0].inizio, r.campi[0].fine - r.campi[0].inizio);
  const RigaFormato* f = formato_riga(chiave, s.sorgente);
  if (f == nullptr) return nullptr;
  const TestoSorgente testo("", std::string(s.testo));
  const json dove = intervallo_di(testo, ct.inizio, ct.fine);
  if (r.campo == 0) {
    std::string m = "**" + utf8_da_1252(chiave) + "**: " + f->nome + " (" +
                    (f->sorgente == Sorgente::kLinea ? "line source" : "train source") + ")\n\n" +
                    f->descrizione + "\n\nFields:";
    for (const CampoFormato& c : f->campi) {
      m += "\n- `" + nome_campo_utf8(c.nome) + "`";
      if (*c.unita) m += std::string(" (") + c.unita + ")";
      m += std::string(": ") + c.significato;
    }
    return markdown(m, dove);
  }
  const size_t n = static_cast<size_t>(r.campo) - 1;
  if (n >= f->campi.size()) return nullptr;
  const CampoFormato& c = f->campi[n];
  std::string m = "**" + nome_campo_utf8(c.nome) + "**";
  if (*c.unita) m += std::string(" (") + c.unita + ")";
  m += std::string(", field ") + std::to_string(n + 1) + " of " + f->nome + ": " + c.significato;
  const std::string_view valore = s.testo.substr(ct.inizio, ct.fine - ct.inizio);
  if (s.analisi != nullptr && s.analisi->compilazione->tabelle.ha_percorso()) {
    const Analisi& a = *s.analisi;
    if (e_posizione(c) && e_numero(valore)) {
      m += "\n\n" + sulla_cella(a, f->tipo, valore_numero(valore));
    } else if (f->tipo == TipoRiga::kStazione && c.larghezza == Larghezza::kTesto) {
      // The station of this name in the station table.
      for (int i = 1; i < 80; ++i) {
        const record_stazione& st = a.compilazione->tabelle.stazioni[static_cast<size_t>(i)];
        if (st.nome.empty() || st.nome != valore) continue;
        m += "\n\nstation " + std::to_string(i) + ": stretch " + std::to_string(st.inizio) +
             " to " + std::to_string(st.fine) + " m, stop cell " +
             std::to_string(dividi_arrotonda(st.fine, 50) - 1) + ", time " + ora(st.orario);
        break;
      }
    }
  }
  return markdown(m, dove);
}

json completamento(const SorgenteAperta& s, Posizione p) {
  const size_t o = offset_di(s.testo, p);
  json voci = json::array();
  const std::optional<Sezione> sezione = sezione_a(s.testo, o, s.sorgente);
  auto snippet_sicuro = [](const std::string& t) {
    std::string out;
    for (char c : t) {
      if (c == '$' || c == '}' || c == '\\') out += '\\';
      out += c;
    }
    return out;
  };
  if (sezione) {
    for (const RigaFormato& f : righe_formato()) {
      if (f.sezione != *sezione) continue;
      const std::string parola = f.forme.empty() ? f.parole[0] : f.forme[0];
      std::string testo = snippet_sicuro(parola);
      int k = 1;
      for (const CampoFormato& c : f.campi)
        testo += ", ${" + std::to_string(k++) + ":" + snippet_sicuro(nome_campo_utf8(c.nome)) + "}";
      voci.push_back({{"label", utf8_da_1252(parola)},
                      {"kind", 14},
                      {"detail", f.nome},
                      {"documentation", f.descrizione},
                      {"insertTextFormat", 2},
                      {"insertText", utf8_da_1252(testo)}});
    }
  }
  // The section markers the built-in sources use; they mean nothing to the
  // readers after "[generale]", but authors write them to find their way.
  static const char* const kMarcheLinea[] = {"[generale]", "[pendenze]",    "[curve]", "[cartelli]",
                                             "[montagne]", "[indicazioni]", "[fine]"};
  static const char* const kMarcheTreno[] = {"[generale]",   "[aderenze]", "[rallentamenti]",
                                             "[vel_limite]", "[stazioni]", "[segnali]",
                                             "[codici]",     "[fine]"};
  auto marche = [&](auto& lista) {
    for (const char* m : lista)
      voci.push_back({{"label", m}, {"kind", 22}, {"detail", "section marker"}});
  };
  if (s.sorgente == 1)
    marche(kMarcheTreno);
  else
    marche(kMarcheLinea);
  return {{"isIncomplete", false}, {"items", voci}};
}
