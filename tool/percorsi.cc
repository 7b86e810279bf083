#include "tool/percorsi.h"

#include <CLI/CLI.hpp>
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

Status controlla_identita(const std::string& s) {
  if (s.empty()) return Status::Error("it is empty");
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
      return Status::Error("it cannot stand in a file name");
  }
  return Status::Ok();
}

Status deduci_identita(const std::string& linea, const std::string& treno, std::string* nome,
                       std::string* numero) {
  if (nome->empty()) {
    const auto n = nome_da_linea(linea);
    if (!n)
      return Status::Error("cannot tell the scenario name from '" + linea +
                           "' (a line source is named NAME_linea.txt): give it with --name NAME");
    *nome = *n;
  }
  if (numero->empty()) {
    const auto n = numero_da_treno(treno);
    if (!n)
      return Status::Error(
          "cannot tell the train number from '" + treno +
          "' (a train source is named NAME_NUMBER-.txt): give it with --number NUMBER");
    *numero = *n;
  }
  return Status::Ok();
}

Status controlla_ordine(const std::string& comando, const std::string& linea,
                        const std::string& treno) {
  if (nome_da_linea(linea) || !nome_da_linea(treno) || !numero_da_treno(linea)) return Status::Ok();
  return Status::Error("LINE and TRAIN are in the wrong order: '" + treno +
                       "' is the line source and '" + linea +
                       "' the train source; give them as: scenario_tool " + comando + " '" + treno +
                       "' '" + linea + "'");
}

void opzioni_sorgenti(CLI::App* sub, std::string* linea, std::string* treno, std::string* nome,
                      std::string* numero) {
  sub->add_option("LINE", *linea, "The line source (NAME_linea.txt)")->required();
  sub->add_option("TRAIN", *treno, "The train source (NAME_NUMBER-.txt)")->required();
  sub->add_option("--name", *nome,
                  "Scenario name (default: what the line source's file name gives)")
      ->type_name("NAME");
  sub->add_option("--number", *numero,
                  "Train number (default: what the train source's file name gives)")
      ->type_name("NUMBER");
}

void opzione_formato_diagnostiche(CLI::App* sub, std::string* formato) {
  sub->add_option("--diagnostics-format", *formato,
                  "text (on standard error) or json (on standard output)")
      ->check(CLI::IsMember({"text", "json"}))
      ->default_str("text");
}
