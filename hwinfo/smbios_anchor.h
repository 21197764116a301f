#pragma once

#include <cstdint>
#include <string_view>

#include "hwinfo/bios_image.h"
#include "hwinfo/bios_image_reader.h"
#include "hwinfo/smbios_layout.h"

namespace tolvaren {

// The physical address of the first occurrence of the anchor text, in
// ascending order and at any alignment, whose bytes end before the image's
// last byte; 0 when there is none.
std::uint32_t FindAnchor(const BiosImage& image, std::string_view anchor);

// The physical address the SMBIOS reader takes as its entry point: the first
// "_SM_" anchor in ascending order, else 16 bytes before the first "_DMI_",
// else the first "_SM3_"; 0 when the image holds none of them.
std::uint32_t FindEntryPointAddress(const BiosImage& image);

// True when the entry point at `entry` is a 3.x one ("_SM3_").
bool IsSm3EntryPoint(const BiosImageReader& reader, std::uint32_t entry);

// The address of the structure table the entry point at `entry` names: the
// 64-bit one of a "_SM3_" entry point, else the 32-bit one of a 2.x or
// legacy one.
std::uint64_t EntryPointTableAddress(const BiosImageReader& reader, std::uint32_t entry);

// True when the image has an entry point whose structure table lies inside
// the BIOS area, or inside the table kept above it, so the reader can decode
// it.
bool IsUsableBiosImage(const BiosImage& image, const HighTable& high);

}  // namespace tolvaren
