#include "hwinfo/smbios_synthesis.h"

#include <algorithm>
#include <array>

#include "hwinfo/byte_reader.h"
#include "hwinfo/smbios_anchor.h"
#include "hwinfo/smbios_layout.h"

namespace tolvaren {
namespace {

constexpr std::uint8_t kEndOfTable = 127;
constexpr std::size_t kHeaderSize = 4;
// Every table comes from a file or a firmware call read to this bound.
constexpr std::size_t kMaximumTableLength = 0x100000;

// SMBIOS 2.x entry point fields.
constexpr std::size_t kEntryPointLength = 0x1F;
constexpr std::size_t kChecksum = 0x04;
constexpr std::size_t kLength = 0x05;
constexpr std::size_t kMajor = 0x06;
constexpr std::size_t kMinor = 0x07;
constexpr std::size_t kMaximumStructureSize = 0x08;
constexpr std::size_t kIntermediateAnchor = 0x10;
constexpr std::size_t kIntermediateChecksum = 0x15;
constexpr std::size_t kTableLength = 0x16;
constexpr std::size_t kTableAddress = 0x18;
constexpr std::size_t kStructureCount = 0x1C;
constexpr std::size_t kBcdRevision = 0x1E;

// SMBIOS 3.x entry point fields.
constexpr std::size_t kEntry3Length = 0x18;
constexpr std::size_t kEntry3Checksum = 0x05;
constexpr std::size_t kEntry3LengthField = 0x06;
constexpr std::size_t kEntry3Revision = 0x0A;

void PutWord(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutDWord(std::uint8_t* at, std::uint32_t value) {
  PutWord(at, static_cast<std::uint16_t>(value));
  PutWord(at + 2, static_cast<std::uint16_t>(value >> 16));
}

// The byte that makes the sum of `count` bytes from `at` zero.
std::uint8_t Checksum(const std::uint8_t* at, std::size_t count) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum = static_cast<std::uint8_t>(sum + at[i]);
  return static_cast<std::uint8_t>(0x100 - sum);
}

}  // namespace

TableExtent MeasureTable(std::span<const std::uint8_t> table, std::size_t limit) {
  const ByteReader in(table);
  TableExtent extent;
  std::size_t at = 0;
  while (in.Has(at, kHeaderSize)) {
    const std::uint8_t type = in.Byte(at);
    const std::size_t formatted = in.Byte(at + 1);
    if (formatted < kHeaderSize || !in.Has(at, formatted)) break;
    // The string set ends at the first pair of zero bytes after the formatted area.
    std::size_t end = 0;
    for (std::size_t k = at + formatted; in.Has(k, 2); ++k) {
      if (in.Byte(k) == 0 && in.Byte(k + 1) == 0) {
        end = k + 2;
        break;
      }
    }
    if (end == 0 || end > limit) break;
    extent.length = end;
    ++extent.count;
    extent.largestStructure = static_cast<std::uint16_t>(
        std::min<std::size_t>(0xFFFF, std::max<std::size_t>(extent.largestStructure, end - at)));
    if (type == kEndOfTable) break;
    at = end;
  }
  return extent;
}

namespace {

// The 3.x layout: the entry point at the start of the F segment, the table
// kept above the area.
void SynthesizeSm3(const SmbiosSource& source, std::span<const std::uint8_t> table, BiosImage& image, HighTable& high) {
  high.address = kSynthesizedHighTable;
  high.bytes.assign(table.begin(), table.end());
  image.fill(0);
  std::uint8_t* entry = image.data() + (kSynthesizedEntryF - kBiosAreaBase);
  std::copy(kSm3Anchor.begin(), kSm3Anchor.end(), entry);
  entry[kEntry3LengthField] = kEntry3Length;
  entry[kEntry3MajorVersion] = source.majorVersion;
  entry[kEntry3MinorVersion] = source.minorVersion;
  entry[kEntry3Revision] = 1;
  PutDWord(entry + kEntry3TableMaximum, static_cast<std::uint32_t>(table.size()));
  PutDWord(entry + kEntry3TableAddress, kSynthesizedHighTable);
  entry[kEntry3Checksum] = Checksum(entry, kEntry3Length);
}

}  // namespace

void SynthesizeBiosImage(const SmbiosSource& source, BiosImage& image, HighTable& high) {
  std::span<const std::uint8_t> table(source.table);
  if (source.tableMaximum) table = table.first(std::min<std::size_t>(table.size(), *source.tableMaximum));

  std::size_t length = 0;
  std::uint16_t count = 0;
  std::uint16_t largest = 0;
  if (source.tableLength && source.structureCount) {
    length = *source.tableLength;
    count = *source.structureCount;
    table = table.first(std::min(table.size(), length));
    largest = MeasureTable(table, length).largestStructure;
  } else {
    const TableExtent extent = MeasureTable(table, kMaximumTableLength);
    length = extent.length;
    largest = extent.largestStructure;
    table = table.first(length);
    if (length > kMaxSm2TableLength) {
      SynthesizeSm3(source, table, image, high);
      return;
    }
    count = static_cast<std::uint16_t>(extent.count);  // at least 6 bytes each: fits
  }
  high = HighTable{};

  const bool fitsInF = length <= kBiosSegmentSize - kSynthesizedTableOffset;
  const std::uint32_t entryAddress = fitsInF ? kSynthesizedEntryF : kSynthesizedEntryE;
  const std::size_t entryOffset = entryAddress - kBiosAreaBase;

  image.fill(0);
  std::copy(table.begin(), table.end(), image.begin() + entryOffset + kSynthesizedTableOffset);

  std::uint8_t* entry = image.data() + entryOffset;
  std::copy_n("_SM_", 4, entry);
  entry[kLength] = kEntryPointLength;
  entry[kMajor] = source.majorVersion;
  entry[kMinor] = source.minorVersion;
  PutWord(entry + kMaximumStructureSize, largest);
  std::copy_n("_DMI_", 5, entry + kIntermediateAnchor);
  PutWord(entry + kTableLength, static_cast<std::uint16_t>(length));
  PutDWord(entry + kTableAddress, entryAddress + kSynthesizedTableOffset);
  PutWord(entry + kStructureCount, count);
  if (source.majorVersion <= 9 && source.minorVersion <= 9) {
    entry[kBcdRevision] = static_cast<std::uint8_t>(source.majorVersion << 4 | source.minorVersion);
  }
  entry[kIntermediateChecksum] = Checksum(entry + kIntermediateAnchor, kEntryPointLength - kIntermediateAnchor);
  entry[kChecksum] = Checksum(entry, kEntryPointLength);
}

}  // namespace tolvaren
