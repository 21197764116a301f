#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tolvaren {

// The one gate through which bytes from outside files are read: every read is
// checked against the length, and a read past the end gives zeros.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Size() const { return bytes_.size(); }
  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

  std::uint8_t Byte(std::size_t offset) const { return offset < bytes_.size() ? bytes_[offset] : 0; }
  std::uint16_t Word(std::size_t offset) const {
    return static_cast<std::uint16_t>(Byte(offset) | Byte(offset + 1) << 8);
  }
  std::uint32_t DWord(std::size_t offset) const {
    return Word(offset) | static_cast<std::uint32_t>(Word(offset + 2)) << 16;
  }
  std::uint64_t QWord(std::size_t offset) const {
    return DWord(offset) | static_cast<std::uint64_t>(DWord(offset + 4)) << 32;
  }

  bool TextAt(std::size_t offset, std::string_view text) const {
    if (!Has(offset, text.size())) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (bytes_[offset + i] != static_cast<std::uint8_t>(text[i])) return false;
    }
    return true;
  }

  // The bytes from `offset` on, at most `count` of them; empty past the end.
  std::span<const std::uint8_t> Slice(std::size_t offset, std::size_t count) const {
    if (offset >= bytes_.size()) return {};
    return bytes_.subspan(offset, count < bytes_.size() - offset ? count : bytes_.size() - offset);
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace tolvaren
