#ifndef SB_PLATFORM_FILE_SYSTEM_H_
#define SB_PLATFORM_FILE_SYSTEM_H_

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/status.h"

// The bytes of a file handed over in pieces, for a file too large to be
// built whole in memory first. Each call to Next gives the next piece, which
// stays valid until the following call; an empty piece means the end.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::string_view Next() = 0;
};

// The few file operations the builder needs. A writer builds a file's bytes
// in memory and hands them over in one call (or, for a large file, as a
// source of pieces that one call writes one after another); a reader gets
// the whole file in one call. Failures come back as a Status whose message
// names the operation, the path and the reason.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when a file (not a directory) exists at `path`.
  virtual bool Exists(const std::string& path) = 0;
  // Opens `path` for byte-wise read and write access without truncating it,
  // creating it empty when missing, and closes it at once.
  virtual Status Touch(const std::string& path) = 0;
  // Deletes the file at `path`.
  virtual Status Remove(const std::string& path) = 0;
  // Creates the file at `path` anew (empty) and writes `data` from byte 0.
  // When writing fails part-way (disk full, size limit, I/O error) the file
  // is closed and deleted before the failure is returned, so that no
  // incomplete file stays under a name the simulator would load; the
  // message names the write failure, and the delete's too when that fails
  // as well (see WriteFailure).
  virtual Status Create(const std::string& path, std::string_view data) = 0;
  // The same as Create, through one open, for the bytes that `source` gives
  // piece by piece: each piece is written as it comes, so no more than one
  // piece is held at a time. On the same failures the file is closed and
  // deleted just as by Create. By default the pieces are gathered and
  // handed to Create.
  virtual Status CreateFrom(const std::string& path, ByteSource& source);
  // Reads the whole file at `path` into `*data`.
  virtual Status Read(const std::string& path, std::string* data) = 0;
  // Gives the file at `from` the name `to` in one step, replacing a file
  // already called `to`; both names lie in one directory.
  virtual Status Rename(const std::string& from, const std::string& to) = 0;
};

// The one-line report of a write that failed (`write`, naming the operation,
// the path and the reason), after its incomplete file has been deleted; when
// the delete failed too, `delete_reason` is the system's reason for that.
inline Status WriteFailure(const Status& write, const std::string& delete_reason = {}) {
  if (delete_reason.empty()) return write;
  return Status::Error(write.message() + "; cannot delete the incomplete file either: " +
                       delete_reason);
}

// A source of one piece: the whole of `data`.
class WholeBytes : public ByteSource {
 public:
  explicit WholeBytes(std::string_view data) : data_(data) {}
  std::string_view Next() override { return std::exchange(data_, std::string_view()); }

 private:
  std::string_view data_;
};

inline Status FileSystem::CreateFrom(const std::string& path, ByteSource& source) {
  std::string data;
  for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next())
    data.append(piece);
  return Create(path, data);
}

// The machine's own file system.
std::unique_ptr<FileSystem> MakeRealFileSystem();

#endif  // SB_PLATFORM_FILE_SYSTEM_H_
