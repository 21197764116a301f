#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace tolvaren {

// A hardware address as its bytes in upper-case hexadecimal, two digits
// each, joined by ":" (00:0C:29:AB:0D:EF); empty for no bytes.
inline std::string HardwareAddressText(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    if (!text.empty()) text += ':';
    text += hex;
  }
  return text;
}

}  // namespace tolvaren
