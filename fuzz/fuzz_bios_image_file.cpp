// Feeds arbitrary bytes to the saved-image loader: once as a file of any
// layout, and once split into the two files of a sysfs folder.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "hwinfo/bios_image_file.h"
#include "hwinfo/smbios_anchor.h"
#include "platform/fake/fake_files.h"

using tolvaren::BiosImage;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static auto image = std::make_unique<BiosImage>();
  static tolvaren::HighTable high;
  const std::span<const std::uint8_t> bytes(data, size);
  if (tolvaren::LoadBiosImageBytes(bytes, *image, high).empty()) tolvaren::IsUsableBiosImage(*image, high);

  if (size > 0) {
    const std::size_t split = std::min<std::size_t>(data[0] % 48, size - 1);
    tolvaren::platform::fake::FakeFileSystem files;
    files.folders.insert("dmi");
    files.files["dmi/smbios_entry_point"].assign(data + 1, data + 1 + split);
    files.files["dmi/DMI"].assign(data + 1 + split, data + size);
    try {
      tolvaren::LoadBiosImageFile(files, "dmi", *image, high);
      tolvaren::IsUsableBiosImage(*image, high);
    } catch (const tolvaren::EBiosImageFile&) {
    }
  }
  return 0;
}
