#ifndef SB_TESTS_SUPPORT_TEMP_DIR_H_
#define SB_TESTS_SUPPORT_TEMP_DIR_H_

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// A fresh empty directory under the system's temporary directory, removed
// with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The whole content of a file ("" if it cannot be read).
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// Every regular file of `dir` by name, with its content.
std::map<std::string, std::string> DirectoryFiles(const std::filesystem::path& dir);

// Result of running a program.
struct RunResult {
  int exit_status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Copies the built scenario_builder into `dir` and runs it there, with the
// current directory set elsewhere so that only the executable's own
// directory can be the target.
RunResult RunBuilderIn(const std::filesystem::path& dir);

// Runs the built scenario_tool with `args` (none holding a single quote) and
// `cwd` as its current directory.
RunResult RunToolIn(const std::filesystem::path& cwd, const std::vector<std::string>& args);

#endif  // SB_TESTS_SUPPORT_TEMP_DIR_H_
