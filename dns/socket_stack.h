#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/sockets.h"

namespace tolvaren::dns {

using platform::Ipv4Bytes;
using platform::SocketId;

// The process's one socket layer: the platform's socket calls, the host-name
// and address conversions, and the last platform error code seen. Creating it
// starts the platform library (raises EStackInitializationFailed when that is
// refused); NetComponent creates and frees it.
class SocketStack {
 public:
  static constexpr int kMaxWaitSockets = 64;
  static constexpr int kNoTimeLimit = -2;

  explicit SocketStack(platform::SocketApi& api);
  SocketStack(const SocketStack&) = delete;
  SocketStack& operator=(const SocketStack&) = delete;

  platform::SocketApi& Api() { return api_; }

  // "LOCALHOST" (any case) gives 127.0.0.1, a dotted quad stays as it is, and
  // anything else goes to the platform's host lookup (ESocketError on failure).
  std::string ResolveAddress(const std::string& host);

  // Returns result unless it is -1; then raises ESocketError for the
  // platform's last error, which is remembered.
  int FailOnSocketError(int result);

  // The platform's readiness wait on up to 64 sockets per list (null for no
  // list); kNoTimeLimit waits without limit. Leaves the ready sockets in each
  // list and returns their count, 0 on time-out, -1 on failure.
  int WaitForSockets(std::vector<SocketId>* read, std::vector<SocketId>* write, std::vector<SocketId>* errors,
                     int timeoutMs);

  int LastError() const { return lastError_; }

 private:
  platform::SocketApi& api_;
  int lastError_ = 0;
};

// The socket layer reads a host text the way its callers have always handed it
// over, more leniently than platform::ParseIpv4: pieces cut at the first three
// dots, each an integer that may carry a sign or leading zeros.

// Four numbers from 0 to 255 cut at the first three dots (the last piece takes
// the rest, dots included, so "1.2.3.4.5" is not one).
bool IsDottedQuad(std::string_view text);

// The four address bytes of a dotted text, each piece's low 8 bits; a piece
// that is not a number raises EConvertError.
Ipv4Bytes ParseDottedQuad(std::string_view text);

// The text for a socket error code (Winsock numbering); empty when unknown.
const char* SocketErrorText(int code);

}  // namespace tolvaren::dns
