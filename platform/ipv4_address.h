#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvaren::platform {

using Ipv4Bytes = std::array<std::uint8_t, 4>;  // network order

// "a.b.c.d" in decimal, the form every report and packet log uses.
std::string FormatIpv4(const Ipv4Bytes& address);

// The address of an exact dotted quad: four decimal numbers from 0 to 255,
// one to three digits each with no leading zero, no sign and no spaces.
// Anything else, "1.2.3" or "01.2.3.4" or "1.2.3.4 " included, is nothing.
std::optional<Ipv4Bytes> ParseIpv4(std::string_view text);

}  // namespace tolvaren::platform
