#pragma once

// Builds BIOS area images for the SMBIOS tests in a few readable lines:
//
//   SmbiosImageBuilder b;
//   b.EntryPointAt(0xF0000).TableAt(0xF0100);
//   b.Add(Structure(1, 0x1B).Strings({1, 2, 0, 3}).Text({"Maker", "Model", "SN1"}));
//   SmbiosOnFake f; f.Decode(b);  (smbios_fixture.h)

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "hwinfo/bios_image.h"
#include "hwinfo/smbios_layout.h"
#include "tests/hwinfo/smbios_table_builder.h"

namespace tolvaren::testing {

// One structure: its formatted area (header included) and its string set.
class Structure {
 public:
  Structure(std::uint8_t type, std::uint8_t length) : bytes_(length, 0) {
    if (length > 0) bytes_[0] = type;
    if (length > 1) bytes_[1] = length;
  }

  Structure& Byte(std::size_t offset, std::uint8_t value) {
    bytes_.at(offset) = value;
    return *this;
  }
  Structure& Word(std::size_t offset, std::uint16_t value) {
    Byte(offset, value & 0xFF);
    return Byte(offset + 1, value >> 8);
  }
  Structure& Bytes(std::size_t offset, std::initializer_list<std::uint8_t> values) {
    for (std::uint8_t v : values) Byte(offset++, v);
    return *this;
  }
  // The string numbers of the string fields from offset 04h on.
  Structure& Strings(std::initializer_list<std::uint8_t> numbers) { return Bytes(0x04, numbers); }
  // The string set; none gives the empty set (a double zero).
  Structure& Text(std::vector<std::string> strings) {
    strings_ = std::move(strings);
    return *this;
  }
  // Extra zero bytes after the string set, as some firmware leaves them.
  Structure& Padding(std::size_t zeros) {
    padding_ = zeros;
    return *this;
  }

  std::vector<std::uint8_t> Encode() const {
    std::vector<std::uint8_t> out = bytes_;
    for (const std::string& s : strings_) {
      out.insert(out.end(), s.begin(), s.end());
      out.push_back(0);
    }
    if (strings_.empty()) out.push_back(0);
    out.push_back(0);
    out.insert(out.end(), padding_, 0);
    return out;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::vector<std::string> strings_;
  std::size_t padding_ = 0;
};

inline Structure EndOfTable() { return Structure(kEndOfTableType, kStructHeaderSize); }

class SmbiosImageBuilder {
 public:
  SmbiosImageBuilder& EntryPointAt(std::uint32_t address) {
    entryPoint_ = address;
    return *this;
  }
  SmbiosImageBuilder& TableAt(std::uint32_t address) {
    table_ = address;
    return *this;
  }
  SmbiosImageBuilder& Version(std::uint8_t major, std::uint8_t minor) {
    major_ = major;
    minor_ = minor;
    return *this;
  }
  // Overrides what the entry point announces (computed from the structures
  // otherwise).
  SmbiosImageBuilder& AnnouncedCount(std::uint16_t count) {
    count_ = count;
    return *this;
  }
  SmbiosImageBuilder& AnnouncedLength(std::uint16_t length) {
    length_ = length;
    return *this;
  }
  // Leaves out the "_SM_" half of the entry point, keeping "_DMI_".
  SmbiosImageBuilder& WithoutSmAnchor() {
    smAnchor_ = false;
    return *this;
  }
  // Fills in both checksums of the entry point, as firmware does (left zero
  // otherwise, so the reader only finds it by its anchor).
  SmbiosImageBuilder& Checksummed() {
    checksummed_ = true;
    return *this;
  }
  // Appends a structure; its handle is its position in the table.
  SmbiosImageBuilder& Add(const Structure& s) {
    std::vector<std::uint8_t> bytes = s.Encode();
    if (bytes[1] >= 4) {
      bytes[2] = structures_.size() & 0xFF;
      bytes[3] = (structures_.size() >> 8) & 0xFF;
    }
    structures_.push_back(std::move(bytes));
    return *this;
  }
  // Raw bytes at a physical address, written after everything else.
  SmbiosImageBuilder& Poke(std::uint32_t address, std::vector<std::uint8_t> bytes) {
    pokes_.push_back({address, std::move(bytes)});
    return *this;
  }

  BiosImage Build() const {
    BiosImage image{};
    std::vector<std::uint8_t> table;
    for (const auto& s : structures_) table.insert(table.end(), s.begin(), s.end());
    Put(image, table_, table);
    const std::uint16_t length = length_ ? *length_ : static_cast<std::uint16_t>(table.size());
    const std::uint16_t count = count_ ? *count_ : static_cast<std::uint16_t>(structures_.size());
    std::vector<std::uint8_t> ep(kEntryPointSize, 0);
    if (smAnchor_) std::copy(kSmAnchor.begin(), kSmAnchor.end(), ep.begin());
    ep[kEntryLength] = kEntryPointSize;
    ep[kEntryMajorVersion] = major_;
    ep[kEntryMinorVersion] = minor_;
    std::copy(kDmiAnchor.begin(), kDmiAnchor.end(), ep.begin() + kEntryDmiAnchor);
    PutLe(ep, kEntryTableLength, length, 2);
    PutLe(ep, kEntryTableAddress, table_, 4);
    PutLe(ep, kEntryStructureCount, count, 2);
    if (checksummed_) {
      ep[kEntryIntermediateChecksum] = ZeroingByte(ep, kEntryDmiAnchor, kLegacyPointSize);
      ep[kEntryChecksum] = ZeroingByte(ep, 0, kEntryPointSize);
    }
    if (entryPoint_ != 0) Put(image, entryPoint_, ep);
    for (const auto& [address, bytes] : pokes_) Put(image, address, bytes);
    return image;
  }

 private:
  // The byte that makes `count` bytes from `from` sum to zero.
  static std::uint8_t ZeroingByte(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t count) {
    std::uint8_t sum = 0;
    for (std::size_t i = from; i < from + count; ++i) sum = static_cast<std::uint8_t>(sum + bytes[i]);
    return static_cast<std::uint8_t>(0x100 - sum);
  }
  static void Put(BiosImage& image, std::uint32_t address, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const std::uint64_t at = std::uint64_t{address} + i;
      if (at >= kBiosAreaBase && at <= kBiosAreaLast) image[at - kBiosAreaBase] = bytes[i];
    }
  }

  std::uint32_t entryPoint_ = 0xF0000;
  std::uint32_t table_ = 0xF0020;
  std::uint8_t major_ = 2;
  std::uint8_t minor_ = 8;
  std::optional<std::uint16_t> count_;
  std::optional<std::uint16_t> length_;
  bool smAnchor_ = true;
  bool checksummed_ = false;
  std::vector<std::vector<std::uint8_t>> structures_;
  std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> pokes_;
};

}  // namespace tolvaren::testing
