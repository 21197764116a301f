// Decodes arbitrary BIOS area images: the input is placed at physical
// 0xE0000 of an otherwise zero image. When the input begins with an entry
// point whose table address is below 0x20000, that address is taken as an
// offset into the input (the layout of dmidecode's --dump-bin files), so the
// seeds' tables are reached and the fuzzer mostly mutates the table itself.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/host.h"
#include "hwinfo/bios_acquisition.h"
#include "hwinfo/smbios.h"
#include "hwinfo/smbios_anchor.h"
#include "hwinfo/smbios_layout.h"
#include "platform/fake/fake_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolvaren;
  static platform::fake::FakeMachine machine;
  static Host host = Host::StartUp(machine.platform());
  static TSMBIOS smbios(host);
  // Handed over as the saved image TOLVAREN_BIOS_IMAGE names, which
  // GetInfo(1) decodes whether usable or not.
  static const auto saved = std::make_shared<SavedBiosImage>();
  host.savedBiosImage = saved;

  BiosImage& image = *saved->image;
  image.fill(0);
  std::copy_n(data, std::min(size, image.size()), image.begin());
  if (size >= kEntryTableAddress + 4) {
    std::uint32_t table = 0;
    for (int i = 0; i < 4; ++i) table |= std::uint32_t{image[kEntryTableAddress + i]} << (8 * i);
    if (table < kBiosAreaSize) {
      table += kBiosAreaBase;
      for (int i = 0; i < 4; ++i) image[kEntryTableAddress + i] = static_cast<std::uint8_t>(table >> (8 * i));
    }
  }

  (void)IsUsableBiosImage(image, saved->high);
  smbios.GetInfo(1);
  StringList lines;
  smbios.Report(lines);
  // The UUID is always empty or 32 upper-case hexadecimal digits.
  const std::string& uuid = smbios.SystemUUID();
  if (!uuid.empty() && (uuid.size() != 32 || uuid.find_first_not_of("0123456789ABCDEF") != std::string::npos)) {
    __builtin_trap();
  }
  return 0;
}
