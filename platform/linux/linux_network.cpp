#include "platform/linux/linux_network.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <memory>
#include <string_view>
#include <tuple>

#include "platform/ascii_case.h"
#include "platform/ip_helper_record_writer.h"
#include "platform/linux/linux_files.h"

namespace tolvaren::platform::linux_backend {
namespace {

constexpr std::size_t kHostNameBufferSize = 64;  // gethostname's buffer under Winsock
constexpr std::size_t kConfigLimit = 1 << 20;    // more than any resolv.conf or route table
constexpr std::uint16_t kHighVersion = 0x0202;   // Winsock 2.2

// A system file that cannot be read, or is no regular file (a FIFO or a
// device bound over it), counts as absent: empty text.
std::string ReadConfigFile(const std::string& path) { return ReadTextFileHead(path, kConfigLimit); }

Ipv4Bytes AddressBytes(const sockaddr* address) {
  Ipv4Bytes bytes{};
  if (address != nullptr && address->sa_family == AF_INET) {
    const auto* in = reinterpret_cast<const sockaddr_in*>(address);
    std::memcpy(bytes.data(), &in->sin_addr, bytes.size());
  }
  return bytes;
}

std::optional<std::vector<Ipv4Bytes>> ResolverAddresses(const std::string& name) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (name.empty() || getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) return std::nullopt;
  std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owner(found, freeaddrinfo);
  std::vector<Ipv4Bytes> addresses;
  for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
    const Ipv4Bytes bytes = AddressBytes(a->ai_addr);
    if (std::find(addresses.begin(), addresses.end(), bytes) == addresses.end()) addresses.push_back(bytes);
  }
  if (addresses.empty()) return std::nullopt;
  return addresses;
}

}  // namespace

std::vector<NetworkInterface> ReadInterfaces() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return {};
  std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, freeifaddrs);
  // A machine has a handful of interfaces: a linear search by name is cheaper
  // than any index.
  std::vector<NetworkInterface> interfaces;
  interfaces.reserve(8);
  for (const ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
    if (a->ifa_name == nullptr) continue;
    const std::string_view name = a->ifa_name;
    auto found = std::find_if(interfaces.begin(), interfaces.end(), [&](const auto& i) { return i.name == name; });
    if (found == interfaces.end()) {
      interfaces.emplace_back().name = name;
      found = std::prev(interfaces.end());
    }
    NetworkInterface& i = *found;
    i.up = (a->ifa_flags & IFF_UP) != 0;
    i.loopback = (a->ifa_flags & IFF_LOOPBACK) != 0;
    if (a->ifa_addr == nullptr) continue;
    if (a->ifa_addr->sa_family == AF_PACKET) {
      const auto* link = reinterpret_cast<const sockaddr_ll*>(a->ifa_addr);
      i.index = static_cast<unsigned>(link->sll_ifindex);
      i.hardwareType = link->sll_hatype;
      const std::size_t length = std::min<std::size_t>(link->sll_halen, sizeof link->sll_addr);
      i.hardwareAddress.assign(link->sll_addr, link->sll_addr + length);
    } else if (a->ifa_addr->sa_family == AF_INET) {
      i.ipv4.push_back({AddressBytes(a->ifa_addr), AddressBytes(a->ifa_netmask)});
    }
  }
  for (NetworkInterface& i : interfaces) {
    if (i.index == 0) i.index = if_nametoindex(i.name.c_str());  // no link-layer entry
  }
  // By index; two interfaces with one index (a race with the kernel) by name.
  std::sort(interfaces.begin(), interfaces.end(),
            [](const auto& a, const auto& b) { return std::tie(a.index, a.name) < std::tie(b.index, b.name); });
  return interfaces;
}

std::vector<DefaultRoute> ReadDefaultRoutes(const NetworkFiles& files) {
  return ParseDefaultRoutes(ReadConfigFile(files.routes));
}

std::optional<std::string> ReadHostName() {
  char name[kHostNameBufferSize] = {};
  if (gethostname(name, sizeof name) != 0) return std::nullopt;
  return std::string(name, strnlen(name, sizeof name));
}

