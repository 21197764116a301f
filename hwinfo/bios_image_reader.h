#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "hwinfo/bios_image.h"

namespace tolvaren {

// The one gate through which the SMBIOS decoders read the BIOS area image.
// Addresses are physical; anything outside 0xE0000 to 0xFFFFF reads as zero,
// and a multi-byte read never includes the image's last byte, so no input
// can make a decoder read outside the image.
class BiosImageReader {
 public:
  explicit BiosImageReader(const BiosImage& image) : image_(image) {}

  std::uint8_t ImageByte(std::uint64_t address) const {
    return Inside(address, 1) ? image_[address - kBiosAreaBase] : 0;
  }

  std::uint16_t ImageWord(std::uint64_t address) const {
    if (!Inside(address, 2)) return 0;
    const std::size_t i = address - kBiosAreaBase;
    return static_cast<std::uint16_t>(image_[i] | (image_[i + 1] << 8));
  }

  std::uint32_t ImageDWord(std::uint64_t address) const {
    if (!Inside(address, 4)) return 0;
    const std::size_t i = address - kBiosAreaBase;
    return image_[i] | (image_[i + 1] << 8) | (image_[i + 2] << 16) | (static_cast<std::uint32_t>(image_[i + 3]) << 24);
  }

  // N bytes from the address, or N zeros when they do not all lie inside.
  template <std::size_t N>
  std::array<std::uint8_t, N> ImageBlock(std::uint64_t address) const {
    std::array<std::uint8_t, N> block{};
    if (address >= kBiosAreaBase && address + N <= kBiosAreaLast) {
      for (std::size_t i = 0; i < N; ++i) block[i] = image_[address - kBiosAreaBase + i];
    }
    return block;
  }

  // String number `index` of the string set that follows the formatted area
  // of the structure at `structure`, trimmed of codes 0 to 32 at both ends,
  // with every control byte left inside shown as "." (DotControlBytes).
  // Index 0, or an index past the double zero that ends the set, gives the
  // empty string. A string is cut to 255 bytes and to the image's end.
  std::string ReadStructString(std::uint32_t structure, std::uint8_t index) const;

  const BiosImage& Image() const { return image_; }

 private:
  // Multi-byte reads stop one byte short of the image's end; a single byte
  // may be the last one.
  static bool Inside(std::uint64_t address, std::size_t size) {
    if (address < kBiosAreaBase) return false;
    if (size == 1) return address <= kBiosAreaLast;
    return address + size <= kBiosAreaLast;
  }

  const BiosImage& image_;
};

// Removes characters with codes 0 to 32 from both ends.
std::string TrimControlAndBlank(std::string text);

// Shows each byte below 32 and the byte 127 as ".", as dmidecode does. Every
// firmware string passes through here where it is decoded, so no reader of
// the fields (the summary, the macros, the name a rename writes, the reports)
// ever hands a line break or a terminal escape sequence on.
std::string DotControlBytes(std::string text);

}  // namespace tolvaren
