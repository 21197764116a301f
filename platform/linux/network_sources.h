#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ip_helper_records.h"
#include "platform/sockets.h"

namespace tolvaren::platform::linux_backend {

// What the Linux backends of Winsock, NetBIOS and IP Helper read from the
// system, and the rules that turn it into the values those interfaces report
// under Wine on a Linux host. Nothing here calls the system, so the rules are
// tested on tables.

// One network interface as getifaddrs reports it.
struct NetworkInterface {
  struct Ipv4 {
    Ipv4Bytes address{};
    Ipv4Bytes mask{};
  };
  std::string name;
  unsigned index = 0;
  bool up = false;
  bool loopback = false;
  std::uint16_t hardwareType = 0;  // ARPHRD_*
  std::vector<std::uint8_t> hardwareAddress;
  std::vector<Ipv4> ipv4;  // in the order the system lists them, primary first
};

// A default route of /proc/net/route.
struct DefaultRoute {
  std::string interfaceName;
  Ipv4Bytes gateway{};
  std::uint32_t metric = 0;
};

// The IPv4 servers among those the system resolver takes from resolv.conf,
// as dotted quads in file order. The resolver takes a line that begins with
// "nameserver" and a blank, reads the word after it as inet_aton does
// ("127.0.0.054" is 127.0.0.44, "0x7f.1" is 127.0.0.1) or as an IPv6
// address, skips lines whose word is neither, and stops after three servers.
std::vector<std::string> ResolvConfIpv4Servers(std::string_view text);

// The default routes (destination and mask 0, up) of /proc/net/route text.
std::vector<DefaultRoute> ParseDefaultRoutes(std::string_view text);

// Host and domain: the host name cut at its first dot.
std::pair<std::string, std::string> SplitHostName(std::string_view hostName);

// gethostbyname of the machine's own name: the first IPv4 address of each
// interface that is up and not loopback; interfaces with a default route come
// first (lowest metric first), the rest follow in index order.
std::vector<Ipv4Bytes> OwnHostAddresses(const std::vector<NetworkInterface>& interfaces,
                                        const std::vector<DefaultRoute>& routes);

// The NetBIOS LAN adapters: one per interface that is up, not loopback, has a
// 6-byte hardware address and an IPv4 address, in index order; the LANA
// number is the position.
std::vector<const NetworkInterface*> NetbiosAdapters(const std::vector<NetworkInterface>& interfaces);

// GetAdaptersInfo: every interface but loopback, in index order.
std::vector<ip_helper_records::AdapterRecord> AdapterRecords(const std::vector<NetworkInterface>& interfaces,
                                                             const std::vector<DefaultRoute>& routes);

// GetNetworkParams: the host name split at its first dot, hybrid node type,
// the IPv4 servers of resolv.conf (the first also as the current server).
ip_helper_records::NetworkParamsRecord NetworkParams(std::string_view hostName, std::string_view resolvConf);

}  // namespace tolvaren::platform::linux_backend
