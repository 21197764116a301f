#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hwinfo/bios_image_reader.h"
#include "hwinfo/smbios_layout.h"

namespace tolvaren {

// One structure found by the table walk.
struct TStructTable {
  std::uint32_t Address = 0;
  std::uint8_t Type = 0;
  std::uint8_t Length = 0;
  std::uint16_t Handle = 0;
  std::string Name;
};
using TStructTables = std::vector<TStructTable>;

// Lists the structures of the table at `tableAddress` in table order. The
// first structure is always listed; later ones while fewer than
// `structureCount` are listed (a 3.x entry point announces no count: its
// walk passes the largest one). The walk ends at an End-of-Table structure,
// once `tableLength` bytes are used up, or at the end of the region (the
// area, or the table kept above it) the table starts in. Until a
// structure of type 0 has been met, the first double zero ends a string set;
// from then on only a double zero followed by a non-zero byte does, which
// passes over padding some firmware leaves between structures.
TStructTables BuildStructTables(const BiosImageReader& reader, std::uint64_t tableAddress, std::uint32_t tableLength,
                                std::uint32_t structureCount);

// The string that the field at `offset` of the listed structure selects;
// empty when the field lies beyond the structure's formatted area, where its
// byte belongs to the string set.
std::string ReadStringField(const BiosImageReader& reader, const TStructTable& entry, std::uint8_t offset);

// The index of the first entry at `start` or later of the given type, or -1.
int FindStructTableIndex(const TStructTables& tables, std::uint8_t type, int start);

}  // namespace tolvaren
