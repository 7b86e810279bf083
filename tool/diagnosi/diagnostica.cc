#include "tool/diagnosi/diagnostica.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <utility>

#include "sources/windows1252.h"

TestoSorgente::TestoSorgente(std::string nome, std::string testo)
    : nome_(std::move(nome)), testo_(std::move(testo)) {
  inizi_.push_back(0);
  for (size_t i = 0; i < testo_.size(); ++i) {
    if (testo_[i] == '\r' && i + 1 < testo_.size() && testo_[i + 1] == '\n') ++i;
    if (testo_[i] == '\r' || testo_[i] == '\n') {
      if (i + 1 < testo_.size()) inizi_.push_back(i + 1);
    }
  }
}

size_t TestoSorgente::riga(size_t o) const {
  if (o >= testo_.size()) return inizi_.size();
  return static_cast<size_t>(std::upper_bound(inizi_.begin(), inizi_.end(), o) - inizi_.begin());
}

size_t TestoSorgente::fine_riga(size_t n) const {
  size_t fine = n < inizi_.size() ? inizi_[n] : testo_.size();
  // Back over the line end, if the line has one.
  if (fine > inizi_[n - 1] && testo_[fine - 1] == '\n') --fine;
  if (fine > inizi_[n - 1] && testo_[fine - 1] == '\r') --fine;
  return fine;
}

size_t TestoSorgente::colonna(size_t o) const {
  const size_t n = riga(o);
  const size_t inizio = inizi_[n - 1];
  return std::min(o, fine_riga(n)) - inizio + 1;
}

size_t TestoSorgente::colonna_fine(size_t inizio, size_t fine) const {
  const size_t n = riga(inizio);
  const size_t f = std::min(std::max(fine, inizio), fine_riga(n));
  return std::max(f - inizi_[n - 1] + 1, colonna(inizio));
}

std::string_view TestoSorgente::testo_riga(size_t n) const {
  const size_t inizio = inizi_[n - 1];
  return std::string_view(testo_).substr(inizio, fine_riga(n) - inizio);
}

namespace {

// Control bytes would move the terminal's cursor or worse; each is shown as
// one "?" so that the caret below still lines up.
void mostrabile(std::string_view riga, std::string *out) {
  for (const char c : riga) {
    const auto b = static_cast<unsigned char>(c);
    *out += (b < 0x20 && c != '\t') || b == 0x7F ? '?' : c;
  }
}

// The heading line of `d`, newline included, appended to `out`.
void intestazione(const Diagnostica &d, const TestoSorgente &s, std::string *out) {
  *out += s.nome();
  *out += ':';
  if (d.ha_riga) {
    *out += std::to_string(s.riga(d.inizio));
    *out += ':';
    *out += std::to_string(s.colonna(d.inizio));
    *out += ':';
  }
  *out += d.gravita == Diagnostica::Gravita::kErrore ? " error: " : " warning: ";
  *out += d.messaggio;
  if (d.codice) {
    *out += " (code ";
    *out += std::to_string(*d.codice);
    *out += ')';
  }
  *out += '\n';
}

// The row of [inizio, fine) indented by two blanks, a caret line under the
// span and, for each fix on that row, a line with its text under it.
void riga_con_caret(const TestoSorgente &s, size_t inizio, size_t fine,
                    const std::vector<Correzione> &correzioni, std::string *out) {
  const size_t n = s.riga(inizio);
  const std::string_view riga = s.testo_riga(n);
  *out += "  ";
  mostrabile(riga, out);
  *out += '\n';
  const size_t inizio_riga = s.fine_riga(n) - riga.size();
  // The caret line copies the row's tabs so that it lines up however wide
  // the terminal shows them.
  auto rientro = [&](size_t colonna) {
    *out += "  ";
    for (size_t i = 0; i < colonna && i < riga.size(); ++i) *out += riga[i] == '\t' ? '\t' : ' ';
  };
  const size_t colonna = s.colonna(inizio) - 1;
  rientro(colonna);
  *out += '^';
  const size_t fino = std::min(fine, inizio_riga + riga.size());
  if (const size_t i = inizio_riga + colonna + 1; i < fino) out->append(fino - i, '~');
  *out += '\n';
  for (const Correzione &c : correzioni) {
    if (c.testo.empty() || s.riga(c.inizio) != n) continue;
    rientro(s.colonna(c.inizio) - 1);
    mostrabile(c.testo, out);
    *out += '\n';
  }
}

}  // namespace

