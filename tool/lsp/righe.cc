#include "tool/lsp/righe.h"

#include <cstdio>

#include "compiler/arrotonda.h"
#include "tool/lsp/testo.h"

RigaTesto riga_a(std::string_view t, size_t o) {
  RigaTesto r;
  const size_t a = inizio_linea(t, o);
  const size_t b = fine_linea(t, o);
  r.inizio = a;
  r.fine = b;
  size_t i = a;
  while (i <= b) {
    size_t inizio = i;
    while (inizio < b && (t[inizio] == ' ' || t[inizio] == '\t')) ++inizio;
    size_t fine = inizio;
    if (fine < b && t[fine] == '"') {
      ++fine;
      while (fine < b && t[fine] != '"') ++fine;
      if (fine < b) ++fine;
    }
    while (fine < b && t[fine] != ',') ++fine;
    const size_t virgola = fine;
    while (fine > inizio && (t[fine - 1] == ' ' || t[fine - 1] == '\t')) --fine;
    if (o >= i && o <= virgola) r.campo = static_cast<int>(r.campi.size());
    r.campi.push_back({inizio, fine});
    i = virgola + 1;
  }
  return r;
}

std::string_view campo_di(std::string_view t, const RigaTesto& r, size_t i) {
  if (i >= r.campi.size()) return {};
  return t.substr(r.campi[i].inizio, r.campi[i].fine - r.campi[i].inizio);
}

const RigaFormato* formato_riga(std::string_view campo, int sorgente) {
  if (sorgente == 1) return riga_riconosciuta(Sezione::kTreno, campo);
  if (const RigaFormato* r = riga_riconosciuta(Sezione::kGenerale, campo)) return r;
  return riga_riconosciuta(Sezione::kElementi, campo);
}

bool e_posizione(const CampoFormato& c) {
  const std::string_view n = c.nome, s = c.significato;
  return std::string_view(c.unita) == "m" && n.find("length") == std::string_view::npos &&
         n.find("lung") == std::string_view::npos &&
         n.find("new value") == std::string_view::npos &&
         s.find("length") == std::string_view::npos;
}

int64_t cella_posizione(TipoRiga tipo, int64_t p) {
  const bool puntuale = tipo == TipoRiga::kSegnale || tipo == TipoRiga::kIndicatori ||
                        tipo == TipoRiga::kRallentamento || tipo == TipoRiga::kCartello;
  return cella_di(p, puntuale ? 1 : 0);
}

std::string km(const Tabelle& t, int64_t p) {
  // The three kilometre-change entries hold the changes, ordered by the compile,
  // their flag already applied.
  int64_t base = 0, valore = 0;
  for (int e = kVoceProgressivaTre; e <= kVoceProgressivaUno; ++e) {
    const record_stazione& r = t.stazioni[static_cast<size_t>(e)];
    if ((r.inizio != 0 || r.fine != 0) && r.inizio <= p && r.inizio >= base) {
      base = r.inizio;
      valore = r.fine;
    }
  }
  const int64_t m = valore + (p - base);
  char b[48];
  std::snprintf(b, sizeof b, "%s%lld.%03lld", m < 0 ? "-" : "",
                static_cast<long long>((m < 0 ? -m : m) / 1000),
                static_cast<long long>((m < 0 ? -m : m) % 1000));
  std::string s = b;
  if (s.back() == '0') s.pop_back();
  return s;
}

namespace {

size_t primo_non_blank(std::string_view riga) { return riga.find_first_not_of(" \t"); }

}  // namespace

bool e_marca(std::string_view riga) {
  const size_t i = primo_non_blank(riga);
  return i != std::string_view::npos && riga[i] != '-' &&
         riga.find('[') != std::string_view::npos && riga.find(']') != std::string_view::npos;
}

bool e_commento(std::string_view riga) {
  const size_t i = primo_non_blank(riga);
  return i != std::string_view::npos && riga[i] == '-';
}
