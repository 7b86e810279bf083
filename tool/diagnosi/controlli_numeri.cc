// A number field that is not a number reads as 0: the warning says what the
// row then compiles, and spots the usual slips (a unit after the number, a
// decimal point, a letter O for a zero).
#include <string>

#include "compiler/lettura/formato_sorgenti.h"
#include "tool/diagnosi/controlli.h"

namespace {

// The n-th field of a row of kind t, as the format table names it.
const CampoFormato* campo_di(TipoRiga t, size_t n) {
  if (t == TipoRiga::kNessuno || n == 0) return nullptr;
  const auto campi = formato_di(t).campi;
  return n <= campi.size() ? &campi[n - 1] : nullptr;
}

bool solo_lettere(std::string_view t) {
  if (t.empty()) return false;
  for (char ch : t)
    if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '/')) return false;
  return true;
}

}  // namespace

Diagnostica avviso_numero(const Contesto& c, Sorgente s, size_t i, const RigaLetta* r) {
  const std::string_view t = c.testo_campo(s, i);
  Diagnostica d = c.al_campo(s, i);
  d.gravita = Diagnostica::Gravita::kAvviso;
  std::string frase = t.empty() ? "an empty field where a number belongs reads as 0"
                                : q(t) +
                                      " is not a number "
                                      "and reads as 0";
  if (r == nullptr) {
    d.messaggio = std::move(frase);
    return d;
  }
  const size_t n = i - r->campo;
  const TipoRiga tipo = c.tipo(*r);
  const std::string cosa = Contesto::nome(tipo);
  const CampoFormato* campo = campo_di(tipo, n);
  const std::string nome = campo != nullptr ? campo->nome : "value " + std::to_string(n);
  // A row placed at a position is named by it, unless that is the field.
  const CampoFormato* primo = campo_di(tipo, 1);
  const auto p = c.numero(*r, 1);
  if (n > 1 && p && primo != nullptr && std::string_view(primo->unita) == "m")
    frase += ": the " + cosa + " at " + std::to_string(*p) + " m gets 0 for its " + nome;
  else
    frase += ": the " + cosa + " row gets 0 for its " + nome;

  // A unit written after the number before it: "6000 m" reads 6000, then
  // "m" in the place of the next number.
  const std::string& testo = c.sorgente(s).testo();
  const CampoLetto& f = c.campi(s)[i];
  if (n >= 2 && solo_lettere(t)) {
    const CampoLetto& prima = c.campi(s)[i - 1];
    const std::string_view tra = std::string_view(testo).substr(prima.fine, f.inizio - prima.fine);
    if (prima.tipo != CampoLetto::Tipo::kTesto && !tra.empty() &&
        tra.find_first_not_of(" \t") == std::string_view::npos &&
        e_numero(c.testo_campo(s, i - 1))) {
      frase +=
          " (a unit after a number is read as the next field; numbers are written without "
          "units)";
      d.correzioni.push_back(Correzione{prima.fine, f.inizio + t.size(), ""});
    }
  }
  // A letter O written for a zero.
  std::string con_zeri(t);
  bool lettera_o = false;
  for (char& ch : con_zeri)
    if (ch == 'O' || ch == 'o') {
      ch = '0';
      lettera_o = true;
    }
  if (lettera_o && e_numero(con_zeri)) {
    frase += " (a letter O for a zero? did you mean " + q(con_zeri) + "?)";
    d.correzioni.push_back(Correzione{d.inizio, d.fine, con_zeri});
  } else if (const size_t punto = t.find_first_of(".,");
             punto != std::string_view::npos && e_numero(t.substr(0, punto))) {
    frase += " (numbers are whole: the reader takes no decimal point)";
  }
  d.messaggio = std::move(frase);
  return d;
}
