#ifndef SB_TOOL_DIAGNOSI_FILE_SYSTEM_COMPILAZIONE_H_
#define SB_TOOL_DIAGNOSI_FILE_SYSTEM_COMPILAZIONE_H_

// The file system the tool's compile runs on. The builder's compile reads
// its two sources from a directory and deletes them, then writes its three
// files there through the replace protocol (open-and-close, delete, create).
// For an author none of that may touch the real files: the sources live
// here in memory, so reading and deleting them harms nothing, and the
// protocol's open-and-close and delete of an output name do nothing.
//
// Each output the compile creates is streamed, piece by piece, straight to
// its temporary name in the destination directory (the output's name +
// the temporary suffix), so that no output is ever held whole in memory; the
// tool then gives the temporaries their names, or deletes them. Without a
// destination (a check) nothing is encoded at all.
//
// A temporary that cannot be written is not reported to the compile: the
// compile's own account of the sources must stay what it is in memory. The
// first such failure is kept instead (`guasto`), and no later output is
// written, since none of them can be used.

#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

class FileSystemCompilazione : public FileSystem {
 public:
  // `directory` is where the compile believes it runs. With `reale` set,
  // outputs go to `reale` under `destinazione`; otherwise nowhere.
  // Each output is written under its name + `suffisso`.
  explicit FileSystemCompilazione(std::string directory, FileSystem* reale = nullptr,
                                  std::string destinazione = {}, std::string suffisso = {});

  // Puts a source's bytes under `nome` in the compile's directory.
  void metti_sorgente(const std::string& nome, std::string bytes);

  // The outputs' final paths in the destination, in the order they were
  // written; each one's bytes are complete under path + the temporary suffix.
  const std::vector<std::string>& scritti() const { return scritti_; }
  // The first output that could not be written, with its reason.
  const Status& guasto() const { return guasto_; }

  bool Exists(const std::string& path) override;
  Status Touch(const std::string& path) override;
  Status Remove(const std::string& path) override;
  Status Create(const std::string& path, std::string_view data) override;
  Status CreateFrom(const std::string& path, ByteSource& source) override;
  Status Read(const std::string& path, std::string* data) override;
  Status Rename(const std::string& from, const std::string& to) override;

 private:
  std::string directory_;
  FileSystem* reale_;
  std::string destinazione_;
  std::string suffisso_;
  std::map<std::string, std::string> sorgenti_;
  std::vector<std::string> scritti_;
  Status guasto_;
};

#endif  // SB_TOOL_DIAGNOSI_FILE_SYSTEM_COMPILAZIONE_H_
