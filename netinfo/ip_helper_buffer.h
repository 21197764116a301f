#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace tolvaren {

// The one gate through which the IP Helper records are read. The records lie
// in a buffer the platform filled and link to each other by real addresses;
// a link becomes an offset into the buffer only when the whole record it
// names lies inside, and every field read is checked against the buffer's
// length (bytes outside read as zero, texts outside as empty).
class IpHelperBuffer {
 public:
  explicit IpHelperBuffer(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  std::size_t Size() const { return bytes_.size(); }

  // True when count bytes from offset lie inside the buffer.
  bool Holds(std::size_t offset, std::size_t count) const { return offset <= Size() && count <= Size() - offset; }

  // The 32-bit word at offset in the machine's byte order; 0 outside.
  std::uint32_t Word32(std::size_t offset) const {
    std::uint32_t value = 0;
    if (Holds(offset, sizeof value)) std::memcpy(&value, bytes_.data() + offset, sizeof value);
    return value;
  }

  // The address stored at offset, in the build's pointer size; 0 outside.
  std::uintptr_t Address(std::size_t offset) const {
    std::uintptr_t value = 0;
    if (Holds(offset, sizeof value)) std::memcpy(&value, bytes_.data() + offset, sizeof value);
    return value;
  }

  // The offset of the record of recordSize bytes that the address at offset
  // names; nothing when the address is null or the record does not lie
  // wholly inside the buffer.
  std::optional<std::size_t> Link(std::size_t offset, std::size_t recordSize) const {
    const std::uintptr_t target = Address(offset);
    const auto base = reinterpret_cast<std::uintptr_t>(bytes_.data());
    if (target == 0 || target < base) return std::nullopt;
    const std::uintptr_t at = target - base;
    if (at > Size() || !Holds(static_cast<std::size_t>(at), recordSize)) return std::nullopt;
    return static_cast<std::size_t>(at);
  }

  // A fixed-size character array: its bytes up to the first zero byte.
  std::string Text(std::size_t offset, std::size_t capacity) const {
    std::string text;
    for (std::size_t i = 0; i < capacity && Holds(offset + i, 1); ++i) {
      const char c = static_cast<char>(bytes_[offset + i]);
      if (c == '\0') break;
      text += c;
    }
    return text;
  }

  // The byte at offset; 0 outside.
  std::uint8_t Byte(std::size_t offset) const { return Holds(offset, 1) ? bytes_[offset] : std::uint8_t{0}; }

 private:
  const std::vector<std::uint8_t>& bytes_;
};

}  // namespace tolvaren
