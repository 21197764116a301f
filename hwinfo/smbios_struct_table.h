#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hwinfo/bios_image_reader.h"

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

// Header layout shared by every structure.
inline constexpr std::uint8_t kStructTypeOffset = 0x00;
inline constexpr std::uint8_t kStructLengthOffset = 0x01;
inline constexpr std::uint8_t kStructHandleOffset = 0x02;
inline constexpr std::uint8_t kEndOfTableType = 127;

// Lists the structures of the table at `tableAddress` in table order. The
// first structure is always listed; later ones while fewer than
// `structureCount` are listed. The walk ends at an End-of-Table structure,
// once `tableLength` bytes are used up, or at the image's end. Until a
// structure of type 0 has been met, the first double zero ends a string set;
// from then on only a double zero followed by a non-zero byte does, which
// passes over padding some firmware leaves between structures.
TStructTables BuildStructTables(const BiosImageReader& reader, std::uint32_t tableAddress, std::uint16_t tableLength,
                                std::uint16_t structureCount);

// The string that the field at `offset` of the listed structure selects;
// empty when the field lies beyond the structure's formatted area, where its
// byte belongs to the string set.
std::string ReadStringField(const BiosImageReader& reader, const TStructTable& entry, std::uint8_t offset);

// The first entry at `start` or later of the given type; an all-zero entry
// when there is none.
TStructTable FindStructTable(const TStructTables& tables, std::uint8_t type, int start);

// The index of that entry, or -1.
int FindStructTableIndex(const TStructTables& tables, std::uint8_t type, int start);

}  // namespace tolvaren
