#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#ifdef _WIN32
#include "platform/wide_text_win.h"
#include "platform/windows_h.h"
#else
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

namespace {

#ifdef _WIN32
// Starts `exe` with `cwd` as its current directory and its standard output
// and error going to the files `out` and `err`; returns its exit status.
int RunProgram(const fs::path& exe, const std::vector<std::string>& args, const fs::path& cwd,
               const fs::path& out, const fs::path& err) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  auto open = [&](const fs::path& p) {
    return ::CreateFileW(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE out_h = open(out), err_h = open(err);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = INVALID_HANDLE_VALUE;
  si.hStdOutput = out_h;
  si.hStdError = err_h;
  std::wstring command = L"\"" + exe.wstring() + L"\"";
  for (const std::string& a : args) command += L" \"" + fs::path(a).wstring() + L"\"";
  PROCESS_INFORMATION pi{};
  int status = -1;
  // Wine now and then refuses to start a process while its server is busy;
  // a start that never happened is tried again, and one that still fails
  // says why on the error stream, rather than leaving a test to puzzle over
  // an exit status the program never gave.
  bool started = false;
  DWORD why = 0;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) ::Sleep(200);
    started = ::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               cwd.c_str(), &si, &pi) != 0;
    if (!started) why = ::GetLastError();
  }
  std::string fault;
  if (!started) {
    fault = "test harness: cannot start the program: " + SystemMessage(why);
  } else {
    DWORD code = 0;
    if (::WaitForSingleObject(pi.hProcess, INFINITE) != WAIT_OBJECT_0)
      fault = "test harness: cannot wait for the program: " + SystemMessage(::GetLastError());
    else if (!::GetExitCodeProcess(pi.hProcess, &code))
      fault = "test harness: cannot read the exit status: " + SystemMessage(::GetLastError());
    else
      status = static_cast<int>(code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
  if (!fault.empty()) {
    fault += '\n';
    DWORD written = 0;
    ::WriteFile(err_h, fault.data(), static_cast<DWORD>(fault.size()), &written, nullptr);
  }
  ::CloseHandle(out_h);
  ::CloseHandle(err_h);
  return status;
}
#else
int RunProgram(const fs::path& exe, const std::vector<std::string>& args, const fs::path& cwd,
               const fs::path& out, const fs::path& err) {
  std::string cmd = "cd '" + cwd.string() + "' && '" + exe.string() + "'";
  for (const std::string& a : args) cmd += " '" + a + "'";
  cmd += " >'" + out.string() + "' 2>'" + err.string() + "'";
  int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

}  // namespace

RunResult RunBuilderIn(const fs::path& dir) {
  RunResult r;
  const fs::path exe = dir / fs::path(SB_EXECUTABLE_PATH).filename();
  fs::copy_file(SB_EXECUTABLE_PATH, exe, fs::copy_options::overwrite_existing);
  TempDir elsewhere;
  const fs::path out = elsewhere.path() / "stdout", err = elsewhere.path() / "stderr";
  r.exit_status = RunProgram(exe, {}, elsewhere.path(), out, err);
  r.out = ReadFileBytes(out);
  r.err = ReadFileBytes(err);
  fs::remove(exe);
  return r;
}

RunResult RunToolIn(const fs::path& cwd, const std::vector<std::string>& args) {
  RunResult r;
  // Run from a copy, as RunBuilderIn does, so that the path is one the
  // system of the build (Wine included) can start.
  TempDir output;
  const fs::path exe = output.path() / fs::path(SB_TOOL_PATH).filename();
  fs::copy_file(SB_TOOL_PATH, exe);
  const fs::path out = output.path() / "stdout", err = output.path() / "stderr";
  r.exit_status = RunProgram(exe, args, cwd, out, err);
  r.out = ReadFileBytes(out);
  r.err = ReadFileBytes(err);
  return r;
}
