#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sockets.h"

namespace tolvaren::platform {

// What a successful start of the Winsock 1.1 library reports.
struct WinsockStartup {
  std::string description;        // at most 256 bytes, up to its first zero byte
  std::string systemStatus;       // at most 128 bytes, likewise
  std::uint16_t highVersion = 0;  // low byte major, high byte minor
};

// The host-name services of the Winsock 1.1 library (wsock32). Each successful
// StartUp is paired with one CleanUp by the caller.
class Winsock {
 public:
  virtual ~Winsock() = default;

  // WSAStartup with the requested version word; nothing when it fails.
  virtual std::optional<WinsockStartup> StartUp(std::uint16_t version) = 0;
  virtual void CleanUp() = 0;
  // gethostname into a 64-byte buffer; nothing when it fails.
  virtual std::optional<std::string> HostName() = 0;
  // gethostbyname: the IPv4 addresses of the host entry in resolver order;
  // nothing when the lookup fails.
  virtual std::optional<std::vector<Ipv4Bytes>> LookUpHost(const std::string& name) = 0;
  // inet_ntoa on Windows, whose text the reports have always carried; the
  // other backends give FormatIpv4's text, which is the same.
  virtual std::string DottedText(const Ipv4Bytes& address) = 0;
};

}  // namespace tolvaren::platform
