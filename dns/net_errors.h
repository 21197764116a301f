#pragma once

#include <string>

#include "platform/net_exception.h"

namespace tolvaren {

// The error family of the network layer; ENetException and
// ESocketLibraryError live beside the socket binding in platform/.

#define TOLVAREN_NET_ERROR(Name, Base)                                \
  class Name : public Base {                                          \
   public:                                                            \
    using Base::Base;                                                 \
    const char* ClassName() const noexcept override { return #Name; } \
  }

TOLVAREN_NET_ERROR(EDnsResolverError, ENetException);
TOLVAREN_NET_ERROR(EInvalidSocket, ENetException);
TOLVAREN_NET_ERROR(ENetSilentException, ENetException);
TOLVAREN_NET_ERROR(EConnClosedGracefully, ENetSilentException);
TOLVAREN_NET_ERROR(EStackError, ENetException);
TOLVAREN_NET_ERROR(EStackInitializationFailed, EStackError);
TOLVAREN_NET_ERROR(EStackSetSizeExceeded, EStackError);
TOLVAREN_NET_ERROR(ESocketHandleError, ENetException);
TOLVAREN_NET_ERROR(EPackageSizeTooBig, ESocketHandleError);
TOLVAREN_NET_ERROR(ENotAllBytesSent, ESocketHandleError);

#undef TOLVAREN_NET_ERROR

// A socket call failed; carries the platform's code (Winsock numbering).
class ESocketError : public ENetException {
 public:
  ESocketError(int errorCode, std::string message) : ENetException(std::move(message)), errorCode_(errorCode) {}
  const char* ClassName() const noexcept override { return "ESocketError"; }
  int ErrorCode() const { return errorCode_; }

 private:
  int errorCode_;
};

// A run-time assertion failed; the message names the place of the test.
class EAssertionFailed : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EAssertionFailed"; }
};

}  // namespace tolvaren
