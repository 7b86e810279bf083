// A number field that is not a number reads as 0: the warning says what the
// row then compiles, and spots the usual slips (a unit after the number, a
// decimal point, a letter O for a zero).
#include <string>

#include "tool/diagnosi/controlli.h"

namespace {

// The n-th number of a row of kind t, as the author would name it.
std::string nome_campo(TipoRiga t, size_t n) {
  if (n == 1) {
    switch (t) {
      case TipoRiga::kLunghezza:
        return "length";
      case TipoRiga::kVetture:
        return "number of coaches";
      case TipoRiga::kMassaFrenata:
        return "percentage";
      case TipoRiga::kSabbia:
      case TipoRiga::kSfondo:
        return "value";
      case TipoRiga::kOrologio:
        return "hours";
      case TipoRiga::kCurva:
      case TipoRiga::kMontagna:
        return "start";
      default:
        return "position";
    }
  }
  switch (t) {
    case TipoRiga::kPendenza:
      return "gradient";
    case TipoRiga::kCurva:
      return "length";
    case TipoRiga::kMontagna:
      return n == 2 ? "end" : "style";
    case TipoRiga::kVelocita:
      return "speed";
    case TipoRiga::kAderenza:
      return "adhesion value";
    case TipoRiga::kAbbattimento:
      return "code value";
    case TipoRiga::kOrologio:
      return n == 2 ? "minutes" : "seconds";
    case TipoRiga::kProgressiva:
      return n == 2 ? "new progressive" : "flag";
    case TipoRiga::kRipetizione:
      return "second position";
    case TipoRiga::kRallentamento: {
      static const char* const kNomi[] = {"speed", "length", "f_tt", "f_ta", "d_v"};
      return n <= 6 ? kNomi[n - 2] : "value";
    }
    case TipoRiga::kIndicatori: {
      static const char* const kNomi[] = {"vas", "vbs", "vcs", "strisces",
                                          "vad", "vbd", "vcd", "strisced"};
      return n <= 9 ? kNomi[n - 2] : "value";
    }
    case TipoRiga::kSegnale: {
      static const char* const kNomi[] = {"sx", "s1", "s2", "s3", "rapp",
                                          "dx", "d1", "d2", "d3", "tempo"};
      return n <= 11 ? kNomi[n - 2] : "value";
    }
    case TipoRiga::kStazione: {
      static const char* const kNomi[] = {"kind", "stop length", "tps",   "tab",     "mar",
                                          "d2",   "d3",          "rap",   "d1",      "d2",
                                          "d3",   "ac",          "hours", "minutes", "seconds"};
      return n <= 16 ? kNomi[n - 2] : "value";
    }
    default:
      return "value " + std::to_string(n);
  }
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
  const std::string campo = nome_campo(tipo, n);
  if (n == 1)
    frase += ": the " + cosa + " row gets the " + campo + " 0";
  else if (auto p = c.numero(*r, 1); p && nome_campo(tipo, 1) == "position")
    frase += ": the " + cosa + " at " + std::to_string(*p) + " m gets the " + campo + " 0";
  else
    frase += ": the " + cosa + " row gets the " + campo + " 0";

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
