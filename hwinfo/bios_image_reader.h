#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "hwinfo/bios_image.h"

namespace tolvaren {

// The one gate through which the SMBIOS decoders read the BIOS area image
// and, where there is one, the table kept above it. Addresses are physical;
// anything outside 0xE0000 to 0xFFFFF and outside the high table reads as
// zero, a multi-byte read lies wholly inside one of the two, and in the area
// it never includes the image's last byte, so no input can make a decoder
// read outside them.
class BiosImageReader {
 public:
  explicit BiosImageReader(const BiosImage& image, const HighTable* high = nullptr) : image_(image), high_(high) {}

  std::uint8_t ImageByte(std::uint64_t address) const {
    const std::uint8_t* at = At(address, 1);
    return at ? at[0] : 0;
  }

  std::uint16_t ImageWord(std::uint64_t address) const {
    const std::uint8_t* at = At(address, 2);
    return at ? static_cast<std::uint16_t>(at[0] | (at[1] << 8)) : 0;
  }

  std::uint32_t ImageDWord(std::uint64_t address) const {
    const std::uint8_t* at = At(address, 4);
    return at ? at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<std::uint32_t>(at[3]) << 24) : 0;
  }

  std::uint64_t ImageQWord(std::uint64_t address) const {
    if (At(address, 8) == nullptr) return 0;
    return ImageDWord(address) | static_cast<std::uint64_t>(ImageDWord(address + 4)) << 32;
  }

  // N bytes from the address, or N zeros when they do not all lie inside.
  template <std::size_t N>
  std::array<std::uint8_t, N> ImageBlock(std::uint64_t address) const {
    std::array<std::uint8_t, N> block{};
    if (const std::uint8_t* at = At(address, N)) std::copy(at, at + N, block.begin());
    return block;
  }

  // The last address of the region (the area or the high table) that holds
  // `address`; 0 when neither does. Walks over the bytes stop there.
  std::uint64_t RegionLast(std::uint64_t address) const;

  // String number `index` of the string set that follows the formatted area
  // of the structure at `structure`, trimmed of codes 0 to 32 at both ends,
  // with every control byte left inside shown as "." (DotControlBytes).
  // Index 0, or an index past the double zero that ends the set, gives the
  // empty string. A string is cut to 255 bytes and to the image's end.
  std::string ReadStructString(std::uint32_t structure, std::uint8_t index) const;

  const BiosImage& Image() const { return image_; }

 private:
  // The `size` bytes from the address when they all lie in one region, else
  // null. In the area, multi-byte reads stop one byte short of the image's
  // end; a single byte may be the last one.
  const std::uint8_t* At(std::uint64_t address, std::size_t size) const {
    if (address >= kBiosAreaBase && address <= kBiosAreaLast) {
      if (size == 1 || address + size <= kBiosAreaLast) return image_.data() + (address - kBiosAreaBase);
      return nullptr;
    }
    if (high_ == nullptr || address < high_->address) return nullptr;
    const std::uint64_t offset = address - high_->address;
    const std::size_t length = high_->bytes.size();
    if (offset >= length || size > length - offset) return nullptr;
    return high_->bytes.data() + offset;
  }

  const BiosImage& image_;
  const HighTable* high_;
};

// Removes characters with codes 0 to 32 from both ends.
std::string TrimControlAndBlank(std::string text);

// Shows each byte below 32 and the byte 127 as ".", as dmidecode does. Every
// firmware string passes through here where it is decoded, so no reader of
// the fields (the summary, the macros, the name a rename writes, the reports)
// ever hands a line break or a terminal escape sequence on.
std::string DotControlBytes(std::string text);

}  // namespace tolvaren
