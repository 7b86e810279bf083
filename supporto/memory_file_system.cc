#include "supporto/memory_file_system.h"

namespace {

Status Refused(const char* what, const std::string& path) {
  return Status::Error(std::string("cannot ") + what + " '" + path + "': refused by the test");
}

}  // namespace

bool MemoryFileSystem::Exists(const std::string& path) { return files.count(path) != 0; }

Status MemoryFileSystem::Touch(const std::string& path) {
  if (failures_.count({Op::kTouch, path})) return Refused("open", path);
  files.try_emplace(path);
  return Status::Ok();
}

Status MemoryFileSystem::Remove(const std::string& path) {
  if (failures_.count({Op::kRemove, path})) return Refused("delete", path);
  if (files.erase(path) == 0)
    return Status::Error("cannot delete '" + path + "': No such file or directory");
  return Status::Ok();
}

Status MemoryFileSystem::Create(const std::string& path, std::string_view data) {
  if (failures_.count({Op::kCreate, path})) return Refused("create", path);
  auto [it, nuovo] = files.try_emplace(path);
  if (auto r = riserve.find(path); nuovo && r != riserve.end()) {
    it->second = std::move(r->second);
    riserve.erase(r);
  }
  it->second.assign(data.data(), data.size());
  return Status::Ok();
}

Status MemoryFileSystem::CreateFrom(const std::string& path, ByteSource& source) {
  // Gathered in the spare memory, then handed to Create like any file, so
  // that a file system built on this one sees every write as a Create.
  std::string data = std::move(spare);
  spare = {};
  data.clear();
  for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next())
    data.append(piece);
  Status s = Create(path, data);
  spare = std::move(data);
  return s;
}

Status MemoryFileSystem::Read(const std::string& path, std::string* data) {
  if (failures_.count({Op::kRead, path})) return Refused("read", path);
  auto it = files.find(path);
  if (it == files.end())
    return Status::Error("cannot open '" + path + "': No such file or directory");
  *data = it->second;
  return Status::Ok();
}

Status MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
  if (failures_.count({Op::kRename, from})) return Refused("rename", from);
  auto it = files.find(from);
  if (it == files.end())
    return Status::Error("cannot rename '" + from + "': No such file or directory");
  std::string data = std::move(it->second);
  files.erase(it);
  files[to] = std::move(data);
  return Status::Ok();
}
