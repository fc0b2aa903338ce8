// The result of an operation that can fail: an error code of the error reporter (2, 102..107),
// or a catalogue message number, with the place and detail that the report names.
#pragma once

#include <string>
#include <utility>

// Error codes of the error reporter (ReportError, Status::Error).
inline constexpr int kErrNoMemory = 2;
inline constexpr int kErrCannotOpen = 102;
inline constexpr int kErrRead = 103;
inline constexpr int kErrWrite = 104;
inline constexpr int kErrCannotCreate = 105;
inline constexpr int kErrFormat = 106;
inline constexpr int kErrParameter = 107;

class [[nodiscard]] Status {
 public:
  Status() = default;  // success

  static Status Ok() { return Status(); }
  // An error of the error reporter: code 2 not enough memory, 102 cannot open a file, 103 read
  // error, 104 write error, 105 cannot create a file, 106 wrong format, 107 wrong parameter.
  // `where` names the file or the reporting place; `detail` is the detail number of the report.
  static Status Error(int errorCode, std::string where = {}, int detail = 0) {
    Status s;
    s.errorCode_ = errorCode;
    s.where_ = std::move(where);
    s.detail_ = detail;
    return s;
  }
  // A refusal that the user is told with catalogue message `messageNumber`.
  static Status Message(int messageNumber, std::string where = {}) {
    Status s;
    s.messageNumber_ = messageNumber;
    s.where_ = std::move(where);
    return s;
  }

  bool ok() const { return errorCode_ == 0 && messageNumber_ == 0; }
  explicit operator bool() const { return ok(); }
  int ErrorCode() const { return errorCode_; }
  int MessageNumber() const { return messageNumber_; }
  const std::string& Where() const { return where_; }
  int Detail() const { return detail_; }

 private:
  int errorCode_ = 0;
  int messageNumber_ = 0;
  std::string where_;
  int detail_ = 0;
};
