#include "tool/diagnosi/avvisi.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/lettura/lettore_campi.h"
#include "tool/diagnosi/controlli.h"
#include "tool/diagnosi/distanza.h"

namespace {

// The spellings of the keyword field of the rows of section `s`.
std::vector<std::string> forme_di(Sezione s) {
  std::vector<std::string> v;
  for (const RigaFormato& f : righe_formato())
    if (f.sezione == s) v.insert(v.end(), f.forme.begin(), f.forme.end());
  return v;
}

// The keywords as the built-in sources write them, offered as "did you
// mean" for a keyword a few letters away.
const std::vector<std::string>& parole(Sezione s) {
  static const std::vector<std::string> per_sezione[3] = {
      forme_di(Sezione::kGenerale), forme_di(Sezione::kElementi), forme_di(Sezione::kTreno)};
  return per_sezione[static_cast<size_t>(s)];
}

std::string minuscolo(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool e_marcatore(std::string_view t) {
  if (t.find('[') == std::string_view::npos || t.find(']') == std::string_view::npos) return false;
  const size_t primo = t.find_first_not_of(" \t");
  return primo == std::string_view::npos || t[primo] != '-';
}

bool vuoto(std::string_view t) { return t.find_first_not_of(" \t") == std::string_view::npos; }

std::string_view senza_blank_iniziali(std::string_view t) {
  const size_t primo = t.find_first_not_of(" \t");
  return primo == std::string_view::npos ? std::string_view() : t.substr(primo);
}

std::string parte(Sezione s) {
  switch (s) {
    case Sezione::kGenerale: return "the \"[generale]\" section";
    case Sezione::kElementi: return "the line source after \"[generale]\"";
    case Sezione::kTreno: break;
  }
  return "the train source";
}

class Avvisi {
 public:
  explicit Avvisi(const Contesto& c) : c_(c) {}

  std::vector<Diagnostica> tutti() {
    for (Sorgente s : {Sorgente::kLinea, Sorgente::kTreno}) sorgente(s);
    std::stable_sort(out_.begin(), out_.end(), [](const Diagnostica& a, const Diagnostica& b) {
      return a.sorgente != b.sorgente ? a.sorgente < b.sorgente : a.inizio < b.inizio;
    });
    return std::move(out_);
  }

 private:
  void avviso(Diagnostica d, std::string messaggio) {
    d.gravita = Diagnostica::Gravita::kAvviso;
    d.messaggio = std::move(messaggio);
    out_.push_back(std::move(d));
  }

  size_t riga_di(Sorgente s, size_t offset) const { return c_.sorgente(s).riga(offset); }

  void sorgente(Sorgente s) {
    const auto& campi = c_.campi(s);
    // Which row's handlers read each field (-1: none, the field was read
    // as a keyword, a comment or before the first section).
    std::vector<int64_t> di_riga(campi.size(), -1);
    std::vector<bool> esaminato(campi.size(), false);
    const auto& righe = c_.registro().righe;
    for (size_t r = 0; r < righe.size(); ++r) {
      if (righe[r].sorgente != s) continue;
      if (righe[r].campo < campi.size()) esaminato[righe[r].campo] = true;
      for (size_t i = righe[r].campo + 1; i < righe[r].fine && i < campi.size(); ++i)
        di_riga[i] = static_cast<int64_t>(r);
    }

    if (s == Sorgente::kTreno) senza_generale();
    sezioni(s, di_riga);
    numeri(s, di_riga);
    righe_sconosciute(s);
    righe_spezzate(s);
    ultima_riga(s, di_riga, esaminato);
  }

  // A train source without a "[generale]" marker is read to its end
  // without a row being taken. (The line source records code 102 for this.)
  void senza_generale() {
    for (const RigaLetta& r : c_.registro().righe)
      if (r.sorgente == Sorgente::kTreno) return;
    const auto& campi = c_.campi(Sorgente::kTreno);
    bool qualcosa = false;
    for (size_t i = 0; i < campi.size(); ++i) {
      if (campi[i].fallito) continue;
      const std::string_view t = c_.testo_campo(Sorgente::kTreno, i);
      if (contiene_nocase(t, kMarcaGenerale)) return;
      qualcosa = qualcosa || !vuoto(t);
    }
    if (!qualcosa) return;
    avviso(c_.alla_fine(Sorgente::kTreno),
           "the train source has no \"[generale]\" row: everything up to a field holding "
           "\"[generale]\" is skipped, so nothing of it is read");
  }

  // Section markers met twice, and rows after "[fine]".
  void sezioni(Sorgente s, const std::vector<int64_t>& di_riga) {
    const auto& campi = c_.campi(s);
    std::map<std::string, size_t> visti;
    bool dopo_fine = false, detto = false;
    for (size_t i = 0; i < campi.size(); ++i) {
      if (campi[i].fallito || campi[i].tipo != CampoLetto::Tipo::kTesto) continue;
      if (di_riga[i] >= 0) continue;  // a board text or a station name
      const std::string_view t = c_.testo_campo(s, i);
      if (dopo_fine && !detto && !vuoto(t)) {
        avviso(c_.al_campo(s, i),
               "rows after \"[fine]\" are still read: the reader goes on to the end of the file");
        detto = true;
      }
      if (!e_marcatore(t)) continue;
      const std::string nome = minuscolo(senza_blank_iniziali(t));
      if (auto it = visti.find(nome); it != visti.end()) {
        avviso(c_.al_campo(s, i),
               "section " + q(senza_blank_iniziali(t)) + " occurs a second time (first at line " +
                   std::to_string(riga_di(s, campi[it->second].inizio)) + ")");
      } else {
        visti.emplace(nome, i);
      }
      if (nome.find("[fine]") != std::string::npos) dopo_fine = true;
    }
  }

  // Number fields that are not numbers.
  void numeri(Sorgente s, const std::vector<int64_t>& di_riga) {
    const auto& campi = c_.campi(s);
    for (size_t i = 0; i < campi.size(); ++i) {
      if (campi[i].fallito || campi[i].tipo == CampoLetto::Tipo::kTesto) continue;
      const std::string_view t = c_.testo_campo(s, i);
      if (e_numero(t)) continue;
      const RigaLetta* r = nullptr;
      if (di_riga[i] >= 0) {
        // The documented "AC" of a code-cut row, its value field.
        r = &c_.registro().righe[static_cast<size_t>(di_riga[i])];
        if (c_.tipo(*r) == TipoRiga::kAbbattimento && i == r->campo + 2 && minuscolo(t) == "ac")
          continue;
      }
      out_.push_back(avviso_numero(c_, s, i, r));
    }
  }

  // Rows no keyword claims: one warning for each line that holds some.
  void righe_sconosciute(Sorgente s) {
    const auto& campi = c_.campi(s);
    std::vector<bool> saltato(campi.size(), false);
    const RigaLetta* precedente = nullptr;  // the last row a keyword claimed
    size_t linea_precedente = 0;            // the line its last field stands on
    size_t linea_avvisata = 0;
    for (const RigaLetta& r : c_.registro().righe) {
      if (r.sorgente != s || r.campo >= campi.size()) continue;
      const TipoRiga tipo = c_.tipo(r);
      if (tipo != TipoRiga::kNessuno) {
        // Without a line table a curve row is left alone on purpose, and
        // its two numbers pass by as fields of their own.
        if (tipo == TipoRiga::kCurva && c_.j() == 0)
          for (size_t n = 1; n <= 2 && r.campo + n < saltato.size(); ++n) saltato[r.campo + n] = true;
        precedente = &r;
        size_t ultimo = r.campo;
        for (size_t i = r.campo + 1; i < r.fine && i < campi.size(); ++i)
          if (!campi[i].fallito) ultimo = i;
        linea_precedente = riga_di(s, campi[ultimo].inizio);
        continue;
      }
      if (saltato[r.campo]) continue;
      const std::string_view t = c_.testo_campo(s, r.campo);
      if (vuoto(t) || e_marcatore(t) || contiene(t, "-")) continue;
      const size_t linea = riga_di(s, campi[r.campo].inizio);
      if (linea == linea_avvisata) continue;
      linea_avvisata = linea;
      if (precedente != nullptr && linea == linea_precedente) {
        avviso(c_.al_campo(s, r.campo), "field " + q(t) + " is left over after the " +
                                            Contesto::nome(c_.tipo(*precedente)) +
                                            " row and is ignored");
        continue;
      }
      // A keyword a few letters away is offered as the fix: the whole field
      // becomes that keyword as the built-in sources write it.
      std::string suggerita;
      Diagnostica d = c_.al_campo(s, r.campo);
      std::string frase = sconosciuta(r, t, &suggerita);
      if (!suggerita.empty()) d.correzioni.push_back(Correzione{d.inizio, d.fine, suggerita});
      avviso(std::move(d), std::move(frase));
    }
  }

  // The warning for the unknown keyword field `t`; `*suggerita` gets the
  // keyword it most likely means, or stays empty.
  std::string sconosciuta(const RigaLetta& r, std::string_view t, std::string* suggerita) const {
    // A keyword of the other part of the line source.
    if (r.sezione != Sezione::kTreno) {
      RigaLetta altra = r;
      altra.sezione = r.sezione == Sezione::kGenerale ? Sezione::kElementi : Sezione::kGenerale;
      if (c_.tipo(altra) != TipoRiga::kNessuno)
        return q(t) + " is read only in " + parte(altra.sezione) + "; here the row is ignored";
    }
    std::string frase = q(t) + " is not a keyword of " + parte(r.sezione) + "; the row is ignored";
    const std::string chiave = minuscolo(t);
    const std::string* migliore = nullptr;
    size_t minima = 0;
    const size_t soglia = chiave.size() >= 10 ? 3 : chiave.size() >= 5 ? 2 : 1;
    for (const std::string& p : parole(r.sezione)) {
      // The distance is at least the difference of the lengths.
      if (chiave.size() > p.size() + soglia || p.size() > chiave.size() + soglia) continue;
      const size_t d = distanza(chiave, p, soglia);
      if (migliore == nullptr || d < minima) {
        migliore = &p;
        minima = d;
      }
    }
    if (migliore != nullptr && minima <= soglia) {
      frase += " (did you mean " + q(*migliore) + "?)";
      *suggerita = *migliore;
    }
    return frase;
  }

  // Rows whose handlers took fields from the lines after them.
  void righe_spezzate(Sorgente s) {
    const auto& campi = c_.campi(s);
    for (const RigaLetta& r : c_.registro().righe) {
      if (r.sorgente != s || r.campo >= campi.size()) continue;
      const size_t linea = riga_di(s, campi[r.campo].inizio);
      size_t sulla_riga = 0, letti = 0, altra = 0;
      for (size_t i = r.campo + 1; i < r.fine && i < campi.size(); ++i) {
        if (campi[i].fallito) continue;
        ++letti;
        const size_t l = riga_di(s, campi[i].inizio);
        if (l == linea)
          ++sulla_riga;
        else if (altra == 0)
          altra = l;
      }
      if (altra == 0) continue;
      std::string frase = "the " + Contesto::nome(c_.tipo(r)) + " row ends after " +
                          std::to_string(sulla_riga) + " of its " + std::to_string(letti) +
                          " fields: the reader takes the rest from line " + std::to_string(altra);
      // The row of that line whose keyword it swallowed as a number.
      Diagnostica d = c_.al_campo(s, r.campo);
      for (size_t i = r.campo + 1; i < r.fine && i < campi.size(); ++i) {
        if (campi[i].fallito || riga_di(s, campi[i].inizio) != altra) continue;
        const TipoRiga presa = tipo_di(c_.testo_campo(s, i), r.sezione);
        if (presa == TipoRiga::kNessuno) break;
        const std::string cosa = Contesto::nome(presa);
        std::string chi = "the " + cosa;
        if (i + 1 < campi.size() && riga_di(s, campi[i + 1].inizio) == altra &&
            e_numero(c_.testo_campo(s, i + 1)))
          chi += " at " + std::to_string(valore_numero(c_.testo_campo(s, i + 1))) + " m";
        const bool a_metri = chi.back() == 'm';
        chi += " on line " + std::to_string(altra);
        frase += ", its keyword " + q(c_.testo_campo(s, i)) + " among them, so " + chi +
                 (a_metri ? " is not placed" : " is not read");
        d.collegate.push_back(Collegata{static_cast<int>(s), campi[i].inizio,
                                        campi[i].inizio + c_.testo_campo(s, i).size(),
                                        "the " + cosa + " row whose keyword is swallowed"});
        break;
      }
      avviso(std::move(d), std::move(frase));
    }
  }

  // The very last field of a file is read but never examined.
  void ultima_riga(Sorgente s, const std::vector<int64_t>& di_riga,
                   const std::vector<bool>& esaminato) {
    const auto& campi = c_.campi(s);
    if (campi.empty()) return;
    const size_t i = campi.size() - 1;
    if (campi[i].fallito || campi[i].tipo != CampoLetto::Tipo::kTesto || di_riga[i] >= 0 ||
        esaminato[i])
      return;
    bool righe = false;  // the reader got past "[generale]"
    for (const RigaLetta& r : c_.registro().righe) righe = righe || r.sorgente == s;
    if (!righe) return;
    // Only a row of its own: a last field after others on its line is
    // left over from them.
    if (i > 0 && riga_di(s, campi[i - 1].inizio) == riga_di(s, campi[i].inizio)) return;
    const std::string_view t = c_.testo_campo(s, i);
    if (vuoto(t) || e_marcatore(t) || contiene(t, "-")) return;
    avviso(c_.al_campo(s, i),
           "the last row of the file, " + q(t) + ", is never read: the reader stops at it");
  }

  const Contesto& c_;
  std::vector<Diagnostica> out_;
};

}  // namespace

std::vector<Diagnostica> avvisi(const Contesto& c) { return Avvisi(c).tutti(); }
