#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  for (;;) {
    path_ = fs::temp_directory_path() / ("sb_test_" + std::to_string(rd()));
    if (fs::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::map<std::string, std::string> DirectoryFiles(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) files[e.path().filename().string()] = ReadFileBytes(e.path());
  return files;
}

RunResult RunBuilderIn(const fs::path& dir) {
  RunResult r;
  const fs::path exe = dir / fs::path(SB_EXECUTABLE_PATH).filename();
  fs::copy_file(SB_EXECUTABLE_PATH, exe, fs::copy_options::overwrite_existing);
  TempDir elsewhere;
  const fs::path out = elsewhere.path() / "stdout", err = elsewhere.path() / "stderr";
  const std::string cmd = "cd '" + elsewhere.path().string() + "' && '" + exe.string() + "' >'" +
                          out.string() + "' 2>'" + err.string() + "'";
  int status = std::system(cmd.c_str());
#ifndef _WIN32
  r.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#else
  r.exit_status = status;
#endif
  r.out = ReadFileBytes(out);
  r.err = ReadFileBytes(err);
  fs::remove(exe);
  return r;
}
