#pragma once

#include <cstdint>

#include "hwinfo/bios_image.h"
#include "hwinfo/host.h"
#include "platform/exception.h"

namespace tolvaren {

// Fills the image with the BIOS area of the running machine (or of the saved
// image that TOLVAREN_BIOS_IMAGE names). False when no source gave a usable
// image; this is not an error, the reader then finds nothing.
bool AcquireBiosImage(Host& host, std::uint32_t base, BiosImage& image);

}  // namespace tolvaren
