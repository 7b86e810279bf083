#ifndef SB_TOOL_ANTEPRIMA_OSSERVATORE_H_
#define SB_TOOL_ANTEPRIMA_OSSERVATORE_H_

// Tells when files change on disk, by their size and modification time, for
// a caller that asks every few milliseconds: cheap enough to poll that often,
// and blind to nothing an editor's save does (written in place, replaced by
// a rename, removed and written again).

#include <cstdint>
#include <string>
#include <vector>

class Osservatore {
 public:
  explicit Osservatore(std::vector<std::string> file);

  // True when any of the files differs from what the last call (or the
  // construction) saw: another size or time, or it appeared or vanished.
  bool cambiato();

 private:
  struct Stato {
    bool c_e = false;
    uintmax_t dimensione = 0;
    int64_t tempo = 0;
    bool operator==(const Stato &) const = default;
  };
  static Stato stato(const std::string &file);

  std::vector<std::string> file_;
  std::vector<Stato> visti_;
};

#endif  // SB_TOOL_ANTEPRIMA_OSSERVATORE_H_
