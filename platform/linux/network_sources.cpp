#include "platform/linux/network_sources.h"

#include <arpa/inet.h>
#include <net/if_arp.h>
#include <netinet/in.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <optional>
#include <tuple>

#include "platform/hex_digit.h"
#include "platform/ipv4_address.h"

namespace tolvaren::platform::linux_backend {
namespace {

constexpr std::uint32_t kRouteUp = 0x0001;  // RTF_UP
// The system resolver uses the first three name servers of resolv.conf
// (glibc's MAXNS), IPv6 ones included.
constexpr std::size_t kMaxNameServers = 3;

namespace interface_type = ip_helper_records::interface_type;

// Interface types of the IP Helper records, by hardware type.
struct TypeName {
  std::uint16_t hardwareType;
  std::uint32_t interfaceType;
};
constexpr TypeName kInterfaceTypes[] = {
    {ARPHRD_ETHER, interface_type::kEthernet},      {ARPHRD_IEEE802, interface_type::kTokenRing},
    {ARPHRD_SLIP, interface_type::kSlip},           {ARPHRD_PPP, interface_type::kPpp},
    {ARPHRD_LOOPBACK, interface_type::kLoopback},   {ARPHRD_FDDI, interface_type::kFddi},
    {ARPHRD_IEEE80211, interface_type::kIeee80211}, {ARPHRD_TUNNEL, interface_type::kTunnel},
    {ARPHRD_SIT, interface_type::kTunnel},
};

std::uint32_t InterfaceType(std::uint16_t hardwareType) {
  for (const TypeName& t : kInterfaceTypes) {
    if (t.hardwareType == hardwareType) return t.interfaceType;
  }
  return interface_type::kOther;
}

// The first words (blank-separated) of one line; words past the array are
// not read. Returns how many were found.
template <std::size_t N>
std::size_t LeadingWords(std::string_view line, std::array<std::string_view, N>& words) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  std::size_t count = 0;
  std::size_t at = 0;
  while (count < N) {
    while (at < line.size() && blank(line[at])) ++at;
    if (at == line.size()) break;
    const std::size_t start = at;
    while (at < line.size() && !blank(line[at])) ++at;
    words[count++] = line.substr(start, at - start);
  }
  return count;
}

template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    visit(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

std::optional<std::uint32_t> ParseHex(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::optional<std::uint32_t> ParseDecimal(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return value;
}

std::string InterfaceGuid(unsigned index) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-0000-0000-0000-4E6574446576}", index);
  return text;
}

const DefaultRoute* BestRoute(const std::vector<DefaultRoute>& routes, const std::string& interfaceName) {
  const DefaultRoute* best = nullptr;
  for (const DefaultRoute& route : routes) {
    if (route.interfaceName == interfaceName && (best == nullptr || route.metric < best->metric)) best = &route;
  }
  return best;
}

std::vector<const NetworkInterface*> ByIndex(const std::vector<NetworkInterface>& interfaces) {
  std::vector<const NetworkInterface*> sorted;
  sorted.reserve(interfaces.size());
  for (const NetworkInterface& i : interfaces) sorted.push_back(&i);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const NetworkInterface* a, const NetworkInterface* b) { return a->index < b->index; });
  return sorted;
}

// A line of resolv.conf that starts with the keyword and a blank, as the
// system resolver matches it: no blanks before the keyword.
bool StartsWithKeyword(std::string_view line, std::string_view keyword) {
  return line.size() > keyword.size() && line.substr(0, keyword.size()) == keyword &&
         (line[keyword.size()] == ' ' || line[keyword.size()] == '\t');
}

// An IPv6 server as the system resolver takes it: inet_pton's form, with an
// optional "%scope" after it.
bool IsIpv6Address(std::string_view text) {
  const std::string address(text.substr(0, text.find('%')));
  in6_addr bytes{};
  return !address.empty() && inet_pton(AF_INET6, address.c_str(), &bytes) == 1;
}

}  // namespace

