#include "tool/anteprima/osservatore.h"

#include <filesystem>
#include <system_error>

Osservatore::Osservatore(std::vector<std::string> file) : file_(std::move(file)) {
  for (const std::string &f : file_) visti_.push_back(stato(f));
}

Osservatore::Stato Osservatore::stato(const std::string &file) {
  namespace fs = std::filesystem;
  Stato s;
  std::error_code e;
  const fs::path p = fs::u8path(file);
  const uintmax_t dimensione = fs::file_size(p, e);
  if (e) return s;
  const auto tempo = fs::last_write_time(p, e);
  if (e) return s;
  s.c_e = true;
  s.dimensione = dimensione;
  s.tempo = static_cast<int64_t>(tempo.time_since_epoch().count());
  return s;
}

bool Osservatore::cambiato() {
  bool diverso = false;
  for (size_t i = 0; i < file_.size(); ++i) {
    const Stato s = stato(file_[i]);
    if (!(s == visti_[i])) {
      visti_[i] = s;
      diverso = true;
    }
  }
  return diverso;
}
