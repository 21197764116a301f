#include "hwinfo/smbios_source.h"

#include "hwinfo/byte_reader.h"

namespace tolvaren {
namespace {

// SMBIOS 2.x entry point ("_SM_" ... "_DMI_" at 10h).
constexpr std::size_t kSm2Major = 0x06;
constexpr std::size_t kSm2Minor = 0x07;
constexpr std::size_t kSm2TableLength = 0x16;
constexpr std::size_t kSm2StructureCount = 0x1C;
constexpr std::size_t kSm2MinimumSize = 0x1E;

// SMBIOS 3.x entry point ("_SM3_").
constexpr std::size_t kSm3Major = 0x07;
constexpr std::size_t kSm3Minor = 0x08;
constexpr std::size_t kSm3TableMaximum = 0x0C;
constexpr std::size_t kSm3MinimumSize = 0x18;

// Legacy DMI entry point ("_DMI_" alone).
constexpr std::size_t kDmiTableLength = 0x06;
constexpr std::size_t kDmiStructureCount = 0x0C;
constexpr std::size_t kDmiBcdRevision = 0x0E;
constexpr std::size_t kDmiMinimumSize = 0x0F;

// Windows' raw SMBIOS data header.
constexpr std::size_t kRsmbMajor = 1;
constexpr std::size_t kRsmbMinor = 2;
constexpr std::size_t kRsmbLength = 4;
constexpr std::size_t kRsmbHeaderSize = 8;

}  // namespace

std::optional<SmbiosSource> ReadSourceEntryPoint(std::span<const std::uint8_t> bytes) {
  const ByteReader in(bytes);
  SmbiosSource source;
  if (in.TextAt(0, "_SM_")) {
    if (!in.Has(0, kSm2MinimumSize)) return std::nullopt;
    source.majorVersion = in.Byte(kSm2Major);
    source.minorVersion = in.Byte(kSm2Minor);
    source.tableLength = in.Word(kSm2TableLength);
    source.structureCount = in.Word(kSm2StructureCount);
    return source;
  }
  if (in.TextAt(0, "_SM3_")) {
    if (!in.Has(0, kSm3MinimumSize)) return std::nullopt;
    source.majorVersion = in.Byte(kSm3Major);
    source.minorVersion = in.Byte(kSm3Minor);
    source.tableMaximum = in.DWord(kSm3TableMaximum);
    return source;
  }
  if (in.TextAt(0, "_DMI_")) {
    if (!in.Has(0, kDmiMinimumSize)) return std::nullopt;
    source.majorVersion = in.Byte(kDmiBcdRevision) >> 4;
    source.minorVersion = in.Byte(kDmiBcdRevision) & 0x0F;
    source.tableLength = in.Word(kDmiTableLength);
    source.structureCount = in.Word(kDmiStructureCount);
    return source;
  }
  return std::nullopt;
}

std::optional<SmbiosSource> ReadRawSmbiosBlob(std::span<const std::uint8_t> bytes) {
  const ByteReader in(bytes);
  if (!in.Has(0, kRsmbHeaderSize)) return std::nullopt;
  const std::uint32_t length = in.DWord(kRsmbLength);
  if (!in.Has(kRsmbHeaderSize, length)) return std::nullopt;
  SmbiosSource source;
  source.majorVersion = in.Byte(kRsmbMajor);
  source.minorVersion = in.Byte(kRsmbMinor);
  const auto table = in.Slice(kRsmbHeaderSize, length);
  source.table.assign(table.begin(), table.end());
  return source;
}

}  // namespace tolvaren
