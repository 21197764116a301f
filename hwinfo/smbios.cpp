#include "hwinfo/smbios.h"

#include "hwinfo/bios_acquisition.h"

namespace tolvaren {

TSMBIOS::TSMBIOS(Host& host) : host_(host), image_(std::make_unique<BiosImage>()) {}

TSMBIOS::~TSMBIOS() = default;

// The decoder is not part of the tool yet: the image is acquired, nothing is
// read from it.
void TSMBIOS::GetInfo(int mode) {
  if (mode == 1) AcquireBiosImage(host_, kBiosAreaBase, *image_);
}

void TSMBIOS::Report(StringList& /*lines*/) const {}

}  // namespace tolvaren
