#include "hwinfo/smbios_source.h"

#include "hwinfo/smbios_layout.h"
#include "platform/byte_view.h"

namespace tolvaren {
namespace {

// Windows' raw SMBIOS data header.
constexpr std::size_t kRsmbMajor = 1;
constexpr std::size_t kRsmbMinor = 2;
constexpr std::size_t kRsmbLength = 4;
constexpr std::size_t kRsmbHeaderSize = 8;

}  // namespace

// Each branch first checks that the bytes reach its last field, so the reads
// after the check cannot come up short.
std::optional<SmbiosSource> ReadSourceEntryPoint(std::span<const std::uint8_t> bytes) {
  const ByteView in(bytes);
  SmbiosSource source;
  if (in.Matches(0, kSmAnchor)) {
    if (!in.Holds(0, kEntryStructureCount + 2)) return std::nullopt;
    source.majorVersion = *in.U8(kEntryMajorVersion);
    source.minorVersion = *in.U8(kEntryMinorVersion);
    source.tableLength = *in.U16Le(kEntryTableLength);
    source.structureCount = *in.U16Le(kEntryStructureCount);
    return source;
  }
  if (in.Matches(0, kSm3Anchor)) {
    if (!in.Holds(0, kEntry3PointSize)) return std::nullopt;
    source.majorVersion = *in.U8(kEntry3MajorVersion);
    source.minorVersion = *in.U8(kEntry3MinorVersion);
    source.tableMaximum = *in.U32Le(kEntry3TableMaximum);
    return source;
  }
  if (in.Matches(0, kDmiAnchor)) {
    if (!in.Holds(0, kLegacyPointSize)) return std::nullopt;
    const std::uint8_t bcd = *in.U8(kLegacyBcdRevision);
    source.majorVersion = bcd >> 4;
    source.minorVersion = bcd & 0x0F;
    source.tableLength = *in.U16Le(kLegacyTableLength);
    source.structureCount = *in.U16Le(kLegacyStructureCount);
    return source;
  }
  return std::nullopt;
}

std::optional<SmbiosSource> ReadRawSmbiosBlob(std::span<const std::uint8_t> bytes) {
  const ByteView in(bytes);
  if (!in.Holds(0, kRsmbHeaderSize)) return std::nullopt;
  const std::uint32_t length = *in.U32Le(kRsmbLength);
  if (!in.Holds(kRsmbHeaderSize, length)) return std::nullopt;
  SmbiosSource source;
  source.majorVersion = *in.U8(kRsmbMajor);
  source.minorVersion = *in.U8(kRsmbMinor);
  const auto table = in.Sub(kRsmbHeaderSize, length).Span();
  source.table.assign(table.begin(), table.end());
  return source;
}

}  // namespace tolvaren
