#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "hwinfo/bios_image.h"
#include "hwinfo/smbios_source.h"

namespace tolvaren {

// How much of a structure table holds whole structures.
struct TableExtent {
  std::size_t length = 0;              // bytes up to the end of the last whole structure
  std::uint32_t count = 0;             // structures, End-of-Table included
  std::uint16_t largestStructure = 0;  // formatted area plus strings
};

// Walks the table from its first byte and stops after End-of-Table (type 127),
// before a structure that is malformed (formatted length below 4) or runs past
// the bytes, or before one that would take the length past `limit`.
TableExtent MeasureTable(std::span<const std::uint8_t> table, std::size_t limit);

// Physical addresses of the SMBIOS 2.x entry point a synthesized image gets:
// the start of the F segment, or of the E segment when the table does not fit
// behind the entry point in the F segment.
inline constexpr std::uint32_t kSynthesizedEntryF = 0xF0000;
inline constexpr std::uint32_t kSynthesizedEntryE = 0xE0000;
inline constexpr std::uint32_t kSynthesizedTableOffset = 0x20;

// Where a table too large for a 2.x entry point is kept: above the area, as
// 3.x firmware keeps its table, and far enough above it that no walk of a
// table inside the area (at most 64 KiB past its end) reaches it.
inline constexpr std::uint32_t kSynthesizedHighTable = 0x200000;

// The longest table a 2.x entry point can announce.
inline constexpr std::size_t kMaxSm2TableLength = 0xFFFF;

// Builds a BIOS area image as firmware would lay it out: zeros, a valid
// 31-byte SMBIOS 2.x entry point ("_SM_" and "_DMI_", both checksums right)
// with the source's version, and the table right after it. A table longer
// than a 2.x entry point can announce goes into `high` instead, named by a
// valid 24-byte 3.x entry point ("_SM3_") at the start of the F segment;
// `high` is emptied otherwise.
void SynthesizeBiosImage(const SmbiosSource& source, BiosImage& image, HighTable& high);

}  // namespace tolvaren
