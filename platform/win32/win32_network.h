#pragma once

#include "platform/platform.h"

namespace tolvaren::platform::win32_backend {

// Not built yet: every call reports failure, as on a machine without the service.
class Win32Winsock final : public Winsock {
 public:
  std::optional<WinsockStartup> StartUp(std::uint16_t) override { return std::nullopt; }
  void CleanUp() override {}
  std::optional<std::string> HostName() override { return std::nullopt; }
  std::optional<std::vector<Ipv4Bytes>> LookUpHost(const std::string&) override { return std::nullopt; }
  std::string DottedText(const Ipv4Bytes&) override { return {}; }
};

class Win32Netbios final : public Netbios {
 public:
  std::uint8_t Submit(NetbiosControlBlock&) override { return 0xFB; }
};

class Win32IpHelper final : public IpHelper {
 public:
  bool Bound() const override { return false; }
  std::uint32_t GetAdaptersInfo(std::uint8_t*, std::uint32_t&) override { return 1; }
  std::uint32_t GetNetworkParams(std::uint8_t*, std::uint32_t&) override { return 1; }
};

}  // namespace tolvaren::platform::win32_backend