const std::vector<NetworkInterface>& NetworkSnapshot::Interfaces() {
  if (!interfaces_) interfaces_ = ReadInterfaces();
  return *interfaces_;
}

const std::vector<DefaultRoute>& NetworkSnapshot::DefaultRoutes() {
  if (!routes_) routes_ = ReadDefaultRoutes(files_);
  return *routes_;
}

const std::string& NetworkSnapshot::ResolvConf() {
  if (!resolvConf_) resolvConf_ = ReadConfigFile(files_.resolvConf);
  return *resolvConf_;
}

const std::optional<std::string>& NetworkSnapshot::HostName() {
  if (!hostName_) hostName_ = ReadHostName();
  return *hostName_;
}

std::optional<WinsockStartup> LinuxWinsock::StartUp(std::uint16_t version) {
  if ((version & 0xFF) == 0) return std::nullopt;  // no version 0.x
  return WinsockStartup{kDescription, "Running", kHighVersion};
}

std::optional<std::string> LinuxWinsock::HostName() {
  // A name that does not fit Winsock's 64-byte buffer fails there as well.
  return network_.HostName();
}

std::optional<std::vector<Ipv4Bytes>> LinuxWinsock::LookUpHost(const std::string& name) {
  // The machine's own name is answered from its interfaces alone, never by a
  // DNS server: one that is slow or silent would hold every run up.
  const auto& own = network_.HostName();
  if (own && !name.empty() && EqualIgnoringAsciiCase(name, *own)) {
    std::vector<Ipv4Bytes> addresses = OwnHostAddresses(network_.Interfaces(), network_.DefaultRoutes());
    if (addresses.empty()) return std::nullopt;
    return addresses;
  }
  return ResolverAddresses(name);
}

const std::vector<const NetworkInterface*>& LinuxNetbios::Lanas() {
  if (!lanas_) lanas_ = NetbiosAdapters(network_.Interfaces());
  return *lanas_;
}

std::uint8_t LinuxNetbios::Submit(NetbiosControlBlock& block) {
  const std::vector<const NetworkInterface*>& lanas = Lanas();
  // A whole LANA_ENUM and an ADAPTER_STATUS are the least room the commands
  // accept.
  switch (block.command) {
    case kNcbEnumerate: {
      if (block.buffer == nullptr) return kNrcBadAddress;
      if (block.length < kLanaEnumSize) return kNrcBufferLength;
      std::fill_n(block.buffer, kLanaEnumSize, 0);
      const std::size_t count = std::min<std::size_t>(lanas.size(), kLanaEnumSize - 1);
      block.buffer[0] = static_cast<std::uint8_t>(count);
      for (std::size_t n = 0; n < count; ++n) block.buffer[1 + n] = static_cast<std::uint8_t>(n);
      return kNrcGood;
    }
    case kNcbReset:
      return block.lanaNumber < lanas.size() ? kNrcGood : kNrcBridge;
    case kNcbAdapterStatus: {
      if (block.lanaNumber >= lanas.size()) return kNrcBridge;
      if (block.buffer == nullptr) return kNrcBadAddress;
      if (block.length < adapter_status::kSize) return kNrcBufferLength;
      std::fill_n(block.buffer, adapter_status::kSize, 0);
      const std::vector<std::uint8_t>& address = lanas[block.lanaNumber]->hardwareAddress;
      std::copy(address.begin(), address.end(), block.buffer);
      block.buffer[adapter_status::kAdapterType] = adapter_status::kEthernet;
      return kNrcGood;
    }
    default:
      return kNrcIllegalCommand;
  }
}

std::uint32_t LinuxIpHelper::GetAdaptersInfo(std::uint8_t* buffer, std::uint32_t& size) {
  return ip_helper_records::WriteAdapters(AdapterRecords(network_.Interfaces(), network_.DefaultRoutes()), buffer,
                                          size);
}

std::uint32_t LinuxIpHelper::GetNetworkParams(std::uint8_t* buffer, std::uint32_t& size) {
  if (!params_) params_ = NetworkParams(network_.HostName().value_or(""), network_.ResolvConf());
  return ip_helper_records::WriteNetworkParams(*params_, buffer, size);
}

}  // namespace tolvaren::platform::linux_backend
