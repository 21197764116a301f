#include "hwinfo/smbios_anchor.h"

#include <cstring>

namespace tolvaren {
namespace {

std::uint32_t ScanFor(const BiosImage& image, const char* anchor, std::size_t length) {
  for (std::size_t i = 0; i + length <= image.size() - 1; ++i) {
    if (std::memcmp(image.data() + i, anchor, length) == 0) return static_cast<std::uint32_t>(kBiosAreaBase + i);
  }
  return 0;
}

std::uint32_t DWordAt(const BiosImage& image, std::uint32_t address) {
  if (address < kBiosAreaBase || address > kBiosAreaLast - 3) return 0;
  const std::size_t i = address - kBiosAreaBase;
  return image[i] | (image[i + 1] << 8) | (image[i + 2] << 16) | (static_cast<std::uint32_t>(image[i + 3]) << 24);
}

}  // namespace

std::uint32_t FindEntryPointAddress(const BiosImage& image) {
  if (const std::uint32_t sm = ScanFor(image, "_SM_", 4)) return sm;
  if (const std::uint32_t dmi = ScanFor(image, "_DMI_", 5)) return dmi - 16;
  return 0;
}

bool IsUsableBiosImage(const BiosImage& image) {
  const std::uint32_t entry = FindEntryPointAddress(image);
  if (entry == 0) return false;
  const std::uint32_t table = DWordAt(image, entry + 0x18);
  return table >= kBiosAreaBase && table <= kBiosAreaLast;
}

}  // namespace tolvaren
