#pragma once

#include <cstdint>
#include <string_view>

#include "hwinfo/bios_image.h"

namespace tolvaren {

inline constexpr std::string_view kSmAnchor = "_SM_";
inline constexpr std::string_view kDmiAnchor = "_DMI_";
// In an SMBIOS 2.x entry point the "_DMI_" anchor sits this far after "_SM_".
inline constexpr std::uint32_t kDmiAnchorOffset = 0x10;

// The physical address of the first occurrence of the anchor text, in
// ascending order and at any alignment, whose bytes end before the image's
// last byte; 0 when there is none.
std::uint32_t FindAnchor(const BiosImage& image, std::string_view anchor);

// The physical address the SMBIOS reader takes as its entry point: the first
// "_SM_" anchor in ascending order, else 16 bytes before the first "_DMI_";
// 0 when the image holds neither.
std::uint32_t FindEntryPointAddress(const BiosImage& image);

// True when the image has an entry point whose structure table lies inside
// the BIOS area, so the reader can decode it.
bool IsUsableBiosImage(const BiosImage& image);

}  // namespace tolvaren
