#pragma once

#include <cstdint>

#include "hwinfo/bios_image.h"

namespace tolvaren {

// The physical address the SMBIOS reader takes as its entry point: the first
// "_SM_" anchor in ascending order, else 16 bytes before the first "_DMI_";
// 0 when the image holds neither.
std::uint32_t FindEntryPointAddress(const BiosImage& image);

// True when the image has an entry point whose structure table lies inside
// the BIOS area, so the reader can decode it.
bool IsUsableBiosImage(const BiosImage& image);

}  // namespace tolvaren
