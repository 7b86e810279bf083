#include "compiler/lettura/lettore_campi.h"

#include <algorithm>
#include <cctype>

void LettoreCampi::consuma_fine_riga() {
  if (testo_[pos_] == '\r') {
    ++pos_;
    if (pos_ < testo_.size() && testo_[pos_] == '\n') ++pos_;
  } else {
    ++pos_;
  }
}

bool LettoreCampi::leggi_testo(std::string* out) {
  if (fine_file()) {
    nota(pos_, pos_, CampoLetto::Tipo::kTesto, true);
    return false;
  }
  out->clear();
  while (!fine_file() && blank(pos_)) ++pos_;
  const size_t campo = pos_;
  if (!fine_file() && testo_[pos_] == '"') {
    size_t chiusa = testo_.find('"', pos_ + 1);
    if (chiusa == std::string_view::npos) chiusa = testo_.size();
    out->assign(testo_.substr(pos_ + 1, chiusa - pos_ - 1));
    pos_ = std::min(chiusa + 1, testo_.size());
    while (!fine_file() && testo_[pos_] != ',' && !fine_riga(pos_)) ++pos_;
  } else {
    size_t inizio = pos_;
    while (!fine_file() && testo_[pos_] != ',' && !fine_riga(pos_)) ++pos_;
    out->assign(testo_.substr(inizio, pos_ - inizio));
  }
  nota(campo, pos_, CampoLetto::Tipo::kTesto, false);
  if (fine_file()) return true;
  if (testo_[pos_] == ',')
    ++pos_;
  else
    consuma_fine_riga();
  return true;
}

bool LettoreCampi::leggi_numero(Larghezza w, int32_t* out) {
  CampoLetto::Tipo tipo = CampoLetto::Tipo::kI32;
  if (w == Larghezza::kU8) tipo = CampoLetto::Tipo::kU8;
  if (w == Larghezza::kI16) tipo = CampoLetto::Tipo::kI16;
  while (!fine_file() && (blank(pos_) || fine_riga(pos_))) ++pos_;
  if (fine_file()) {
    nota(pos_, pos_, tipo, true);
    return false;
  }
  size_t inizio = pos_;
  while (!fine_file() && !blank(pos_) && !fine_riga(pos_) && testo_[pos_] != ',') ++pos_;
  std::string_view token = testo_.substr(inizio, pos_ - inizio);
  const size_t fine_token = pos_;
  while (!fine_file() && blank(pos_)) ++pos_;
  if (!fine_file()) {
    if (testo_[pos_] == ',')
      ++pos_;
    else if (fine_riga(pos_))
      consuma_fine_riga();
  }

  // Optional sign, then digits only; anything else is not a number.
  size_t i = 0;
  bool negativo = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negativo = token[i++] == '-';
  if (i == token.size()) {
    nota(inizio, fine_token, tipo, false);
    *out = 0;
    return true;
  }
  int64_t valore = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9') {
      nota(inizio, fine_token, tipo, false);
      *out = 0;
      return true;
    }
    valore = valore * 10 + (token[i] - '0');
    if (valore > (int64_t{1} << 40)) {  // far beyond every width
      nota(inizio, fine_token, tipo, true);
      return false;
    }
  }
  if (negativo) valore = -valore;
  int64_t minimo = 0, massimo = 0;
  switch (w) {
    case Larghezza::kU8: minimo = 0; massimo = 255; break;
    case Larghezza::kI16: minimo = INT16_MIN; massimo = INT16_MAX; break;
    case Larghezza::kI32: minimo = INT32_MIN; massimo = INT32_MAX; break;
  }
  const bool entra = valore >= minimo && valore <= massimo;
  nota(inizio, fine_token, tipo, !entra);
  if (!entra) return false;
  *out = static_cast<int32_t>(valore);
  return true;
}

namespace {

// The program never leaves the "C" locale, where only the ASCII capitals
// have a lower case; spelled out, the comparison costs no call per byte
// (every row's keyword is tested against every keyword of its section).
inline unsigned char minuscola(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

}  // namespace

bool contiene(std::string_view campo, std::string_view chiave) {
  return campo.find(chiave) != std::string_view::npos;
}

bool contiene_nocase(std::string_view campo, std::string_view chiave) {
  // An empty keyword occurs in any field but an empty one.
  if (chiave.empty()) return !campo.empty();
  if (chiave.size() > campo.size()) return false;
  const unsigned char prima = minuscola(chiave[0]);
  for (size_t i = 0; i + chiave.size() <= campo.size(); ++i) {
    if (minuscola(campo[i]) != prima) continue;
    size_t k = 1;
    while (k < chiave.size() && minuscola(campo[i + k]) == minuscola(chiave[k])) ++k;
    if (k == chiave.size()) return true;
  }
  return false;
}
