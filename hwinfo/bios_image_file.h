#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "hwinfo/bios_image.h"
#include "platform/exception.h"
#include "platform/file_system.h"

namespace tolvaren {

// A saved firmware image that cannot be read or is of no layout the tool
// knows; the message names the file and the reason.
class EBiosImageFile : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EBiosImageFile"; }
};

// Files larger than this are refused; the largest layout, a dmidecode dump of
// a 3.x table, stays far below it.
inline constexpr std::size_t kMaxBiosImageFileSize = 0x100000;

// Fills the image from the bytes of a saved file, whose layout is recognised
// from its content:
//   - exactly 131,072 bytes: a BIOS area image, used as it is;
//   - an entry point at offset 0 ("_SM_", "_SM3_", "_DMI_"): dmidecode's
//     --dump-bin layout, with the table at offset 20h;
//   - an 8-byte header whose length fits the file: the table Windows returns
//     for 'RSMB'.
// The tables of the last two are synthesized into an area image, with a table
// too large for a 2.x entry point kept in `high`. Returns empty when the
// image was filled, otherwise why not; the image is then unchanged.
std::string LoadBiosImageBytes(std::span<const std::uint8_t> bytes, BiosImage& image, HighTable& high);

// Reads the file or folder at `path` (a folder holds the two files of Linux'
// /sys/firmware/dmi/tables: smbios_entry_point and DMI) into the image.
// Raises EBiosImageFile when it cannot.
void LoadBiosImageFile(platform::FileSystem& files, const std::string& path, BiosImage& image, HighTable& high);

}  // namespace tolvaren
