#include "tool/lsp/struttura.h"

#include <optional>
#include <string>
#include <string_view>

#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/lettura/lettore_campi.h"
#include "tool/diagnosi/contesto.h"
#include "tool/lsp/diagnostiche.h"
#include "tool/lsp/formattazione.h"
#include "tool/lsp/righe.h"
#include "tool/lsp/testo.h"

using nlohmann::json;

namespace {

// LSP symbol kinds.
constexpr int kNamespace = 3, kClasse = 5, kStringa = 15, kNumero = 16, kStruttura = 23,
              kEvento = 24, kOperatore = 25;

// The features the outline names, with the kind of symbol each shows as.
std::optional<int> tipo_simbolo(TipoRiga t) {
  switch (t) {
    case TipoRiga::kStazione:
      return kClasse;
    case TipoRiga::kCartello:
      return kStringa;
    case TipoRiga::kMontagna:
      return kStruttura;
    case TipoRiga::kSegnale:
      return kEvento;
    case TipoRiga::kRallentamento:
      return kOperatore;
    case TipoRiga::kVelocita:
      return kNumero;
    default:
      return std::nullopt;
  }
}

// The kilometres of a source: the pair's last compile knows the line's
// kilometre changes; without one, a kilometre is a thousand metres.
const Tabelle& tabelle_di(const SorgenteAperta& s) {
  static const Tabelle vuote;
  return s.analisi != nullptr ? s.analisi->compilazione->tabelle : vuote;
}

// The start of the line of the first "[generale]": the readers skip all
// before it. npos when there is none.
size_t linea_generale(std::string_view t) {
  for (size_t i = 0; i < t.size(); i = linea_dopo(t, i)) {
    const size_t e = fine_linea(t, i);
    if (contiene_nocase(t.substr(i, e - i), kMarcaGenerale)) return i;
  }
  return std::string_view::npos;
}

// The keyword's row kind of a line, null for markers, comments and free text.
const RigaFormato* formato_linea(std::string_view t, const RigaTesto& r, int sorgente) {
  const std::string_view riga = t.substr(r.inizio, r.fine - r.inizio);
  if (r.campi.empty() || e_marca(riga) || e_commento(riga)) return nullptr;
  const std::string_view chiave = campo_di(t, r, 0);
  return chiave.empty() ? nullptr : formato_riga(chiave, sorgente);
}

// The index in the row of the first field of `f` that `pred` accepts, or 0.
template <typename P>
size_t campo_dove(const RigaFormato& f, P pred) {
  for (size_t i = 0; i < f.campi.size(); ++i)
    if (pred(f.campi[i])) return i + 1;
  return 0;
}

}  // namespace

