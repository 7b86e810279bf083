#ifndef SB_PLATFORM_STATUS_H_
#define SB_PLATFORM_STATUS_H_

#include <string>
#include <utility>

// Outcome of an operation that can fail for reasons outside the program
// (a file system refusing, a missing directory). Success carries nothing;
// failure carries one line that names the operation, the path and the
// system's reason, ready to be shown to the user.
class Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(std::string message) { return Status(std::move(message)); }

  bool ok() const { return !failed_; }
  const std::string& message() const { return message_; }

 private:
  explicit Status(std::string message) : failed_(true), message_(std::move(message)) {}
  bool failed_ = false;
  std::string message_;
};

#endif  // SB_PLATFORM_STATUS_H_
