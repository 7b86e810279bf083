#include "platform/windows_h.h"

#include "platform/executable_dir.h"
#include "platform/wide_text_win.h"

Status DirectoryOfExecutable(std::string* dir) {
  // Paths may be longer than MAX_PATH; grow until the whole one fits (the
  // system truncates silently and returns the buffer size when it does not).
  std::wstring buffer(MAX_PATH, L'\0');
  DWORD n;
  for (;;) {
    n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0)
      return Status::Error("cannot find the path of the running program: " +
                           SystemMessage(::GetLastError()));
    if (n < buffer.size()) break;
    if (buffer.size() >= 65536)
      return Status::Error("cannot find the path of the running program: path too long");
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(n);
  const size_t sep = buffer.find_last_of(L"\\/");
  if (sep == std::wstring::npos)
    return Status::Error("cannot find the directory of '" + NarrowFromWide(buffer) + "'");
  // A drive root keeps its backslash ("C:\"); any other directory loses it.
  const bool root = sep == 2 && buffer[1] == L':';
  *dir = NarrowFromWide(buffer.substr(0, root ? sep + 1 : sep));
  return Status::Ok();
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  // Always one backslash, even after a drive root: "C:\" gives "C:\\name",
  // which the system reads as "C:\name".
  return dir + "\\" + name;
}
