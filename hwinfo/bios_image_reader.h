#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "hwinfo/bios_image.h"
#include "platform/byte_view.h"

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
    const Located at = Locate(address, 1);
    return at.region.U8(at.offset).value_or(0);
  }

  std::uint16_t ImageWord(std::uint64_t address) const {
    const Located at = Locate(address, 2);
    return at.region.U16Le(at.offset).value_or(0);
  }

  std::uint32_t ImageDWord(std::uint64_t address) const {
    const Located at = Locate(address, 4);
    return at.region.U32Le(at.offset).value_or(0);
  }

  std::uint64_t ImageQWord(std::uint64_t address) const {
    const Located at = Locate(address, 8);
    return at.region.U64Le(at.offset).value_or(0);
  }

  // N bytes from the address, or N zeros when they do not all lie inside.
  template <std::size_t N>
  std::array<std::uint8_t, N> ImageBlock(std::uint64_t address) const {
    std::array<std::uint8_t, N> block{};
    const Located at = Locate(address, N);
    const auto bytes = at.region.Sub(at.offset, N).Span();
    if (bytes.size() == N) std::copy(bytes.begin(), bytes.end(), block.begin());
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
  // The region that holds an address, cut where a read of a given size must
  // end, and the address's offset in it.
  struct Located {
    ByteView region;
    std::size_t offset = 0;
  };

  // In the area, multi-byte reads stop one byte short of the image's end; a
  // single byte may be the last one. An address in neither region gives an
  // empty view, so every read there answers nothing.
  Located Locate(std::uint64_t address, std::size_t size) const {
    if (address >= kBiosAreaBase && address <= kBiosAreaLast) {
      const std::size_t readable = size == 1 ? image_.size() : image_.size() - 1;
      return {ByteView(std::span<const std::uint8_t>(image_.data(), readable)),
              static_cast<std::size_t>(address - kBiosAreaBase)};
    }
    if (high_ == nullptr || address < high_->address || address - high_->address >= high_->bytes.size()) return {};
    return {ByteView(high_->bytes), static_cast<std::size_t>(address - high_->address)};
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
