// Feeds arbitrary bytes to what reads the machine's network configuration:
// the resolv.conf and route-table parsers of the Linux backend, and the walk
// of the IP Helper records, given the bytes as the buffer GetAdaptersInfo and
// GetNetworkParams fill. In that buffer every nonzero pointer-sized word
// smaller than the buffer is taken as an offset and turned into the address
// it names, so the fuzzer can build links that lead anywhere inside.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "dns/socket_stack.h"
#include "platform/fake/fake_network.h"
#include "platform/ipv4_address.h"
#include "platform/linux/network_sources.h"

using namespace tolvaren;

namespace {

constexpr std::size_t kLargestInput = 1 << 16;
constexpr std::size_t kMaxNameServers = 3;

platform::fake::FakeIpHelper::Call Answer(const std::uint8_t* data, std::size_t size) {
  return [data, size](std::uint8_t* buffer, std::uint32_t& room) -> std::uint32_t {
    if (buffer == nullptr || room < size) {
      room = static_cast<std::uint32_t>(size);
      return platform::IpHelper::kBufferOverflow;
    }
    std::memset(buffer, 0, room);
    if (size > 0) std::memcpy(buffer, data, size);
    const auto base = reinterpret_cast<std::uintptr_t>(buffer);
    for (std::size_t at = 0; at + sizeof(std::uintptr_t) <= size; at += sizeof(std::uintptr_t)) {
      std::uintptr_t word = 0;
      std::memcpy(&word, buffer + at, sizeof word);
      if (word == 0 || word >= size) continue;
      word += base;
      std::memcpy(buffer + at, &word, sizeof word);
    }
    return 0;
  };
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kLargestInput) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::vector<std::string> servers = platform::linux_backend::ResolvConfIpv4Servers(text);
  if (servers.size() > kMaxNameServers) __builtin_trap();
  for (const std::string& server : servers) {
    // Each server is reported as a plain dotted quad that reads back the same.
    if (!dns::IsDottedQuad(server)) __builtin_trap();
    const auto address = platform::ParseIpv4(server);
    if (!address || platform::FormatIpv4(*address) != server) __builtin_trap();
  }
  for (const auto& route : platform::linux_backend::ParseDefaultRoutes(text)) {
    if (route.interfaceName.empty()) __builtin_trap();
  }

  platform::fake::FakeIpHelper ipHelper;
  ipHelper.adaptersInfo = Answer(data, size);
  ipHelper.networkParams = Answer(data, size);
  for (const auto& adapter : ipHelper.QueryAdapters()) {
    // A list holds at least its embedded item, however its links go.
    if (adapter.ipAddresses.empty()) __builtin_trap();
  }
  // The parameters were answered, so the embedded server item was read.
  const auto params = ipHelper.QueryNetworkParams();
  if (!params || params->dnsServers.empty()) __builtin_trap();
  return 0;
}
