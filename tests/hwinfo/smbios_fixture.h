#pragma once

#include <memory>

#include "core/host.h"
#include "hwinfo/smbios.h"
#include "platform/fake/fake_machine.h"
#include "smbios_image_builder.h"

namespace tolvaren::testing {

// A TSMBIOS on the fake machine that decodes images given to it.
struct SmbiosOnFake {
  platform::fake::FakeMachine machine;
  Host host{Host::StartUp(machine.platform())};
  TSMBIOS smbios{host};

  TSMBIOS& Decode(const BiosImage& image) {
    smbios.Image() = image;
    smbios.GetInfo(0);
    return smbios;
  }
  TSMBIOS& Decode(const SmbiosImageBuilder& builder) { return Decode(builder.Build()); }
};

}  // namespace tolvaren::testing
