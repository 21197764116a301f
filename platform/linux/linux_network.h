#pragma once

#include <string>
#include <vector>

#include "platform/linux/network_sources.h"
#include "platform/platform.h"

namespace tolvaren::platform::linux_backend {

// Where the network backends read the system's configuration; tests point
// them at files of their own.
struct NetworkFiles {
  std::string resolvConf = "/etc/resolv.conf";
  std::string routes = "/proc/net/route";
};

// The interfaces (getifaddrs, ordered by index), the default routes and the
// host name of this machine as the backends below see them.
std::vector<NetworkInterface> ReadInterfaces();
std::vector<DefaultRoute> ReadDefaultRoutes(const NetworkFiles& files);
std::optional<std::string> ReadHostName();

// Winsock 1.1 on BSD sockets: the own host name resolves to the addresses of
// the machine's interfaces, as Wine's gethostbyname gives them; other names go
// to the system's resolver (IPv4 only).
class LinuxWinsock final : public Winsock {
 public:
  static constexpr const char* kDescription = "Tolvaren Winsock on Linux sockets";

  explicit LinuxWinsock(NetworkFiles files = {}) : files_(std::move(files)) {}

  std::optional<WinsockStartup> StartUp(std::uint16_t version) override;
  void CleanUp() override {}
  std::optional<std::string> HostName() override;
  std::optional<std::vector<Ipv4Bytes>> LookUpHost(const std::string& name) override;
  std::string DottedText(const Ipv4Bytes& address) override { return DottedQuad(address); }

 private:
  NetworkFiles files_;
};

// NetBIOS over the machine's interfaces: one LAN adapter per interface that
// could carry NetBIOS over TCP/IP, answering enumeration, reset and adapter
// status with the return codes Wine gives. An enumeration takes a fresh look at
// the interfaces; the LANA numbers it gave hold until the next one.
class LinuxNetbios final : public Netbios {
 public:
  std::uint8_t Submit(NetbiosControlBlock& block) override;

 private:
  std::vector<NetworkInterface> interfaces_;
  std::vector<const NetworkInterface*> lanas_;
  bool enumerated_ = false;
};

// IP Helper records built from the interfaces, the routing table and
// resolv.conf.
class LinuxIpHelper final : public IpHelper {
 public:
  explicit LinuxIpHelper(NetworkFiles files = {}) : files_(std::move(files)) {}

  bool Bound() const override { return true; }
  std::uint32_t GetAdaptersInfo(std::uint8_t* buffer, std::uint32_t& size) override;
  std::uint32_t GetNetworkParams(std::uint8_t* buffer, std::uint32_t& size) override;

 private:
  NetworkFiles files_;
};

}  // namespace tolvaren::platform::linux_backend
