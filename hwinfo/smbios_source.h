#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tolvaren {

// An SMBIOS structure table as a source other than the BIOS area hands it
// over (sysfs, the firmware-table call, a saved dump), with what is known of
// it from the source's own entry point or header.
struct SmbiosSource {
  std::uint8_t majorVersion = 0;
  std::uint8_t minorVersion = 0;
  // Length and structure count when the source has a 2.x entry point (or a
  // legacy DMI one) that announces them; otherwise they are counted.
  std::optional<std::uint16_t> tableLength;
  std::optional<std::uint16_t> structureCount;
  // For a 3.x entry point: the announced maximum table size.
  std::optional<std::uint32_t> tableMaximum;
  std::vector<std::uint8_t> table;
};

// What an entry point at the start of `bytes` says: "_SM_" (2.x), "_SM3_"
// (3.x) or a stand-alone legacy "_DMI_". Nothing when there is none, or it is
// cut short. The table is left empty.
std::optional<SmbiosSource> ReadSourceEntryPoint(std::span<const std::uint8_t> bytes);

// The table that Windows' firmware-table call returns for 'RSMB': an 8-byte
// header (calling method, major, minor, DMI revision, 32-bit table length)
// followed by the table. Nothing when the header does not fit the bytes.
std::optional<SmbiosSource> ReadRawSmbiosBlob(std::span<const std::uint8_t> bytes);

}  // namespace tolvaren
