// The POSIX file system: plain open/read/write/unlink, each file handled in
// as few system calls as its size allows.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_system.h"

namespace {

Status Failure(const char* what, const std::string& path, int err) {
  return Status::Error(std::string("cannot ") + what + " '" + path + "': " + std::strerror(err));
}

// Ends a write that failed with `err` while `fd` (or -1 when already closed)
// was open on `path`: closes the file and deletes what of it was written.
// A file already gone is what the delete is for, so ENOENT is no failure.
Status DiscardIncomplete(int fd, const std::string& path, const char* what, int err) {
  if (fd >= 0) ::close(fd);
  const Status failure = Failure(what, path, err);
  if (::unlink(path.c_str()) != 0 && errno != ENOENT)
    return WriteFailure(failure, std::strerror(errno));
  return WriteFailure(failure);
}

class RealFileSystem : public FileSystem {
 public:
  bool Exists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  }

  Status Touch(const std::string& path) override {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0666);
    if (fd < 0) return Failure("open", path, errno);
    if (::close(fd) != 0) return Failure("close", path, errno);
    return Status::Ok();
  }

  Status Remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0) return Failure("delete", path, errno);
    return Status::Ok();
  }

  Status Create(const std::string& path, std::string_view data) override {
    WholeBytes whole(data);
    return CreateFrom(path, whole);
  }

  Status CreateFrom(const std::string& path, ByteSource& source) override {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return Failure("create", path, errno);
    for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next()) {
      const char* p = piece.data();
      size_t left = piece.size();
      while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
          if (errno == EINTR) continue;
          return DiscardIncomplete(fd, path, "write", errno);
        }
        // A regular file takes nothing only when there is no room left.
        if (n == 0) return DiscardIncomplete(fd, path, "write", ENOSPC);
        p += n;
        left -= static_cast<size_t>(n);
      }
    }
    // Some file systems report a failed write only here; the descriptor is
    // released whatever close returns.
    if (::close(fd) != 0) return DiscardIncomplete(-1, path, "close", errno);
    return Status::Ok();
  }

  Status Read(const std::string& path, std::string* data) override {
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return Failure("open", path, errno);
    data->clear();
    char buffer[1 << 16];
    for (;;) {
      ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0) {
        if (errno == EINTR) continue;
        int err = errno;
        ::close(fd);
        return Failure("read", path, err);
      }
      if (n == 0) break;
      data->append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return Status::Ok();
  }

  Status Rename(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0)
      return Status::Error("cannot rename '" + from + "' to '" + to + "': " +
                           std::strerror(errno));
    return Status::Ok();
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakeRealFileSystem() { return std::make_unique<RealFileSystem>(); }
