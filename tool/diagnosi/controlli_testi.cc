// What the author wrote against what the reader reads in a text: the
// code page of stored texts, the comma that ends a text, the hyphen that
// makes a field a comment, the letters of a curve keyword.
#include <cctype>
#include <string>
#include <string_view>

#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/lettura/lettore_campi.h"
#include "sources/windows1252.h"
#include "tool/diagnosi/controlli.h"

namespace {

std::string m(int64_t v) { return std::to_string(v) + " m"; }

// The length of the UTF-8 sequence starting at t[i] (2 to 4), or 0.
size_t sequenza_utf8(std::string_view t, size_t i) {
  const auto b = static_cast<unsigned char>(t[i]);
  const size_t n = b >= 0xC2 && b <= 0xDF   ? 2
                   : b >= 0xE0 && b <= 0xEF ? 3
                   : b >= 0xF0 && b <= 0xF4 ? 4
                                            : 0;
  if (n == 0 || i + n > t.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(t[i + k]) & 0xC0) != 0x80) return 0;
  return n;
}

// `t` read as UTF-8 and written in Windows-1252, if every character it
// holds has a byte there.
bool in_1252(std::string_view t, std::string* out) {
  out->clear();
  for (size_t i = 0; i < t.size();) {
    const auto b = static_cast<unsigned char>(t[i]);
    if (b < 0x80) {
      *out += t[i++];
      continue;
    }
    const size_t n = sequenza_utf8(t, i);
    if (n == 0 || n == 4) return false;
    char32_t u = n == 2 ? b & 0x1F : b & 0x0F;
    for (size_t k = 1; k < n; ++k) u = (u << 6) | (static_cast<unsigned char>(t[i + k]) & 0x3F);
    const int byte = u > 0xFFFF ? -1 : Windows1252Byte(static_cast<char16_t>(u));
    if (byte < 0) return false;
    *out += static_cast<char>(byte);
    i += n;
  }
  return true;
}

