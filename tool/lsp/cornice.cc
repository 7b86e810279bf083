#include "tool/lsp/cornice.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace {

// A header line longer than this is cut: no header a client sends comes
// near it, and a line without end must not grow without bound.
constexpr size_t kRigaMassima = 4096;

// The value of a "Content-Length" header anywhere in `riga` (letter case
// ignored), so that the header of a message still comes through after the
// tail of a body shorter than its stated length; none when the line has no
// such header or its value is not a number.
std::optional<size_t> lunghezza(std::string_view riga) {
  constexpr std::string_view kNome = "content-length:";
  size_t trovato = std::string_view::npos;
  for (size_t i = 0; i + kNome.size() <= riga.size(); ++i) {
    size_t k = 0;
    while (k < kNome.size() && std::tolower(static_cast<unsigned char>(riga[i + k])) == kNome[k])
      ++k;
    if (k == kNome.size()) trovato = i;
  }
  if (trovato == std::string_view::npos) return std::nullopt;
  std::string_view v = riga.substr(trovato + kNome.size());
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
  size_t n = 0;
  const auto [fine, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc() || fine != v.data() + v.size() || v.empty()) return std::nullopt;
  return n;
}

}  // namespace

bool LettoreCornici::riga(std::string* out) {
  out->clear();
  std::streambuf* buf = in_.rdbuf();
  for (;;) {
    const int c = buf->sbumpc();
    if (c == std::char_traits<char>::eof()) return !out->empty();
    if (c == '\n') break;
    if (out->size() < kRigaMassima) out->push_back(static_cast<char>(c));
  }
  if (!out->empty() && out->back() == '\r') out->pop_back();
  return true;
}

LettoreCornici::Esito LettoreCornici::leggi(std::string* corpo, std::string* errore) {
  std::optional<size_t> n;
  bool numero_errato = false;
  std::string r;
  // The header block: lines up to an empty one. Lines before any header
  // that are empty (stray line ends between messages) are passed over.
  bool qualcosa = false;
  for (;;) {
    if (!riga(&r)) return Esito::kFine;
    if (r.empty()) {
      if (qualcosa) break;
      continue;
    }
    qualcosa = true;
    if (auto v = lunghezza(r)) {
      n = v;
    } else if (r.find(':') != std::string::npos) {
      std::string minuscola;
      for (char c : r) minuscola += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (minuscola.find("content-length") != std::string::npos) numero_errato = true;
    }
  }
  if (!n) {
    *errore = numero_errato ? "the Content-Length header is not a number"
                            : "a header block without Content-Length";
    return Esito::kMalformato;
  }
  std::streambuf* buf = in_.rdbuf();
  if (*n > massimo_) {
    // Skipped in pieces, never held: the stream is then back at the
    // start of the next message.
    char pezzo[4096];
    size_t resto = *n;
    while (resto > 0) {
      const std::streamsize letti =
          buf->sgetn(pezzo, static_cast<std::streamsize>(std::min(resto, sizeof pezzo)));
      if (letti <= 0) return Esito::kFine;
      resto -= static_cast<size_t>(letti);
    }
    *errore = "a message of " + std::to_string(*n) + " bytes, more than the " +
              std::to_string(massimo_) + " the server takes";
    return Esito::kMalformato;
  }
  // Taken in pieces as they come, so that a length the input never
  // delivers costs no more memory than the bytes that did come.
  corpo->clear();
  char pezzo[65536];
  while (corpo->size() < *n) {
    const size_t voluti = std::min(*n - corpo->size(), sizeof pezzo);
    const std::streamsize letti = buf->sgetn(pezzo, static_cast<std::streamsize>(voluti));
    if (letti <= 0) return Esito::kFine;
    corpo->append(pezzo, static_cast<size_t>(letti));
  }
  return Esito::kMessaggio;
}

bool LettoreCornici::altro_in_attesa() const { return in_.rdbuf()->in_avail() > 0; }

std::string incornicia(std::string_view corpo) {
  std::string out = "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n";
  out += corpo;
  return out;
}