std::vector<std::string> ResolvConfIpv4Servers(std::string_view text) {
  std::vector<std::string> servers;
  std::size_t taken = 0;  // IPv4 and IPv6 servers alike
  ForEachLine(text, [&](std::string_view line) {
    if (taken == kMaxNameServers || !StartsWithKeyword(line, "nameserver")) return;
    line.remove_prefix(std::string_view("nameserver").size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    const std::string_view address = line.substr(0, line.find_first_of(" \t"));
    if (address.empty()) return;
    if (const auto ipv4 = ParseIpv4(address, Ipv4Syntax::kInetAton)) {
      servers.push_back(FormatIpv4(*ipv4));
      ++taken;
    } else if (IsIpv6Address(address)) {
      ++taken;
    }
  });
  return servers;
}

std::vector<DefaultRoute> ParseDefaultRoutes(std::string_view text) {
  // Iface Destination Gateway Flags RefCnt Use Metric Mask ...; the addresses
  // are the kernel's network-order words printed in the host's byte order.
  std::vector<DefaultRoute> routes;
  ForEachLine(text, [&](std::string_view line) {
    std::array<std::string_view, 8> words;
    if (LeadingWords(line, words) < words.size()) return;
    const auto destination = ParseHex(words[1]);
    const auto gateway = ParseHex(words[2]);
    const auto flags = ParseHex(words[3]);
    const auto metric = ParseDecimal(words[6]);
    const auto mask = ParseHex(words[7]);
    if (!destination || !gateway || !flags || !metric || !mask) return;  // the header line among others
    if (*destination != 0 || *mask != 0 || (*flags & kRouteUp) == 0) return;
    DefaultRoute route;
    route.interfaceName = std::string(words[0]);
    std::memcpy(route.gateway.data(), &*gateway, 4);
    route.metric = *metric;
    routes.push_back(route);
  });
  return routes;
}

std::pair<std::string, std::string> SplitHostName(std::string_view hostName) {
  const std::size_t dot = hostName.find('.');
  if (dot == std::string_view::npos) return {std::string(hostName), {}};
  return {std::string(hostName.substr(0, dot)), std::string(hostName.substr(dot + 1))};
}

std::vector<Ipv4Bytes> OwnHostAddresses(const std::vector<NetworkInterface>& interfaces,
                                        const std::vector<DefaultRoute>& routes) {
  struct Candidate {
    const NetworkInterface* interface;
    const DefaultRoute* route;
  };
  std::vector<Candidate> candidates;
  candidates.reserve(interfaces.size());
  for (const NetworkInterface* i : ByIndex(interfaces)) {
    if (i->up && !i->loopback && !i->ipv4.empty()) candidates.push_back({i, BestRoute(routes, i->name)});
  }
  std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    if ((a.route != nullptr) != (b.route != nullptr)) return a.route != nullptr;
    return a.route != nullptr && a.route->metric < b.route->metric;
  });
  std::vector<Ipv4Bytes> addresses;
  addresses.reserve(candidates.size());
  for (const Candidate& c : candidates) addresses.push_back(c.interface->ipv4.front().address);
  return addresses;
}

std::vector<const NetworkInterface*> NetbiosAdapters(const std::vector<NetworkInterface>& interfaces) {
  std::vector<const NetworkInterface*> lanas;
  for (const NetworkInterface* i : ByIndex(interfaces)) {
    if (i->up && !i->loopback && i->hardwareAddress.size() == 6 && !i->ipv4.empty()) lanas.push_back(i);
  }
  return lanas;
}

std::vector<ip_helper_records::AdapterRecord> AdapterRecords(const std::vector<NetworkInterface>& interfaces,
                                                             const std::vector<DefaultRoute>& routes) {
  static const std::string kNoAddress = "0.0.0.0";
  static const std::string kHostMask = "255.255.255.255";
  std::vector<ip_helper_records::AdapterRecord> records;
  for (const NetworkInterface* i : ByIndex(interfaces)) {
    if (i->loopback) continue;
    ip_helper_records::AdapterRecord r;
    r.adapterName = InterfaceGuid(i->index);
    r.description = i->name;
    r.hardwareAddress = i->hardwareAddress;
    r.index = i->index;
    r.type = InterfaceType(i->hardwareType);
    r.dhcpEnabled = 1;  // what Wine reports for every interface
    for (const NetworkInterface::Ipv4& a : i->ipv4)
      r.ipAddresses.push_back({FormatIpv4(a.address), FormatIpv4(a.mask)});
    if (r.ipAddresses.empty()) r.ipAddresses.push_back({kNoAddress, kNoAddress});
    const DefaultRoute* route = BestRoute(routes, i->name);
    r.gateways.push_back({route != nullptr ? FormatIpv4(route->gateway) : kNoAddress, kHostMask});
    records.push_back(std::move(r));
  }
  return records;
}

ip_helper_records::NetworkParamsRecord NetworkParams(std::string_view hostName, std::string_view resolvConf) {
  ip_helper_records::NetworkParamsRecord params;
  std::tie(params.hostName, params.domainName) = SplitHostName(hostName);
  params.nodeType = ip_helper_records::node_type::kHybrid;
  params.dnsServers = ResolvConfIpv4Servers(resolvConf);
  params.currentDnsServer = params.dnsServers.empty() ? std::string() : params.dnsServers.front();
  return params;
}

}  // namespace tolvaren::platform::linux_backend
