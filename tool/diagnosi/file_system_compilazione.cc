#include "tool/diagnosi/file_system_compilazione.h"

#include <utility>

#include "platform/executable_dir.h"

FileSystemCompilazione::FileSystemCompilazione(std::string directory, FileSystem* reale,
                                               std::string destinazione, std::string suffisso)
    : directory_(std::move(directory)),
      reale_(reale),
      destinazione_(std::move(destinazione)),
      suffisso_(std::move(suffisso)) {}

void FileSystemCompilazione::metti_sorgente(const std::string& nome, std::string bytes) {
  sorgenti_[JoinPath(directory_, nome)] = std::move(bytes);
}

bool FileSystemCompilazione::Exists(const std::string& path) { return sorgenti_.count(path) != 0; }

// The protocol's first open of an output name; the output itself is
// created under its temporary name.
Status FileSystemCompilazione::Touch(const std::string&) { return Status::Ok(); }

Status FileSystemCompilazione::Remove(const std::string& path) {
  sorgenti_.erase(path);
  return Status::Ok();
}

Status FileSystemCompilazione::Create(const std::string& path, std::string_view data) {
  WholeBytes whole(data);
  return CreateFrom(path, whole);
}

Status FileSystemCompilazione::CreateFrom(const std::string& path, ByteSource& source) {
  if (reale_ != nullptr && guasto_.ok()) {
    // The compile names its outputs in its own directory; they keep their
    // file names in the destination.
    const std::string cartella = JoinPath(directory_, "");
    const std::string nome = path.rfind(cartella, 0) == 0 ? path.substr(cartella.size()) : path;
    const std::string finale = JoinPath(destinazione_, nome);
    Status s = reale_->CreateFrom(finale + suffisso_, source);
    if (s.ok()) {
      scritti_.push_back(finale);
      return s;
    }
    guasto_ = s;
  }
  // No destination, or no use in writing more: the bytes would only be
  // dropped, so they are not encoded. Encoding cannot fail, and a check of
  // a long line would otherwise spend most of its time on its line table.
  return Status::Ok();
}

Status FileSystemCompilazione::Read(const std::string& path, std::string* data) {
  auto it = sorgenti_.find(path);
  if (it == sorgenti_.end())
    return Status::Error("cannot open '" + path + "': No such file or directory");
  *data = it->second;
  return Status::Ok();
}

Status FileSystemCompilazione::Rename(const std::string& from, const std::string&) {
  return Status::Error("cannot rename '" + from + "': not a file of this compile");
}
