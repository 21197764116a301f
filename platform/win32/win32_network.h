#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace tolvaren::platform::win32_backend {

// wsock32's Winsock 1.1 calls.
class Win32Winsock final : public Winsock {
 public:
  std::optional<WinsockStartup> StartUp(std::uint16_t version) override;
  void CleanUp() override;
  std::optional<std::string> HostName() override;
  std::optional<std::vector<Ipv4Bytes>> LookUpHost(const std::string& name) override;
  std::string DottedText(const Ipv4Bytes& address) override;
};

// netapi32's Netbios, with the SDK's NCB.
class Win32Netbios final : public Netbios {
 public:
  std::uint8_t Submit(NetbiosControlBlock& block) override;
};

// iphlpapi.dll, loaded when the backend is created (at start-up) and released
// when it goes (at process end); the two calls are forwarded with the caller's
// buffer.
class Win32IpHelper final : public IpHelper {
 public:
  Win32IpHelper();
  Win32IpHelper(const Win32IpHelper&) = delete;
  Win32IpHelper& operator=(const Win32IpHelper&) = delete;
  ~Win32IpHelper() override;

  bool Bound() const override;
  std::uint32_t GetAdaptersInfo(std::uint8_t* buffer, std::uint32_t& size) override;
  std::uint32_t GetNetworkParams(std::uint8_t* buffer, std::uint32_t& size) override;

 private:
  using RecordsFn = DWORD(WINAPI*)(void* buffer, ULONG* size);

  HMODULE module_ = nullptr;
  RecordsFn getAdaptersInfo_ = nullptr;
  RecordsFn getNetworkParams_ = nullptr;
};

}  // namespace tolvaren::platform::win32_backend
