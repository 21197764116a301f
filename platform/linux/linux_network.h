#pragma once

#include <optional>
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

// One look at the machine's network, taken piece by piece when a backend
// first asks and kept from then on. A run of the tool lasts milliseconds, so
// the three backends describe one and the same state, and the kernel's tables
// are dumped once instead of once per call.
class NetworkSnapshot {
 public:
  explicit NetworkSnapshot(NetworkFiles files = {}) : files_(std::move(files)) {}

  const std::vector<NetworkInterface>& Interfaces();
  const std::vector<DefaultRoute>& DefaultRoutes();
  const std::string& ResolvConf();
  const std::optional<std::string>& HostName();

 private:
  NetworkFiles files_;
  std::optional<std::vector<NetworkInterface>> interfaces_;
  std::optional<std::vector<DefaultRoute>> routes_;
  std::optional<std::string> resolvConf_;
  std::optional<std::optional<std::string>> hostName_;
};

// Winsock 1.1 on BSD sockets: the own host name resolves to the addresses of
// the machine's interfaces, as Wine's gethostbyname gives them, and to none
// when no interface has a usable one; other names go to the system's resolver
// (IPv4 only).
class LinuxWinsock final : public Winsock {
 public:
  static constexpr const char* kDescription = "Tolvaren Winsock on Linux sockets";

  explicit LinuxWinsock(NetworkSnapshot& network) : network_(network) {}

  std::optional<WinsockStartup> StartUp(std::uint16_t version) override;
  void CleanUp() override {}
  std::optional<std::string> HostName() override;
  std::optional<std::vector<Ipv4Bytes>> LookUpHost(const std::string& name) override;
  std::string DottedText(const Ipv4Bytes& address) override { return FormatIpv4(address); }

 private:
  NetworkSnapshot& network_;
};

// NetBIOS over the machine's interfaces: one LAN adapter per interface that
// could carry NetBIOS over TCP/IP, answering enumeration, reset and adapter
// status with the return codes Wine gives.
class LinuxNetbios final : public Netbios {
 public:
  explicit LinuxNetbios(NetworkSnapshot& network) : network_(network) {}
  std::uint8_t Submit(NetbiosControlBlock& block) override;

 private:
  // Worked out on the first command: the snapshot does not change.
  const std::vector<const NetworkInterface*>& Lanas();

  NetworkSnapshot& network_;
  std::optional<std::vector<const NetworkInterface*>> lanas_;
};

// IP Helper records built from the interfaces, the routing table and
// resolv.conf.
class LinuxIpHelper final : public IpHelper {
 public:
  explicit LinuxIpHelper(NetworkSnapshot& network) : network_(network) {}

  bool Bound() const override { return true; }
  std::uint32_t GetAdaptersInfo(std::uint8_t* buffer, std::uint32_t& size) override;
  std::uint32_t GetNetworkParams(std::uint8_t* buffer, std::uint32_t& size) override;

 private:
  NetworkSnapshot& network_;
  // Built on the first call; a caller whose buffer was too small asks again.
  std::optional<ip_helper_records::NetworkParamsRecord> params_;
};

}  // namespace tolvaren::platform::linux_backend
