#ifndef SB_TESTS_SUPPORT_GUASTI_FILE_H_
#define SB_TESTS_SUPPORT_GUASTI_FILE_H_

// Real file failures for the built program, on Linux. Root passes every
// permission test, so a failure is made in other ways the kernel itself
// enforces: a directory where a file should be, a limit on the size of the
// files a process may write, and a watcher that steps in at the very moment
// the program opens a file.
#ifdef __linux__

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

// Runs the program `exe` with `args` and `cwd` as its current directory,
// with every file it writes limited to `limite_byte` bytes: a write beyond
// the limit fails with "File too large" (the signal that would end the
// process is ignored). With kSenzaLimite only the signal is ignored, for a
// limit set later by an InterventoApertura.
constexpr uint64_t kSenzaLimite = UINT64_MAX;
RunResult RunWithFileLimit(const std::filesystem::path& exe, const std::vector<std::string>& args,
                           const std::filesystem::path& cwd, uint64_t limite_byte);

// Runs the built scenario_builder as RunBuilderIn does, under RunWithFileLimit.
RunResult RunBuilderWithFileLimit(const std::filesystem::path& dir, uint64_t limite_byte);

// An empty tmpfs of `byte` bytes mounted on a fresh directory for as long as
// the object lives, so that a run can fill it: "No space left on device".
// Needs root (CAP_SYS_ADMIN); `disponibile()` says whether the mount worked.
class FileSystemPiccolo {
 public:
  explicit FileSystemPiccolo(uint64_t byte);
  ~FileSystemPiccolo();
  FileSystemPiccolo(const FileSystemPiccolo&) = delete;
  FileSystemPiccolo& operator=(const FileSystemPiccolo&) = delete;

  bool disponibile() const { return montato_; }
  const std::string& motivo() const { return motivo_; }
  const std::filesystem::path& path() const { return dir_.path(); }

 private:
  TempDir dir_;
  bool montato_ = false;
  std::string motivo_;
};

// Watches the opens of one file of a directory through fanotify permission
// events, which hold the opening process until the watcher answers, and
// steps in at the `volta`-th open of that file (counting from 1):
//   kRifiuta:  that open fails with "Operation not permitted";
//   kSostituisci: the open goes through, but the file is first moved out of
//     the directory and a directory takes its place, so that the process
//     reads (or writes) the file it opened while every later operation on
//     the path (a delete, another open) meets the directory;
//   kLimita: from that open on, the opening process may write files only up
//     to `limite_byte` bytes (see RunBuilderWithFileLimit), so that a file
//     smaller than those before it can be cut short.
// Every other open passes at once. Needs the fanotify permission events
// (CAP_SYS_ADMIN); `disponibile()` says whether they could be set up.
class InterventoApertura {
 public:
  enum class Azione { kRifiuta, kSostituisci, kLimita };

  InterventoApertura(const std::filesystem::path& dir, const std::string& nome, int volta,
                     Azione azione, uint64_t limite_byte = kSenzaLimite);
  ~InterventoApertura();
  InterventoApertura(const InterventoApertura&) = delete;
  InterventoApertura& operator=(const InterventoApertura&) = delete;

  bool disponibile() const { return fan_ >= 0; }
  // Why the watch could not be set up.
  const std::string& motivo() const { return motivo_; }
  // Opens of the file seen so far, and whether the chosen one was acted on.
  int aperture() const { return aperture_.load(); }
  bool intervenuto() const { return intervenuto_.load(); }
  // Where a replaced file was moved to.
  std::filesystem::path spostato() const { return parcheggio_.path() / nome_; }

 private:
  void ascolta();

  std::string bersaglio_;  // full path of the watched file
  std::string nome_;
  int volta_;
  Azione azione_;
  uint64_t limite_byte_;
  TempDir parcheggio_;
  int fan_ = -1;
  int stop_ = -1;  // eventfd that ends the watcher
  std::string motivo_;
  std::atomic<int> aperture_{0};
  std::atomic<bool> intervenuto_{false};
  std::thread filo_;
};

#endif  // __linux__
#endif  // SB_TESTS_SUPPORT_GUASTI_FILE_H_
