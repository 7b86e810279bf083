#include "support/guasti_file.h"

#ifdef __linux__

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/fanotify.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace fs = std::filesystem;

RunResult RunWithFileLimit(const fs::path& exe, const std::vector<std::string>& args,
                           const fs::path& cwd, uint64_t limite_byte) {
  RunResult r;
  TempDir uscite;
  const fs::path out = uscite.path() / "stdout", err = uscite.path() / "stderr";
  // Everything the child needs is prepared before the fork: after it, only
  // calls that are safe in a copy of a threaded process are made.
  const std::string exe_s = exe.string(), cwd_s = cwd.string();
  const std::string out_s = out.string(), err_s = err.string();
  std::vector<std::string> argomenti = {exe_s};
  argomenti.insert(argomenti.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argomenti) argv.push_back(a.data());
  argv.push_back(nullptr);
  const rlim_t l = limite_byte == kSenzaLimite ? RLIM_INFINITY : limite_byte;
  const rlimit limite{l, l};
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int o = ::open(out_s.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = ::open(err_s.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(cwd_s.c_str()) != 0)
      ::_exit(126);
    // With the signal ignored, a write beyond the limit fails with EFBIG
    // instead of ending the process.
    ::signal(SIGXFSZ, SIG_IGN);
    if (::setrlimit(RLIMIT_FSIZE, &limite) != 0) ::_exit(126);
    ::execv(exe_s.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    r.exit_status = WEXITSTATUS(status);
  r.out = ReadFileBytes(out);
  r.err = ReadFileBytes(err);
  return r;
}

RunResult RunBuilderWithFileLimit(const fs::path& dir, uint64_t limite_byte) {
  const fs::path exe = dir / fs::path(SB_EXECUTABLE_PATH).filename();
  fs::copy_file(SB_EXECUTABLE_PATH, exe, fs::copy_options::overwrite_existing);
  TempDir elsewhere;
  const RunResult r = RunWithFileLimit(exe, {}, elsewhere.path(), limite_byte);
  fs::remove(exe);
  return r;
}

FileSystemPiccolo::FileSystemPiccolo(uint64_t byte) {
  const std::string opzioni = "size=" + std::to_string(byte) + ",mode=0755";
  if (::mount("tmpfs", dir_.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, opzioni.c_str()) != 0) {
    motivo_ = std::string("mount tmpfs: ") + std::strerror(errno);
    return;
  }
  montato_ = true;
}

FileSystemPiccolo::~FileSystemPiccolo() {
  // A lazy unmount as a last resort, so that no mount outlives the test.
  if (montato_ && ::umount(dir_.path().c_str()) != 0) ::umount2(dir_.path().c_str(), MNT_DETACH);
}

InterventoApertura::InterventoApertura(const fs::path& dir, const std::string& nome, int volta,
                                       Azione azione, uint64_t limite_byte)
    : bersaglio_((fs::canonical(dir) / nome).string()),
      nome_(nome),
      volta_(volta),
      azione_(azione),
      limite_byte_(limite_byte) {
  fan_ = ::fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC | FAN_NONBLOCK,
                         O_RDONLY | O_LARGEFILE | O_CLOEXEC);
  if (fan_ < 0) {
    motivo_ = std::string("fanotify_init: ") + std::strerror(errno);
    return;
  }
  // A mark on the directory with events of its children: only opens inside
  // this directory are held, nothing else on the machine.
  if (::fanotify_mark(fan_, FAN_MARK_ADD, FAN_OPEN_PERM | FAN_EVENT_ON_CHILD, AT_FDCWD,
                      fs::canonical(dir).c_str()) != 0) {
    motivo_ = std::string("fanotify_mark: ") + std::strerror(errno);
    ::close(fan_);
    fan_ = -1;
    return;
  }
  stop_ = ::eventfd(0, EFD_CLOEXEC);
  filo_ = std::thread([this] { ascolta(); });
}

InterventoApertura::~InterventoApertura() {
  if (filo_.joinable()) {
    const uint64_t uno = 1;
    (void)!::write(stop_, &uno, sizeof uno);
    filo_.join();
  }
  // Closing the group lets any open still held go through.
  if (fan_ >= 0) ::close(fan_);
  if (stop_ >= 0) ::close(stop_);
}

void InterventoApertura::ascolta() {
  alignas(fanotify_event_metadata) char buffer[8192];
  for (;;) {
    pollfd attese[2] = {{fan_, POLLIN, 0}, {stop_, POLLIN, 0}};
    if (::poll(attese, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (attese[1].revents != 0) return;
    const ssize_t n = ::read(fan_, buffer, sizeof buffer);
    if (n <= 0) continue;
    ssize_t resto = n;
    for (auto* ev = reinterpret_cast<fanotify_event_metadata*>(buffer); FAN_EVENT_OK(ev, resto);
         ev = FAN_EVENT_NEXT(ev, resto)) {
      if (ev->fd < 0) continue;
      fanotify_response risposta{ev->fd, FAN_ALLOW};
      char link[64], percorso[4096];
      std::snprintf(link, sizeof link, "/proc/self/fd/%d", ev->fd);
      const ssize_t len = ::readlink(link, percorso, sizeof percorso - 1);
      if ((ev->mask & FAN_OPEN_PERM) != 0 && len > 0 &&
          std::string(percorso, static_cast<size_t>(len)) == bersaglio_) {
        const int volta = ++aperture_;
        if (volta == volta_) {
          if (azione_ == Azione::kRifiuta) {
            risposta.response = FAN_DENY;
          } else if (azione_ == Azione::kLimita) {
            // Set while the open is held, so every write to the file meets it.
            const rlimit limite{limite_byte_, limite_byte_};
            (void)::prlimit(ev->pid, RLIMIT_FSIZE, &limite, nullptr);
          } else {
            std::error_code ec;
            fs::rename(bersaglio_, spostato(), ec);
            if (!ec) fs::create_directory(bersaglio_, ec);
          }
          intervenuto_ = true;
        }
      }
      (void)!::write(fan_, &risposta, sizeof risposta);
      ::close(ev->fd);
    }
  }
}

#endif  // __linux__
