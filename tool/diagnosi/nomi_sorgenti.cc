#include "tool/diagnosi/nomi_sorgenti.h"

#include <string_view>

namespace {

std::string base(const std::string& path) {
  const size_t barra = path.find_last_of("/\\");
  return barra == std::string::npos ? path : path.substr(barra + 1);
}

bool finisce_con(const std::string& s, std::string_view fine) {
  if (s.size() < fine.size()) return false;
  for (size_t i = 0; i < fine.size(); ++i) {
    const char a = s[s.size() - fine.size() + i];
    const char b = fine[i];
    if (a != b && !(a >= 'A' && a <= 'Z' && a - 'A' + 'a' == b)) return false;
  }
  return true;
}

// "X_N-.txt" split at its last underscore: X and N.
std::optional<std::pair<std::string, std::string>> parti_treno(const std::string& path) {
  const std::string b = base(path);
  constexpr std::string_view kFine = "-.txt";
  if (!finisce_con(b, kFine)) return std::nullopt;
  const std::string radice = b.substr(0, b.size() - kFine.size());
  const size_t trattino = radice.rfind('_');
  if (trattino == std::string::npos || trattino + 1 == radice.size()) return std::nullopt;
  return std::pair{radice.substr(0, trattino), radice.substr(trattino + 1)};
}

}  // namespace

std::optional<std::string> nome_da_linea(const std::string& path) {
  const std::string b = base(path);
  constexpr std::string_view kFine = "_linea.txt";
  if (!finisce_con(b, kFine) || b.size() == kFine.size()) return std::nullopt;
  return b.substr(0, b.size() - kFine.size());
}

std::optional<std::string> numero_da_treno(const std::string& path) {
  auto p = parti_treno(path);
  if (!p) return std::nullopt;
  return p->second;
}

std::optional<std::string> nome_da_treno(const std::string& path) {
  auto p = parti_treno(path);
  if (!p) return std::nullopt;
  return p->first;
}
