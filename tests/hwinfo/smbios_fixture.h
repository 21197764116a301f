#pragma once

#include <memory>

#include "core/host.h"
#include "hwinfo/bios_acquisition.h"
#include "hwinfo/smbios.h"
#include "platform/fake/fake_machine.h"
#include "smbios_image_builder.h"

namespace tolvaren::testing {

// Gives the host the image as the saved one TOLVAREN_BIOS_IMAGE names, which
// the reader's GetInfo(1) decodes, usable or not, in place of the machine's.
inline void HoldBiosImage(Host& host, const BiosImage& image, const HighTable& high = {}) {
  auto saved = std::make_shared<SavedBiosImage>();
  *saved->image = image;
  saved->high = high;
  host.savedBiosImage = std::move(saved);
}

// A TSMBIOS on the fake machine that decodes images given to it.
struct SmbiosOnFake {
  platform::fake::FakeMachine machine;
  Host host{Host::StartUp(machine.platform())};
  TSMBIOS smbios{host};

  TSMBIOS& Decode(const BiosImage& image, const HighTable& high = {}) {
    HoldBiosImage(host, image, high);
    smbios.GetInfo(1);
    return smbios;
  }
  TSMBIOS& Decode(const SmbiosImageBuilder& builder) { return Decode(builder.Build()); }
};

}  // namespace tolvaren::testing
