#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "hwinfo/smbios_layout.h"

namespace tolvaren::testing {

using Bytes = std::vector<std::uint8_t>;

// Builds structure tables a few readable lines at a time:
//   TableBuilder t;
//   t.Add(1, {1, 2, 0, 3}, {"Maker", "Model", "SN1"}).End();
class TableBuilder {
 public:
  // A structure of `type` whose formatted area is the 4-byte header plus
  // `fields`, followed by its strings (or the empty set's two zero bytes).
  TableBuilder& Add(std::uint8_t type, const Bytes& fields, const std::vector<std::string>& strings = {}) {
    const std::uint16_t handle = handle_++;
    bytes_.insert(bytes_.end(), {type, static_cast<std::uint8_t>(4 + fields.size()), static_cast<std::uint8_t>(handle),
                                 static_cast<std::uint8_t>(handle >> 8)});
    bytes_.insert(bytes_.end(), fields.begin(), fields.end());
    for (const std::string& s : strings) {
      bytes_.insert(bytes_.end(), s.begin(), s.end());
      bytes_.push_back(0);
    }
    if (strings.empty()) bytes_.push_back(0);
    bytes_.push_back(0);
    return *this;
  }
  TableBuilder& End() { return Add(kEndOfTableType, {}); }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
  std::uint16_t handle_ = 0;
};

// A System Information structure with the given serial number.
inline Bytes SystemTable(const std::string& serial) {
  TableBuilder t;
  t.Add(0, {1, 2, 0, 0, 3, 0x0F}, {"Vendor", "1.0", "01/02/2003"});
  t.Add(1, {1, 2, 3, 4, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF},
        {"Maker", "Model", "v1", serial});
  return t.End().bytes();
}

// Writes the low `size` bytes of value at offset, least significant first.
inline void PutLe(Bytes& bytes, std::size_t offset, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint16_t WordAt(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }
inline std::uint32_t DWordAt(const std::uint8_t* at) {
  return WordAt(at) | static_cast<std::uint32_t>(WordAt(at + 2)) << 16;
}

// An RSMB blob as Windows' firmware-table call returns it.
inline Bytes RawSmbiosBlob(std::uint8_t major, std::uint8_t minor, const Bytes& table) {
  Bytes blob(8 + table.size(), 0);
  blob[1] = major;
  blob[2] = minor;
  PutLe(blob, 4, static_cast<std::uint32_t>(table.size()), 4);
  std::copy(table.begin(), table.end(), blob.begin() + 8);
  return blob;
}

}  // namespace tolvaren::testing
