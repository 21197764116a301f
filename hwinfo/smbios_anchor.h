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

// The physical address the SMBIOS reader takes as its entry point. Kinds are
// tried in the order "_SM_", "_DMI_" (taken 16 bytes before it, where a 2.x
// entry point begins), "_SM3_"; with `trustAll` false (a partial image) only
// "_DMI_" is. The first candidate that validates wins: on a 16-byte
// boundary, as firmware places entry points, with its checksums summing to
// zero (and a 2.x one holding its "_DMI_" part). Only when no candidate
// validates is the first anchor at any alignment taken, in the same order,
// so a stray anchor text before the real entry point does not hide it; 0
// when the image holds no anchor at all.
std::uint32_t FindEntryPointAddress(const BiosImage& image, bool trustAll = true);

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