bool non_definito(unsigned char b) {
  return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

class Testi {
 public:
  Testi(const Contesto& c, std::vector<Diagnostica>* out) : c_(c), out_(out) {}

  void tutti() {
    for (const RigaLetta* r : c_.righe_di(TipoRiga::kCartello, 2))
      testo(*r, 2, "the text of the board at " + m(c_.numero(*r, 1).value_or(0)));
    for (const RigaLetta* r : c_.righe_di(TipoRiga::kStazione, 17))
      testo(*r, 17, "the name of the station at " + m(c_.numero(*r, 1).value_or(0)));
    if (c_.j() != 0)
      for (const RigaLetta* r : c_.righe_di(TipoRiga::kCurva, 1)) curva(*r);
  }

 private:
  void testo(const RigaLetta& r, size_t n, const std::string& chi) {
    const CampoLetto& f = *c_.campo_riga(r, n);
    if (f.fallito) return;
    const std::string_view t = c_.testo_campo(r.sorgente, r.campo + n);
    codifica(r, n, t, chi);
    virgola(r, n, f, chi);
  }

  void codifica(const RigaLetta& r, size_t n, std::string_view t, const std::string& chi) {
    bool utf8 = false;
    unsigned char strano = 0;
    for (size_t i = 0; i < t.size(); ++i) {
      const auto b = static_cast<unsigned char>(t[i]);
      if (const size_t k = sequenza_utf8(t, i); k > 0) {
        utf8 = true;
        i += k - 1;
      } else if (non_definito(b)) {
        strano = b;
      }
    }
    if (utf8) {
      Diagnostica d = c_.avviso(
          r, n,
          chi +
              " looks like UTF-8: each accented letter is two or more bytes, and the "
              "compiled files store them one byte a letter in Windows-1252, so they show as "
              "other letters; save the source in Windows-1252");
      std::string giusto;
      if (in_1252(t, &giusto)) d.correzioni.push_back(Correzione{d.inizio, d.fine, giusto});
      out_->push_back(std::move(d));
    } else if (strano != 0) {
      static const char kCifre[] = "0123456789ABCDEF";
      const std::string hex = {kCifre[strano >> 4], kCifre[strano & 15]};
      out_->push_back(c_.avviso(r, n,
                                chi + " holds the byte " + hex +
                                    " (hex), which stands for no letter in Windows-1252, the "
                                    "code page of the compiled files"));
    }
  }

  // A text ends at a comma: the rest of its line is read as fields of
  // their own, and a keyword among them as a row.
  void virgola(const RigaLetta& r, size_t n, const CampoLetto& f, const std::string& chi) {
    const std::string& s = c_.sorgente(r.sorgente).testo();
    if (f.fine >= s.size() || s[f.fine] != ',' || (f.inizio < s.size() && s[f.inizio] == '"'))
      return;
    const TestoSorgente& sorgente = c_.sorgente(r.sorgente);
    size_t fine_riga = sorgente.fine_riga(sorgente.riga(f.inizio));
    while (fine_riga > f.fine && (s[fine_riga - 1] == ' ' || s[fine_riga - 1] == '\t')) --fine_riga;
    if (fine_riga <= f.fine + 1) return;  // nothing after the comma
    const std::string_view tutto = std::string_view(s).substr(f.inizio, fine_riga - f.inizio);
    const std::string_view resto = tutto.substr(f.fine - f.inizio);
    Diagnostica d =
        c_.avviso(r, n,
                  chi + " ends at the comma: " + q(c_.testo_campo(r.sorgente, r.campo + n)) +
                      " is stored, and " + q(resto) +
                      " is read as fields of their own; put the whole text in double "
                      "quotes to keep the comma in it");
    if (tutto.find('"') == std::string_view::npos) {
      std::string tra_virgolette(1, '"');
      tra_virgolette.append(tutto);
      tra_virgolette.push_back('"');
      d.correzioni.push_back(Correzione{f.inizio, fine_riga, std::move(tra_virgolette)});
    }
    d.fine = fine_riga;
    out_->push_back(std::move(d));
  }

  void curva(const RigaLetta& r) {
    const std::string_view k = c_.testo_campo(r.sorgente, r.campo);
    const size_t cifra = k.find_first_of("123456");
    if (cifra == std::string_view::npos) return;  // code 103
    // The digit the reader takes: the first of 1 to 6 that occurs.
    char presa = 0;
    for (char x = '1'; x <= '6' && presa == 0; ++x)
      if (k.find(x) != std::string_view::npos) presa = x;
    std::string minuscolo;
    for (char ch : k) minuscolo += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const std::string_view curva = parole(formato_di(TipoRiga::kCurva))[0];
    const size_t dove_curva = minuscolo.find(curva);
    std::string resto = minuscolo;
    if (dove_curva != std::string::npos) resto.erase(dove_curva, curva.size());
    std::string compatto;
    for (char ch : resto)
      if (ch != ' ' && ch != '\t' && ch != '_') compatto += ch;
    if (compatto.size() == 2 && (compatto[0] == 's' || compatto[0] == 'd') && compatto[1] == presa)
      return;
    const bool sinistra = contiene_nocase(k, "s");
    char voluto = sinistra ? 's' : 'd';
    if (resto.find("destr") != std::string::npos || resto.find("dx") != std::string::npos ||
        resto.find("right") != std::string::npos)
      voluto = 'd';
    else if (resto.find("sinistr") != std::string::npos || resto.find("sx") != std::string::npos ||
             resto.find("left") != std::string::npos)
      voluto = 's';
    else if (!compatto.empty() && (compatto[0] == 's' || compatto[0] == 'd'))
      voluto = compatto[0];
    std::string giusta(curva);
    giusta.push_back(voluto);
    giusta.push_back(presa);
    std::string frase = "the curve keyword " + q(k) + " is read as a curve to the " +
                        (sinistra ? "left" : "right") + " of sharpness " + presa;
    if (sinistra && voluto == 'd')
      frase += ": any \"s\" in the keyword means left, and there is one here";
    else if (!sinistra && compatto.find('d') == std::string::npos)
      frase += ": without an \"s\" a curve turns right";
    if (k.find_first_of("123456", cifra + 1) != std::string_view::npos)
      frase +=
          std::string(": of its digits the reader takes the first of 1 to 6 it finds, ") + presa;
    frase += "; write it as ";
    frase += q(giusta);
    frase += ", a side letter and a digit";
    Diagnostica d = c_.avviso(r, 0, std::move(frase));
    d.correzioni.push_back(Correzione{d.inizio, d.fine, giusta});
    out_->push_back(std::move(d));
  }

  const Contesto& c_;
  std::vector<Diagnostica>* out_;
};

bool lettera(char ch) { return std::isalpha(static_cast<unsigned char>(ch)) != 0; }

}  // namespace

