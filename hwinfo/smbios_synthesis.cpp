#include "hwinfo/smbios_synthesis.h"

#include <algorithm>
#include <array>

#include "hwinfo/smbios_layout.h"
#include "platform/byte_view.h"

namespace tolvaren {
namespace {

// Every table comes from a file or a firmware call read to this bound.
constexpr std::size_t kMaximumTableLength = 0x100000;

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
  const ByteView in(table);
  TableExtent extent;
  std::size_t at = 0;
  while (in.Holds(at, kStructHeaderSize)) {
    const std::uint8_t type = *in.U8(at + kStructTypeOffset);
    const std::size_t formatted = *in.U8(at + kStructLengthOffset);
    if (formatted < kStructHeaderSize || !in.Holds(at, formatted)) break;
    // The string set ends at the first pair of zero bytes after the formatted area.
    std::size_t end = 0;
    for (std::size_t k = at + formatted; in.Holds(k, 2); ++k) {
      if (in.U16Le(k) == 0) {
        end = k + 2;
        break;
      }
    }
    if (end == 0 || end > limit) break;
    extent.length = end;
    ++extent.count;
    extent.largestStructure = static_cast<std::uint16_t>(
        std::min<std::size_t>(0xFFFF, std::max<std::size_t>(extent.largestStructure, end - at)));
    if (type == kEndOfTableType) break;
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
  entry[kEntry3Length] = kEntry3PointSize;
  entry[kEntry3MajorVersion] = source.majorVersion;
  entry[kEntry3MinorVersion] = source.minorVersion;
  entry[kEntry3Revision] = 1;
  PutDWord(entry + kEntry3TableMaximum, static_cast<std::uint32_t>(table.size()));
  PutDWord(entry + kEntry3TableAddress, kSynthesizedHighTable);
  entry[kEntry3Checksum] = Checksum(entry, kEntry3PointSize);
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
  std::copy(kSmAnchor.begin(), kSmAnchor.end(), entry);
  entry[kEntryLength] = kEntryPointSize;
  entry[kEntryMajorVersion] = source.majorVersion;
  entry[kEntryMinorVersion] = source.minorVersion;
  PutWord(entry + kEntryMaximumStructureSize, largest);
  std::copy(kDmiAnchor.begin(), kDmiAnchor.end(), entry + kEntryDmiAnchor);
  PutWord(entry + kEntryTableLength, static_cast<std::uint16_t>(length));
  PutDWord(entry + kEntryTableAddress, entryAddress + kSynthesizedTableOffset);
  PutWord(entry + kEntryStructureCount, count);
  if (source.majorVersion <= 9 && source.minorVersion <= 9) {
    entry[kEntryBcdRevision] = static_cast<std::uint8_t>(source.majorVersion << 4 | source.minorVersion);
  }
  entry[kEntryIntermediateChecksum] = Checksum(entry + kEntryDmiAnchor, kEntryPointSize - kEntryDmiAnchor);
  entry[kEntryChecksum] = Checksum(entry, kEntryPointSize);
}

}  // namespace tolvaren
