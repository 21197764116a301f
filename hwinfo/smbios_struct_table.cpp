#include "hwinfo/smbios_struct_table.h"

#include "hwinfo/smbios_names.h"

namespace tolvaren {
namespace {

TStructTable EntryAt(const BiosImageReader& reader, std::uint32_t address) {
  TStructTable entry;
  entry.Address = address;
  entry.Type = reader.ImageByte(address + kStructTypeOffset);
  entry.Length = reader.ImageByte(address + kStructLengthOffset);
  entry.Handle = reader.ImageWord(address + kStructHandleOffset);
  entry.Name = StructTypeNames(entry.Type);
  return entry;
}

}  // namespace

TStructTables BuildStructTables(const BiosImageReader& reader, std::uint64_t tableAddress, std::uint32_t tableLength,
                                std::uint32_t structureCount) {
  TStructTables tables;
  const std::uint64_t last = reader.RegionLast(tableAddress);
  if (last == 0) return tables;

  // P stays below the region's end plus one structure length, and both
  // regions lie below 4 GiB, so 32 bits hold every address of the walk.
  const std::uint64_t tableEnd = tableAddress + tableLength;
  std::uint32_t p = static_cast<std::uint32_t>(tableAddress);
  tables.push_back(EntryAt(reader, p));
  bool zeroSeen = reader.ImageByte(p) == 0;
  for (;;) {
    const std::uint32_t q = p + reader.ImageByte(p + kStructLengthOffset);
    std::uint32_t k = q + 1;
    while (k < last) {
      if (reader.ImageByte(k - 1) == 0 && reader.ImageByte(k) == 0 && (!zeroSeen || reader.ImageByte(k + 1) != 0)) {
        break;
      }
      ++k;
    }
    p = k + 1;
    if (tables.size() < structureCount) tables.push_back(EntryAt(reader, p));
    const std::uint8_t type = reader.ImageByte(p);
    if (type == 0) zeroSeen = true;
    if (type == kEndOfTableType) break;
    // Past the region nothing is left to read; announced lengths and counts
    // (a 3.x table may claim up to 4 GiB) must not keep the walk going.
    if (p >= tableEnd || p > last) break;
  }
  return tables;
}

std::string ReadStringField(const BiosImageReader& reader, const TStructTable& entry, std::uint8_t offset) {
  if (offset >= entry.Length) return {};
  return reader.ReadStructString(entry.Address, reader.ImageByte(entry.Address + offset));
}

int FindStructTableIndex(const TStructTables& tables, std::uint8_t type, int start) {
  for (std::size_t i = start < 0 ? 0 : static_cast<std::size_t>(start); i < tables.size(); ++i) {
    if (tables[i].Type == type) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace tolvaren
