#include "tool/lsp/formattazione.h"

#include <algorithm>

#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/lettura/lettore_campi.h"
#include "tool/diagnosi/contesto.h"
#include "tool/lsp/righe.h"
#include "tool/lsp/testo.h"

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

struct Linea {
  size_t inizio = 0, fine = 0;  // without the line end
};

std::vector<Linea> linee(std::string_view t) {
  std::vector<Linea> out;
  for (size_t i = 0;;) {
    const size_t e = fine_linea(t, i);
    out.push_back({i, e});
    if (e == t.size()) break;
    i = linea_dopo(t, i);
    if (i == t.size()) break;
  }
  return out;
}

// One field of a row: the blanks before it and what follows them, up to
// the comma or the line end (its own trailing blanks included: a text
// keeps them).
struct Campo {
  std::string_view blank_prima;
  std::string_view contenuto;
  // The blanks may be rewritten: something other than the line end follows
  // them. Blanks running to the line end are the field itself, and the
  // readers tell an empty last field from none by them.
  bool mobile = false;
};

std::vector<Campo> campi(std::string_view riga) {
  std::vector<Campo> out;
  size_t i = 0;
  for (;;) {
    size_t c = i;
    while (c < riga.size() && blank(riga[c])) ++c;
    size_t v = riga.find(',', c);
    if (v == std::string_view::npos) v = riga.size();
    out.push_back({riga.substr(i, c - i), riga.substr(c, v - c), c < riga.size()});
    if (v == riga.size()) break;
    i = v + 1;
  }
  return out;
}

// The lines no rewriting may touch because a quoted text could span them:
// such a text opens at a quote where a field starts and runs to the next
// quote, or to the end. Every line from the first quote to the last is
// kept, and to the end when the last quote could open a text.
void proteggi_virgolette(std::string_view t, const std::vector<Linea>& ls,
                         std::vector<bool>* ferma) {
  const size_t prima = t.find('"');
  if (prima == std::string_view::npos) return;
  const size_t ultima = t.rfind('"');
  const bool apre = ultima == 0 || blank(t[ultima - 1]) || t[ultima - 1] == ',' ||
                    t[ultima - 1] == '\r' || t[ultima - 1] == '\n';
  for (size_t k = 0; k < ls.size(); ++k) {
    const bool dopo_prima = ls[k].fine >= prima;
    const bool prima_ultima = apre || ls[k].inizio <= ultima;
    if (dopo_prima && prima_ultima) (*ferma)[k] = true;
  }
}

struct RigaDati {
  size_t k = 0;  // index in the lines
  std::vector<Campo> campi;
};

// The length of a field without the blanks it keeps before its comma, when
// it is a number; 0 for anything else.
size_t cifre(std::string_view contenuto) {
  size_t n = contenuto.size();
  while (n > 0 && blank(contenuto[n - 1])) --n;
  return n > 0 && e_numero(contenuto.substr(0, n)) ? n : 0;
}

// Aligns one section: field i of every row starts at one column, a number
// ending where the longest number of its column ends (the blanks it keeps
// before its comma after it), any other field at the column's start.
void allinea_sezione(std::string_view t, const std::vector<Linea>& ls,
                     const std::vector<RigaDati>& righe, std::vector<RigaAllineata>* out) {
  std::vector<size_t> numero, larghezza;
  auto allarga = [](std::vector<size_t>& v, size_t i, size_t n) {
    if (v.size() <= i) v.resize(i + 1, 0);
    v[i] = std::max(v[i], n);
  };
  for (const RigaDati& r : righe)
    for (size_t i = 0; i < r.campi.size(); ++i) allarga(numero, i, cifre(r.campi[i].contenuto));
  // Where a field starts within its column, and so how wide the column is:
  // as wide as its widest field that another field follows.
  auto rientro = [&](size_t i, std::string_view contenuto) {
    const size_t n = cifre(contenuto);
    return n > 0 ? numero[i] - n : 0;
  };
  for (const RigaDati& r : righe)
    for (size_t i = 0; i + 1 < r.campi.size(); ++i)
      allarga(larghezza, i, rientro(i, r.campi[i].contenuto) + r.campi[i].contenuto.size());
  for (const RigaDati& r : righe) {
    std::string s;
    std::vector<RigaAllineata::Blank> blank;
    size_t colonna = 0;  // where field i starts
    for (size_t i = 0; i < r.campi.size(); ++i) {
      const Campo& c = r.campi[i];
      if (i > 0) {
        s += ',';
        colonna += larghezza[i - 1] + 2;
      }
      if (!c.mobile) {
        s += c.blank_prima;
        continue;
      }
      // A field after a comma keeps at least one blank before it.
      const size_t inizio = std::max(colonna + rientro(i, c.contenuto), s.size() + (i > 0 ? 1 : 0));
      const size_t spazi = inizio - s.size();
      if (c.blank_prima.size() != spazi ||
          c.blank_prima.find_first_not_of(' ') != std::string_view::npos) {
        const size_t da = static_cast<size_t>(c.blank_prima.data() - t.data());
        blank.push_back({da, da + c.blank_prima.size(), spazi});
      }
      s.append(spazi, ' ');
      s += c.contenuto;
    }
    const Linea& l = ls[r.k];
    if (!blank.empty()) out->push_back({r.k, l.inizio, l.fine, s, std::move(blank)});
  }
}

}  // namespace

std::vector<RigaAllineata> allinea_colonne(std::string_view t, int sorgente) {
  std::vector<RigaAllineata> out;
  const std::vector<Linea> ls = linee(t);
  std::vector<bool> ferma(ls.size(), false);
  proteggi_virgolette(t, ls, &ferma);

  // Everything up to the first "[generale]" is skipped by the readers: it
  // may be anything.
  size_t k = 0;
  while (k < ls.size() &&
         !contiene_nocase(t.substr(ls[k].inizio, ls[k].fine - ls[k].inizio), kMarcaGenerale))
    ++k;
  std::vector<RigaDati> sezione;
  for (++k; k < ls.size(); ++k) {
    const std::string_view riga = t.substr(ls[k].inizio, ls[k].fine - ls[k].inizio);
    if (e_marca(riga)) {
      allinea_sezione(t, ls, sezione, &out);
      sezione.clear();
      continue;
    }
    if (ferma[k] || e_commento(riga)) continue;
    std::vector<Campo> c = campi(riga);
    std::string_view chiave = c[0].contenuto;
    while (!chiave.empty() && blank(chiave.back())) chiave.remove_suffix(1);
    if (chiave.empty() || formato_riga(chiave, sorgente) == nullptr) continue;
    sezione.push_back({k, std::move(c)});
  }
  allinea_sezione(t, ls, sezione, &out);
  return out;
}

std::string applica(std::string_view testo, const std::vector<RigaAllineata>& righe) {
  std::string out;
  size_t da = 0;
  for (const RigaAllineata& r : righe) {
    out.append(testo.substr(da, r.inizio - da));
    out += r.testo;
    da = r.fine;
  }
  out.append(testo.substr(da));
  return out;
}
