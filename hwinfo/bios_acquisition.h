#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "hwinfo/bios_image.h"
#include "platform/exception.h"

namespace tolvaren {

struct Host;

// The physical-memory section opened but no view of it could be mapped.
class EPhysicalMemoryMap : public Exception {
 public:
  EPhysicalMemoryMap() : Exception("Cannot map physical memory to process memory!\r\n") {}
  const char* ClassName() const noexcept override { return "EPhysicalMemoryMap"; }
};

// The variable that names a saved firmware image to read instead of the
// running machine.
inline constexpr char kBiosImageVariable[] = "TOLVAREN_BIOS_IMAGE";

// The image a TOLVAREN_BIOS_IMAGE file or folder gave, or why it gave none.
struct SavedBiosImage {
  std::string error;  // the EBiosImageFile message; empty when the image was read
  BiosImagePtr image = NewZeroedBiosImage();
  HighTable high;
};

// The image TOLVAREN_BIOS_IMAGE names, read on first use and then kept on the
// host; null when the variable is not set (or empty).
std::shared_ptr<const SavedBiosImage> SavedBiosImageOf(Host& host);

// When TOLVAREN_BIOS_IMAGE is set (non-empty): why the image it names cannot
// be used, as a message naming the path and the reason; nothing when it can,
// or when the variable is not set, so every action can refuse to run before
// it prints or changes anything. A raw image (a readable regular file of
// exactly the BIOS area's size) can always be used: its bytes wait for the
// SMBIOS reader, so a run that reads no firmware value never loads them. Any
// other file or folder is read here, once per run, and kept on the host.
std::optional<std::string> CheckBiosImageOverride(Host& host);

// Fills the image with the BIOS area of the running machine, trying its
// sources in turn until one gives a usable image (an entry point whose table
// lies inside the area):
//   Windows: the classic copy for the system family (direct on 95/98/Me, the
//            physical-memory section or the DOS dump fallback on NT), then
//            the firmware-table call's 'RSMB' table, synthesized;
//   Linux:   the tables in /sys/firmware/dmi/tables, synthesized, then
//            /dev/mem.
// When TOLVAREN_BIOS_IMAGE names a file or folder, that is the only source
// (read once per run, as CheckBiosImageOverride reads it); it raises
// EBiosImageFile when the file cannot be read or recognised.
// False when no source gave a usable image; this is not an error, the reader
// then finds nothing. Raises EPhysicalMemoryMap as described above.
// A table too large for the area is kept in `high` (emptied otherwise).
bool AcquireBiosImage(Host& host, std::uint32_t base, BiosImage& image, HighTable& high);

// The copy of the BIOS area the way the system family allows it: the direct
// copy when the system is not of the NT family, else the physical-memory
// section, else the DOS dump of the two segments.
bool CopyBiosAreaClassic(Host& host, std::uint32_t base, BiosImage& image);

}  // namespace tolvaren
