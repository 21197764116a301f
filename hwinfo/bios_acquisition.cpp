#include "hwinfo/bios_acquisition.h"

namespace tolvaren {

// No image source is wired in yet.
bool AcquireBiosImage(Host& /*host*/, std::uint32_t /*base*/, BiosImage& /*image*/) { return false; }

}  // namespace tolvaren
