#include "tool/scrittura_atomica.h"

#include <utility>

namespace {

// The renames done so far, to be undone newest first.
class Giornale {
 public:
  explicit Giornale(FileSystem& fs) : fs_(fs) {}

  Status sposta(const std::string& da, const std::string& a) {
    Status s = fs_.Rename(da, a);
    if (s.ok()) fatti_.emplace_back(da, a);
    return s;
  }

  // Puts every renamed file back; returns the first failure of that.
  Status annulla() {
    Status primo;
    for (auto it = fatti_.rbegin(); it != fatti_.rend(); ++it) {
      Status s = fs_.Rename(it->second, it->first);
      if (!s.ok() && primo.ok()) primo = s;
    }
    fatti_.clear();
    return primo;
  }

 private:
  FileSystem& fs_;
  std::vector<std::pair<std::string, std::string>> fatti_;
};

Status con_ripristino(const Status& guasto, const Status& ripristino) {
  if (ripristino.ok()) return guasto;
  return Status::Error(guasto.message() + "; putting the old files back failed too: " +
                       ripristino.message());
}

}  // namespace

void scarta_nuovi(FileSystem& fs, const std::vector<std::string>& finali) {
  for (const std::string& f : finali) {
    const std::string nuovo = f + kSuffissoNuovo;
    if (fs.Exists(nuovo)) (void)fs.Remove(nuovo);
  }
}

Status scrivi_insieme(FileSystem& fs, const std::vector<FileDaScrivere>& file) {
  std::vector<std::string> finali;
  for (const FileDaScrivere& f : file) {
    // Create deletes what it wrote of a file it could not finish.
    if (Status s = fs.Create(f.path + kSuffissoNuovo, f.dati); !s.ok()) {
      scarta_nuovi(fs, finali);
      return s;
    }
    finali.push_back(f.path);
  }
  return sostituisci_con_nuovi(fs, finali);
}

Status sostituisci_con_nuovi(FileSystem& fs, const std::vector<std::string>& finali) {
  Giornale giornale(fs);
  std::vector<std::string> vecchi;
  for (const std::string& f : finali) {
    if (!fs.Exists(f)) continue;
    const std::string vecchio = f + kSuffissoVecchio;
    if (Status s = giornale.sposta(f, vecchio); !s.ok()) {
      Status r = giornale.annulla();
      scarta_nuovi(fs, finali);
      return con_ripristino(s, r);
    }
    vecchi.push_back(vecchio);
  }
  for (const std::string& f : finali) {
    if (Status s = giornale.sposta(f + kSuffissoNuovo, f); !s.ok()) {
      Status r = giornale.annulla();
      scarta_nuovi(fs, finali);
      return con_ripristino(s, r);
    }
  }
  // Every file has its new content; the old ones are no longer needed. A
  // leftover old copy is not worth failing for.
  for (const std::string& v : vecchi) (void)fs.Remove(v);
  return Status::Ok();
}
