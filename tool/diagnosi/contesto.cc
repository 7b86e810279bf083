#include "tool/diagnosi/contesto.h"

int64_t valore_numero(std::string_view token) {
  size_t i = 0;
  bool negativo = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negativo = token[i++] == '-';
  int64_t v = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9') return 0;
    if (v < (int64_t{1} << 40)) v = v * 10 + (token[i] - '0');
  }
  return negativo ? -v : v;
}

bool e_numero(std::string_view token) {
  size_t i = 0;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
  if (i == token.size()) return false;
  for (; i < token.size(); ++i)
    if (token[i] < '0' || token[i] > '9') return false;
  return true;
}

std::string metri(int64_t m) {
  std::string s = std::to_string(m) + " m";
  if (m % 1000 == 0 && m != 0) s += " (" + std::to_string(m / 1000) + " km)";
  return s;
}

std::string_view Contesto::testo_campo(Sorgente s, size_t i) const {
  const CampoLetto& f = campi(s)[i];
  std::string_view t = std::string_view(sorgente(s).testo()).substr(f.inizio, f.fine - f.inizio);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

const RigaLetta* Contesto::riga(int64_t r) const {
  if (r < 0 || static_cast<size_t>(r) >= registro().righe.size()) return nullptr;
  return &registro().righe[static_cast<size_t>(r)];
}

TipoRiga Contesto::tipo(const RigaLetta& r) const {
  return tipo_di(testo_campo(r.sorgente, r.campo), r.sezione);
}

TipoRiga tipo_di(std::string_view k, Sezione sezione) {
  const RigaFormato* f = riga_riconosciuta(sezione, k);
  return f == nullptr ? TipoRiga::kNessuno : f->tipo;
}

const CampoLetto* Contesto::campo_riga(const RigaLetta& r, size_t n) const {
  const size_t i = r.campo + n;
  if (n == 0 || i >= r.fine || i >= campi(r.sorgente).size()) return nullptr;
  return &campi(r.sorgente)[i];
}

std::optional<int64_t> Contesto::numero(const RigaLetta& r, size_t n) const {
  const CampoLetto* f = campo_riga(r, n);
  if (f == nullptr || f->fallito) return std::nullopt;
  return valore_numero(testo_campo(r.sorgente, r.campo + n));
}

Diagnostica Contesto::al_campo(Sorgente s, size_t i) const {
  Diagnostica d;
  d.sorgente = static_cast<int>(s);
  const CampoLetto& f = campi(s)[i];
  d.inizio = f.inizio;
  d.fine = f.inizio + testo_campo(s, i).size();
  return d;
}

Diagnostica Contesto::alla_riga(const RigaLetta& r, size_t n) const {
  const CampoLetto* f = campo_riga(r, n);
  if (f == nullptr || f->fallito) return al_campo(r.sorgente, r.campo);
  return al_campo(r.sorgente, r.campo + n);
}

Diagnostica Contesto::alla_fine(Sorgente s) const {
  Diagnostica d;
  d.sorgente = static_cast<int>(s);
  d.inizio = d.fine = sorgente(s).testo().size();
  return d;
}

Diagnostica Contesto::avviso(const RigaLetta& r, size_t n, std::string messaggio) const {
  Diagnostica d = alla_riga(r, n);
  d.gravita = Diagnostica::Gravita::kAvviso;
  d.messaggio = std::move(messaggio);
  return d;
}

Collegata Contesto::collegata(const RigaLetta& r, size_t n, std::string messaggio) const {
  const Diagnostica d = alla_riga(r, n);
  return Collegata{d.sorgente, d.inizio, d.fine, std::move(messaggio)};
}

size_t Contesto::linea(const RigaLetta& r) const {
  return sorgente(r.sorgente).riga(campi(r.sorgente)[r.campo].inizio);
}

std::vector<const RigaLetta*> Contesto::righe_di(TipoRiga t, size_t n) const {
  std::vector<const RigaLetta*> out;
  for (const RigaLetta& r : registro().righe)
    if (r.campo < campi(r.sorgente).size() && campo_riga(r, n) != nullptr && tipo(r) == t)
      out.push_back(&r);
  return out;
}

Diagnostica Contesto::senza_riga(Sorgente s) {
  Diagnostica d;
  d.sorgente = static_cast<int>(s);
  d.ha_riga = false;
  return d;
}

std::string Contesto::nome(TipoRiga t) {
  return t == TipoRiga::kNessuno ? "row" : formato_di(t).nome;
}

const RigaLetta* Contesto::riga_della_cella(int64_t k, bool* aggiunta) const {
  const Registro& r = registro();
  if (aggiunta != nullptr) *aggiunta = false;
  if (k < 0 || static_cast<size_t>(k) >= r.celle.size()) return nullptr;
  if (aggiunta != nullptr) *aggiunta = r.aggiunta[static_cast<size_t>(k)];
  return riga(r.celle[static_cast<size_t>(k)]);
}

std::string Contesto::occupante(int64_t k, const RigaLetta** riga_out) const {
  bool aggiunta = false;
  const RigaLetta* r = riga_della_cella(k, &aggiunta);
  if (riga_out != nullptr) *riga_out = r;
  const auto& percorso = tabelle().percorso;
  const uint8_t t = k >= 0 && static_cast<size_t>(k) < percorso.size()
                        ? percorso[static_cast<size_t>(k)].tipo
                        : 0;
  std::string a;
  if (r != nullptr) {
    if (auto p = numero(*r, 1)) a = " at " + std::to_string(*p) + " m";
  }
  const std::string del_rallentamento = "the slow-down" + a;
  switch (t) {
    case tipo_cella::kSegnale:
      return "signal" + a;
    case tipo_cella::kFineRallentamento:
      return "end of " + del_rallentamento;
    case tipo_cella::kInizioRallentamento:
      return "start of " + del_rallentamento;
    case tipo_cella::kAvvisoRallentamento:
      return "warning board of " + del_rallentamento;
    case tipo_cella::kPrimaDellAvviso:
      return "cells before the warning board of " + del_rallentamento;
    case tipo_cella::kIndicatoriVmax:
      return "speed indicator boards" + a;
    case tipo_cella::kFermata:
      return "station" + a;
    case tipo_cella::kCartello:
      return "text board" + a;
    case tipo_cella::kAbbattimento:
    case tipo_cella::kAbbattimentoNullo:
      if (aggiunta) {
        if (r == nullptr) return "code cut the finishing pass added";
        return "code cut the finishing pass added for the " + nome(tipo(*r)) + a;
      }
      return "code cut" + a;
    default:
      return "feature";
  }
}
