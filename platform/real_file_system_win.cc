// The Win32 file system. Every file is opened in binary mode (there is no
// other at this level), so the CR LF line ends the text writer produces
// reach the disk exactly as they are. Paths are the program's UTF-8 texts,
// turned into UTF-16 for the wide system calls.
#include "platform/windows_h.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/wide_text_win.h"

namespace {

Status Failure(const char* what, const std::string& path, DWORD err) {
  return Status::Error(std::string("cannot ") + what + " '" + path + "': " + SystemMessage(err));
}

// Closes a handle on every way out of a function.
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (valid()) ::CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  // Closes now, so that a failure to close can be reported.
  bool Close() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

// Ends a write that failed with `err` while `h` was open on `path`: closes
// the file and deletes what of it was written. A file already gone is what
// the delete is for, so a missing file is no failure.
Status DiscardIncomplete(Handle& h, const std::string& path, const char* what, DWORD err) {
  if (h.valid()) (void)h.Close();
  const Status failure = Failure(what, path, err);
  if (!::DeleteFileW(WideFromNarrow(path).c_str())) {
    const DWORD delete_err = ::GetLastError();
    if (delete_err != ERROR_FILE_NOT_FOUND && delete_err != ERROR_PATH_NOT_FOUND)
      return WriteFailure(failure, SystemMessage(delete_err));
  }
  return WriteFailure(failure);
}

// The largest piece handed to one ReadFile or WriteFile call.
constexpr size_t kPiece = size_t{1} << 24;

class RealFileSystem : public FileSystem {
 public:
  bool Exists(const std::string& path) override {
    const DWORD attributes = ::GetFileAttributesW(WideFromNarrow(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  Status Touch(const std::string& path) override {
    Handle h(::CreateFileW(WideFromNarrow(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) return Failure("open", path, ::GetLastError());
    if (!h.Close()) return Failure("close", path, ::GetLastError());
    return Status::Ok();
  }

  Status Remove(const std::string& path) override {
    if (!::DeleteFileW(WideFromNarrow(path).c_str()))
      return Failure("delete", path, ::GetLastError());
    return Status::Ok();
  }

  Status Create(const std::string& path, std::string_view data) override {
    WholeBytes whole(data);
    return CreateFrom(path, whole);
  }

  Status CreateFrom(const std::string& path, ByteSource& source) override {
    Handle h(::CreateFileW(WideFromNarrow(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) return Failure("create", path, ::GetLastError());
    for (std::string_view data = source.Next(); !data.empty(); data = source.Next()) {
      const char* p = data.data();
      size_t left = data.size();
      while (left > 0) {
        const DWORD piece = static_cast<DWORD>(std::min(left, kPiece));
        DWORD written = 0;
        if (!::WriteFile(h.get(), p, piece, &written, nullptr))
          return DiscardIncomplete(h, path, "write", ::GetLastError());
        // A short write without an error only happens on a full disk.
        if (written == 0) return DiscardIncomplete(h, path, "write", ERROR_DISK_FULL);
        p += written;
        left -= written;
      }
    }
    // Some file systems report a failed write only here; the handle is
    // released whatever CloseHandle returns.
    if (!h.Close()) return DiscardIncomplete(h, path, "close", ::GetLastError());
    return Status::Ok();
  }

  Status Read(const std::string& path, std::string* data) override {
    Handle h(::CreateFileW(WideFromNarrow(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) return Failure("open", path, ::GetLastError());
    data->clear();
    LARGE_INTEGER size;
    if (::GetFileSizeEx(h.get(), &size) && size.QuadPart > 0 &&
        static_cast<unsigned long long>(size.QuadPart) < data->max_size())
      data->reserve(static_cast<size_t>(size.QuadPart));
    // Read to the end rather than to the size seen at the start, which a
    // writer elsewhere may change meanwhile.
    std::string buffer(1 << 16, '\0');
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(h.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
        return Failure("read", path, ::GetLastError());
      if (got == 0) break;
      data->append(buffer.data(), got);
    }
    return Status::Ok();
  }

  Status Rename(const std::string& from, const std::string& to) override {
    if (!::MoveFileExW(WideFromNarrow(from).c_str(), WideFromNarrow(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING))
      return Status::Error("cannot rename '" + from + "' to '" + to +
                           "': " + SystemMessage(::GetLastError()));
    return Status::Ok();
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakeRealFileSystem() { return std::make_unique<RealFileSystem>(); }
