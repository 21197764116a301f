#pragma once

#include <cstdint>
#include <string>

#include "platform/exception.h"

namespace tolvaren {

// Root of every error of the network layer.
class ENetException : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "ENetException"; }
};

// The system's socket library, or one of its functions, cannot be had. The
// message is the context alone when there is no system error number, else the
// context, ": " and the system's text for the number.
class ESocketLibraryError : public ENetException {
 public:
  ESocketLibraryError(std::string context, std::uint32_t systemError, std::string systemErrorText)
      : ENetException(systemError == 0 ? context : context + ": " + systemErrorText),
        context_(std::move(context)),
        systemError_(systemError),
        systemErrorText_(std::move(systemErrorText)) {}
  const char* ClassName() const noexcept override { return "ESocketLibraryError"; }

  const std::string& Context() const { return context_; }
  std::uint32_t SystemError() const { return systemError_; }
  const std::string& SystemErrorText() const { return systemErrorText_; }

 private:
  std::string context_;
  std::uint32_t systemError_;
  std::string systemErrorText_;
};

}  // namespace tolvaren
