#include "tool/percorsi.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

Status controlla_directory(const std::string& dir) {
  std::error_code ec;
  const auto stato =
      std::filesystem::status(std::filesystem::path(std::u8string(
                                  reinterpret_cast<const char8_t*>(dir.data()), dir.size())),
                              ec);
  if (ec) return Status::Error("cannot use directory '" + dir + "': " + ec.message());
  if (!std::filesystem::is_directory(stato))
    return Status::Error("cannot use directory '" + dir + "': Not a directory");
  return Status::Ok();
}

namespace {

std::filesystem::path percorso(const std::string& s) {
  return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(s.data()), s.size()));
}

}  // namespace

Status crea_directory(const std::string& dir, std::string* creata) {
  creata->clear();
  std::error_code ec;
  const std::filesystem::path p = percorso(dir);
  // The outermost missing directory, found before creating any.
  std::filesystem::path mancante;
  for (std::filesystem::path x = p; !x.empty(); x = x.parent_path()) {
    if (std::filesystem::exists(x, ec)) break;
    mancante = x;
    if (x == x.parent_path()) break;
  }
  std::filesystem::create_directories(p, ec);
  if (ec) return Status::Error("cannot create directory '" + dir + "': " + ec.message());
  if (!mancante.empty()) {
    const std::u8string u = mancante.u8string();
    creata->assign(reinterpret_cast<const char*>(u.data()), u.size());
  }
  return controlla_directory(dir);
}

void togli_creata(const std::string& dir, const std::string& creata) {
  if (creata.empty()) return;
  std::error_code ec;
  const std::filesystem::path fine = percorso(creata);
  for (std::filesystem::path x = percorso(dir); !x.empty(); x = x.parent_path()) {
    std::filesystem::remove(x, ec);  // only an empty directory goes
    if (x == fine || x == x.parent_path()) break;
  }
}

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

}  // namespace

std::optional<std::string> nome_da_linea(const std::string& path) {
  const std::string b = base(path);
  constexpr std::string_view kFine = "_linea.txt";
  if (!finisce_con(b, kFine) || b.size() == kFine.size()) return std::nullopt;
  return b.substr(0, b.size() - kFine.size());
}

std::optional<std::string> numero_da_treno(const std::string& path) {
  const std::string b = base(path);
  constexpr std::string_view kFine = "-.txt";
  if (!finisce_con(b, kFine)) return std::nullopt;
  const std::string radice = b.substr(0, b.size() - kFine.size());
  const size_t trattino = radice.rfind('_');
  if (trattino == std::string::npos || trattino + 1 == radice.size()) return std::nullopt;
  return radice.substr(trattino + 1);
}

Status controlla_identita(const std::string& s) {
  if (s.empty()) return Status::Error("it is empty");
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
      return Status::Error("it cannot stand in a file name");
  }
  return Status::Ok();
}
