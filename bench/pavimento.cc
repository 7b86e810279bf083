// The floor a run is measured against: a process that does nothing but put
// the bytes of the finished files on disk. It reads each reference file
// whole into memory, then creates it in the output directory and writes it
// with one write call. Plain system calls only, so that the process itself
// costs as little as a process can.
//
//   pavimento REFDIR OUTDIR NAME...
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fallisci(const std::string& what) {
  std::perror(what.c_str());
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: pavimento REFDIR OUTDIR NAME...\n");
    return 2;
  }
  const std::string ref = argv[1];
  const std::string out = argv[2];
  std::vector<std::string> dati;
  for (int i = 3; i < argc; ++i) {
    const std::string path = ref + "/" + argv[i];
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) Fallisci(path);
    struct stat st;
    if (::fstat(fd, &st) != 0) Fallisci(path);
    std::string d(static_cast<size_t>(st.st_size), '\0');
    if (::read(fd, d.data(), d.size()) != static_cast<ssize_t>(d.size())) Fallisci(path);
    ::close(fd);
    dati.push_back(std::move(d));
  }
  for (int i = 3; i < argc; ++i) {
    const std::string path = out + "/" + argv[i];
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) Fallisci(path);
    const std::string& d = dati[static_cast<size_t>(i - 3)];
    if (::write(fd, d.data(), d.size()) != static_cast<ssize_t>(d.size())) Fallisci(path);
    if (::close(fd) != 0) Fallisci(path);
  }
  return 0;
}
