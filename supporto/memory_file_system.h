#ifndef SB_SUPPORTO_MEMORY_FILE_SYSTEM_H_
#define SB_SUPPORTO_MEMORY_FILE_SYSTEM_H_

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "platform/file_system.h"

// A file system held in memory, for the tests and the fuzzers: files are a map from path to
// bytes, and any operation on a chosen path can be made to fail.
class MemoryFileSystem : public FileSystem {
 public:
  enum class Op { kTouch, kRemove, kCreate, kRead, kRename };

  bool Exists(const std::string& path) override;
  Status Touch(const std::string& path) override;
  Status Remove(const std::string& path) override;
  Status Create(const std::string& path, std::string_view data) override;
  Status CreateFrom(const std::string& path, ByteSource& source) override;
  Status Read(const std::string& path, std::string* data) override;
  // A failure chosen with Fail(kRename, path) applies to renaming the file
  // at `path` (`from`).
  Status Rename(const std::string& from, const std::string& to) override;

  // Makes every later `op` on `path` fail.
  void Fail(Op op, const std::string& path) { failures_.insert({op, path}); }

  std::map<std::string, std::string> files;
  // Memory in which CreateFrom gathers the pieces of a file before handing
  // them to Create, kept afterwards: a caller that writes the same large
  // file again and again (a fuzzer's compile after compile) hands it on, so
  // it is not allocated and faulted in anew each time. Its contents do not
  // matter.
  std::string spare;
  // Memory for files not created yet, by path: Create of a new file at one
  // of these paths builds it in this memory, for the same reason. Contents
  // do not matter; a path here is no file (Exists does not see it).
  std::map<std::string, std::string> riserve;

 private:
  std::set<std::pair<Op, std::string>> failures_;
};

#endif  // SB_SUPPORTO_MEMORY_FILE_SYSTEM_H_
