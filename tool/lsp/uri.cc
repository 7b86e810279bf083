#include "tool/lsp/uri.h"

#include <cctype>

namespace {
int cifra_esadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool lettera(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
}  // namespace

std::optional<std::string> percorso_da_uri(std::string_view uri) {
  constexpr std::string_view kSchema = "file://";
  if (uri.size() < kSchema.size()) return std::nullopt;
  for (size_t i = 0; i < kSchema.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(uri[i])) != kSchema[i]) return std::nullopt;
  uri.remove_prefix(kSchema.size());
  // "file://host/path": only the local host is ours.
  const size_t barra = uri.find('/');
  if (barra == std::string_view::npos) return std::nullopt;
  const std::string_view host = uri.substr(0, barra);
  if (!host.empty() && host != "localhost") return std::nullopt;
  uri.remove_prefix(barra);
  std::string p;
  for (size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size() && cifra_esadecimale(uri[i + 1]) >= 0 &&
        cifra_esadecimale(uri[i + 2]) >= 0) {
      const char c =
          static_cast<char>(cifra_esadecimale(uri[i + 1]) * 16 + cifra_esadecimale(uri[i + 2]));
      // No file's path holds a NUL; the system would read only what stands
      // before it, another file than the one named.
      if (c == '\0') return std::nullopt;
      p += c;
      i += 2;
    } else if (uri[i] == '?' || uri[i] == '#') {
      break;
    } else {
      p += uri[i];
    }
  }
#ifdef _WIN32
  // "/c:/x" is the drive path "c:/x".
  if (p.size() >= 3 && p[0] == '/' && lettera(p[1]) && p[2] == ':') p.erase(0, 1);
#else
  (void)lettera;
#endif
  return p;
}

std::string uri_da_percorso(std::string_view percorso) {
  std::string p(percorso);
  for (char& c : p)
    if (c == '\\') c = '/';
  if (p.size() >= 2 && lettera(p[0]) && p[1] == ':') p.insert(0, 1, '/');
  static const char kCifre[] = "0123456789ABCDEF";
  std::string out = "file://";
  for (char c : p) {
    const auto b = static_cast<unsigned char>(c);
    if (std::isalnum(b) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      out += c;
    } else {
      out += '%';
      out += kCifre[b >> 4];
      out += kCifre[b & 15];
    }
  }
  return out;
}
