#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/executable_dir.h"

Status DirectoryOfExecutable(std::string* dir) {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0)
      return Status::Error(std::string("cannot read '/proc/self/exe': ") + std::strerror(errno));
    if (static_cast<size_t>(n) < buffer.size()) {
      std::string path(buffer.data(), static_cast<size_t>(n));
      size_t slash = path.rfind('/');
      *dir = slash == 0 ? "/" : path.substr(0, slash);
      return Status::Ok();
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (!dir.empty() && dir.back() == '/') return dir + name;
  return dir + "/" + name;
}
