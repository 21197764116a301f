#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tolvaren {

// The BIOS area of physical memory, 0xE0000 to 0xFFFFF: the real-mode
// segments E000h and F000h, where SMBIOS 2.x firmware keeps its entry point.
inline constexpr std::uint32_t kBiosAreaBase = 0xE0000;
inline constexpr std::uint32_t kBiosAreaLast = 0xFFFFF;
inline constexpr std::size_t kBiosAreaSize = 0x20000;
inline constexpr std::size_t kBiosSegmentSize = 0x10000;

// Byte i holds physical address kBiosAreaBase + i.
using BiosImage = std::array<std::uint8_t, kBiosAreaSize>;

struct BiosImageDeleter {
  void operator()(BiosImage* image) const noexcept;
};
using BiosImagePtr = std::unique_ptr<BiosImage, BiosImageDeleter>;

// An SMBIOS structure table that lies outside the BIOS area, as SMBIOS 3.x
// firmware keeps it in memory above the first megabyte: its bytes and the
// physical address of the first one. A table handed over by another source
// (sysfs, the firmware-table call, a saved file) that is too large for a 2.x
// entry point is kept here, with a 3.x entry point in the area pointing at
// it. No bytes: the table lies in the area, or the area is all there is.
struct HighTable {
  std::uint32_t address = 0;
  std::vector<std::uint8_t> bytes;
};

// A new image of zeros. It comes from calloc, which gets a block this large as
// fresh zero pages from the system instead of clearing it byte by byte: a run
// of the tool costs little more than starting the process.
BiosImagePtr NewZeroedBiosImage();

}  // namespace tolvaren