std::string testo_diagnostiche(const std::vector<Diagnostica> &diagnostiche,
                               const TestoSorgente *const sorgenti[2]) {
  // Written straight into the one string: a check of a long, broken source
  // has thousands of diagnostics.
  std::string out;
  for (const Diagnostica &d : diagnostiche) {
    const TestoSorgente &s = *sorgenti[d.sorgente];
    intestazione(d, s, &out);
    if (d.ha_riga) riga_con_caret(s, d.inizio, d.fine, d.correzioni, &out);
    for (const Collegata &c : d.collegate) {
      const TestoSorgente &cs = *sorgenti[c.sorgente == 1 ? 1 : 0];
      out += cs.nome();
      out += ':';
      out += std::to_string(cs.riga(c.inizio));
      out += ':';
      out += std::to_string(cs.colonna(c.inizio));
      out += ": note: ";
      out += c.messaggio;
      out += '\n';
      riga_con_caret(cs, c.inizio, c.fine, {}, &out);
    }
  }
  return out;
}

std::string utf8_da_1252(std::string_view s) { return DecodeWindows1252ToUtf8(s); }

nlohmann::ordered_json documento_diagnostiche(const std::vector<Diagnostica> &diagnostiche,
                                              const TestoSorgente *const sorgenti[2],
                                              const StatoFinale &stato) {
  using nlohmann::ordered_json;
  // Room made beforehand for every diagnostic and for the ten members of
  // each: the members of an object are kept in order in a vector, and
  // growing it copies their names.
  ordered_json lista = ordered_json::array();
  lista.get_ref<ordered_json::array_t &>().reserve(diagnostiche.size());
  for (const Diagnostica &d : diagnostiche) {
    const TestoSorgente &s = *sorgenti[d.sorgente];
    ordered_json j = ordered_json::object();
    j.get_ref<ordered_json::object_t &>().reserve(10);
    j["severity"] = d.gravita == Diagnostica::Gravita::kErrore ? "error" : "warning";
    j["code"] = d.codice ? ordered_json(*d.codice) : ordered_json(nullptr);
    j["file"] = s.nome();
    j["line"] = d.ha_riga ? ordered_json(s.riga(d.inizio)) : ordered_json(nullptr);
    j["column"] = d.ha_riga ? ordered_json(s.colonna(d.inizio)) : ordered_json(nullptr);
    j["end_column"] =
        d.ha_riga ? ordered_json(s.colonna_fine(d.inizio, d.fine)) : ordered_json(nullptr);
    j["position_m"] = d.posizione_m ? ordered_json(*d.posizione_m) : ordered_json(nullptr);
    j["message"] = utf8_da_1252(d.messaggio);
    ordered_json fixes = ordered_json::array();
    for (const Correzione &c : d.correzioni) {
      ordered_json f = ordered_json::object();
      f["line"] = s.riga(c.inizio);
      f["column"] = s.colonna(c.inizio);
      f["end_column"] = s.colonna_fine(c.inizio, c.fine);
      f["text"] = utf8_da_1252(c.testo);
      fixes.push_back(std::move(f));
    }
    j["fixes"] = std::move(fixes);
    ordered_json related = ordered_json::array();
    for (const Collegata &c : d.collegate) {
      const TestoSorgente &cs = *sorgenti[c.sorgente == 1 ? 1 : 0];
      ordered_json r = ordered_json::object();
      r["file"] = cs.nome();
      r["line"] = cs.riga(c.inizio);
      r["column"] = cs.colonna(c.inizio);
      r["message"] = utf8_da_1252(c.messaggio);
      related.push_back(std::move(r));
    }
    j["related"] = std::move(related);
    lista.push_back(std::move(j));
  }
  ordered_json o;
  o["codice_errore"] = stato.codice_errore;
  o["posizione_errore"] = stato.posizione_errore;
  o["diagnostics"] = std::move(lista);
  return o;
}

std::string testo_json(const nlohmann::ordered_json &documento) {
  // A path that is not UTF-8 must not stop the report.
  return documento.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
