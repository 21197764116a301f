#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tolvaren {

// A hardware address as its bytes in upper-case hexadecimal, two digits
// each, joined by ":" (00:0C:29:AB:0D:EF); empty for no bytes.
inline std::string HardwareAddressText(std::span<const std::uint8_t> bytes) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (const std::uint8_t byte : bytes) {
    if (!text.empty()) text += ':';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

}  // namespace tolvaren