json simboli(const SorgenteAperta& s) {
  const std::string_view t = s.testo;
  json out = json::array();
  const size_t generale = linea_generale(t);
  if (generale == std::string_view::npos) return out;
  const TestoSorgente testo("", std::string(t));
  const Tabelle& tab = tabelle_di(s);
  json sezione;
  size_t inizio_sezione = generale, fine_sezione = generale;
  auto chiudi = [&] {
    if (sezione.is_null()) return;
    sezione["range"] = intervallo_di(testo, inizio_sezione, fine_sezione);
    out.push_back(std::move(sezione));
    sezione = nullptr;
  };
  for (size_t i = generale; i < t.size(); i = linea_dopo(t, i)) {
    const RigaTesto r = riga_a(t, i);
    const std::string_view riga = t.substr(r.inizio, r.fine - r.inizio);
    if (i == generale || e_marca(riga)) {
      chiudi();
      const size_t a = riga.find_first_not_of(" \t");
      const size_t b = riga.find_last_not_of(" \t") + 1;
      sezione = {{"name", utf8_da_1252(riga.substr(a, b - a))},
                 {"kind", kNamespace},
                 {"selectionRange", intervallo_di(testo, r.inizio + a, r.inizio + b)},
                 {"children", json::array()}};
      inizio_sezione = r.inizio;
      fine_sezione = r.fine;
      continue;
    }
    if (r.fine > r.inizio) fine_sezione = r.fine;
    const RigaFormato* f = formato_linea(t, r, s.sorgente);
    if (f == nullptr) continue;
    const std::optional<int> kind = tipo_simbolo(f->tipo);
    if (!kind) continue;
    // Stations and boards by their text, the rest by the kilometre of their
    // position (a tunnel by both ends).
    std::string nome;
    size_t chi =
        campo_dove(*f, [](const CampoFormato& c) { return c.larghezza == Larghezza::kTesto; });
    if (chi != 0) nome = utf8_da_1252(campo_di(t, r, chi));
    if (nome.empty()) {
      chi = campo_dove(*f, e_posizione);
      const std::string_view p = campo_di(t, r, chi);
      if (chi == 0 || !e_numero(p)) continue;
      nome = "km " + km(tab, valore_numero(p));
      if (f->tipo == TipoRiga::kMontagna && e_numero(campo_di(t, r, chi + 1)))
        nome += " to " + km(tab, valore_numero(campo_di(t, r, chi + 1)));
    }
    const json dove = intervallo_di(testo, r.campi[chi].inizio, r.campi[chi].fine);
    json simbolo = {{"name", nome},
                    {"detail", f->nome},
                    {"kind", *kind},
                    {"range", intervallo_di(testo, r.inizio, r.fine)},
                    {"selectionRange", dove}};
    if (!sezione.is_null()) sezione["children"].push_back(std::move(simbolo));
  }
  chiudi();
  return out;
}

json suggerimenti(const SorgenteAperta& s, const json& intervallo) {
  const std::string_view t = s.testo;
  json out = json::array();
  const size_t generale = linea_generale(t);
  if (generale == std::string_view::npos) return out;
  const size_t da = offset_di(t, posizione_da_json(intervallo.at("start")));
  const size_t a = offset_di(t, posizione_da_json(intervallo.at("end")));
  const TestoSorgente testo("", std::string(t));
  const Tabelle& tab = tabelle_di(s);
  size_t i = inizio_linea(t, da);
  if (i <= generale) i = linea_dopo(t, generale);
  for (; i < t.size() && i <= a; i = linea_dopo(t, i)) {
    const RigaTesto r = riga_a(t, i);
    const RigaFormato* f = formato_linea(t, r, s.sorgente);
    if (f == nullptr) continue;
    for (size_t k = 0; k < f->campi.size() && k + 1 < r.campi.size(); ++k) {
      const CampoTesto& c = r.campi[k + 1];
      const std::string_view v = campo_di(t, r, k + 1);
      if (!e_posizione(f->campi[k]) || !e_numero(v) || c.fine < da || c.fine > a) continue;
      const int64_t p = valore_numero(v);
      json h = {{"position", intervallo_di(testo, c.fine, c.fine)["start"]},
                {"label", "cell " + std::to_string(cella_posizione(f->tipo, p)) + " \u00b7 km " +
                              km(tab, p)},
                {"paddingLeft", true}};
      out.push_back(std::move(h));
    }
  }
  return out;
}

json formattazione(const SorgenteAperta& s) {
  json out = json::array();
  // Only the blanks: the server holds a letter the code page lacks as "?",
  // and an edit of the whole row would write that back.
  for (const RigaAllineata& r : allinea_colonne(s.testo, s.sorgente)) {
    const int64_t riga = static_cast<int64_t>(r.riga);
    for (const RigaAllineata::Blank& b : r.blank) {
      auto a = [&](size_t o) { return posizione_json({riga, static_cast<int64_t>(o - r.inizio)}); };
      out.push_back({{"range", {{"start", a(b.inizio)}, {"end", a(b.fine)}}},
                     {"newText", std::string(b.spazi, ' ')}});
    }
  }
  return out;
}
