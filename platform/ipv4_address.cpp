#include "platform/ipv4_address.h"

namespace tolvaren::platform {

std::string FormatIpv4(const Ipv4Bytes& address) {
  return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." + std::to_string(address[2]) + "." +
         std::to_string(address[3]);
}

std::optional<Ipv4Bytes> ParseIpv4(std::string_view text) {
  Ipv4Bytes address{};
  std::size_t at = 0;
  for (std::size_t octet = 0; octet < address.size(); ++octet) {
    if (octet > 0) {
      if (at >= text.size() || text[at] != '.') return std::nullopt;
      ++at;
    }
    const std::size_t first = at;
    unsigned value = 0;
    while (at < text.size() && at - first < 3 && text[at] >= '0' && text[at] <= '9') {
      value = value * 10 + static_cast<unsigned>(text[at] - '0');
      ++at;
    }
    const std::size_t digits = at - first;
    if (digits == 0 || value > 255 || (digits > 1 && text[first] == '0')) return std::nullopt;
    address[octet] = static_cast<std::uint8_t>(value);
  }
  if (at != text.size()) return std::nullopt;
  return address;
}

}  // namespace tolvaren::platform
