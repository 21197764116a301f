#pragma once

#include <exception>
#include <string>

namespace tolvaren {

// The general exception class of the tool. Every failure the tool raises on
// purpose derives from it; the gathering policy of the information objects
// catches exactly this family and lets anything else pass through.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }

  // The class name, as the last-resort handler in main prints it.
  virtual const char* ClassName() const noexcept { return "Exception"; }

 private:
  std::string message_;
};

// Raised when a text that should hold a decimal number does not.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EConvertError"; }
};

}  // namespace tolvaren
