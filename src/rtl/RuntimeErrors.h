#pragma once

#include <exception>
#include <string>

namespace rtl {

// Base of every error the program raises; the default error handler shows Message().
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// An input/output failure. The code is the runtime's (DOS-style) error number,
// mapped from the operating system's errno, and the text is the runtime's text for it.
class EInOutError : public Exception {
 public:
  explicit EInOutError(int errorCode);
  int ErrorCode() const { return errorCode_; }
  // Builds the error from errno as the system call left it.
  static EInOutError FromErrno(int err);
  static std::string TextFor(int errorCode);

 private:
  int errorCode_;
};

// A text that is not a valid number.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Runtime error numbers the program reports.
enum : int {
  kFileNotFound = 2,
  kPathNotFound = 3,
  kTooManyOpenFiles = 4,
  kFileAccessDenied = 5,
  kReadBeyondEnd = 100,
  kDiskFull = 101,
};

}  // namespace rtl