void controlli_testi(const Contesto& c, std::vector<Diagnostica>* out) { Testi(c, out).tutti(); }

void controllo_trattini(const Contesto& c, std::vector<Diagnostica>* out) {
  for (Sorgente s : {Sorgente::kLinea, Sorgente::kTreno}) {
    const auto& campi = c.campi(s);
    // Fields some row's handlers read, or examined as a keyword.
    std::vector<bool> letto(campi.size(), false);
    std::vector<const RigaLetta*> righe;
    for (const RigaLetta& r : c.registro().righe) {
      if (r.sorgente != s) continue;
      righe.push_back(&r);
      for (size_t i = r.campo; i < r.fine && i < campi.size(); ++i) letto[i] = true;
    }
    if (righe.empty()) continue;
    size_t prossima = 0;  // the first row after field i
    const TestoSorgente& sorgente = c.sorgente(s);
    for (size_t i = 0; i < campi.size(); ++i) {
      while (prossima < righe.size() && righe[prossima]->campo < i) ++prossima;
      if (letto[i] || campi[i].fallito || campi[i].tipo != CampoLetto::Tipo::kTesto) continue;
      // Only fields before the last row: the comments in front of
      // "[generale]" are skipped without a row anyway.
      if (i < righe.front()->campo || prossima == righe.size()) continue;
      const std::string_view t = c.testo_campo(s, i);
      // A quoted field may run over line ends; a keyword never does.
      if (t.find_first_of("\r\n") != std::string_view::npos) continue;
      const size_t h = t.find('-');
      if (h == std::string_view::npos || h == 0 || h + 1 >= t.size() || !lettera(t[h - 1]) ||
          !lettera(t[h + 1]) || t.find('-', h + 1) != std::string_view::npos)
        continue;
      const Sezione sezione = righe[prossima]->sezione;
      std::string giusto;
      for (char sostituto : {' ', '_'}) {
        std::string prova(t);
        prova[h] = sostituto;
        if (tipo_di(prova, sezione) != TipoRiga::kNessuno) {
          giusto = prova;
          break;
        }
      }
      if (giusto.empty()) continue;
      const std::string cosa = Contesto::nome(tipo_di(giusto, sezione));
      std::string persa = "the " + cosa + " row is not read";
      const size_t riga = sorgente.riga(campi[i].inizio);
      if (i + 1 < campi.size() && sorgente.riga(campi[i + 1].inizio) == riga &&
          e_numero(c.testo_campo(s, i + 1)))
        persa += ", so the " + cosa + " at " + m(valore_numero(c.testo_campo(s, i + 1))) +
                 " is not placed";
      Diagnostica d = c.al_campo(s, i);
      d.gravita = Diagnostica::Gravita::kAvviso;
      d.messaggio = "the hyphen in " + q(t) +
                    " makes the field a comment, which the reader "
                    "skips: " +
                    persa +
                    ", and the fields after it are read as rows of their "
                    "own (did you mean " +
                    q(giusto) + "?)";
      d.correzioni.push_back(Correzione{d.inizio, d.fine, giusto});
      out->push_back(std::move(d));
    }
  }
}

void controllo_nomi(const Contesto& c, const std::string& nome, std::vector<Diagnostica>* out) {
  const std::string& percorso = c.sorgente(Sorgente::kTreno).nome();
  const size_t barra = percorso.find_last_of("/\\");
  std::string base = barra == std::string::npos ? percorso : percorso.substr(barra + 1);
  if (base.size() < 5) return;
  std::string coda = base.substr(base.size() - 5);
  for (char& ch : coda) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (coda != "-.txt") return;
  base.resize(base.size() - 5);
  const size_t trattino = base.rfind('_');
  if (trattino == std::string::npos || trattino == 0) return;
  const std::string suo = base.substr(0, trattino);
  if (suo == nome) return;
  Diagnostica d = Contesto::senza_riga(Sorgente::kTreno);
  d.gravita = Diagnostica::Gravita::kAvviso;
  d.messaggio = "the train source's file name gives the scenario name " + q(suo) +
                ", but the scenario is compiled as " + q(nome) +
                " (the name the line source's file name or --name gives): did you mean the "
                "same name for both?";
  out->push_back(std::move(d));
}
