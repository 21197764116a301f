#pragma once

// The one home of the SMBIOS layouts every reader and writer shares: the
// anchors, the three kinds of entry point, the header each structure begins
// with and the structure types that mark no hardware. Fields of single
// structure types are named beside their decoders.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tolvaren {

inline constexpr std::string_view kSmAnchor = "_SM_";
inline constexpr std::string_view kDmiAnchor = "_DMI_";
inline constexpr std::string_view kSm3Anchor = "_SM3_";

// SMBIOS 2.x entry point: "_SM_" at 00h, then an intermediate legacy entry
// point with its own "_DMI_" anchor and checksum at 10h.
inline constexpr std::uint8_t kEntryChecksum = 0x04;
inline constexpr std::uint8_t kEntryLength = 0x05;
inline constexpr std::uint8_t kEntryMajorVersion = 0x06;
inline constexpr std::uint8_t kEntryMinorVersion = 0x07;
inline constexpr std::uint8_t kEntryMaximumStructureSize = 0x08;
inline constexpr std::uint8_t kEntryDmiAnchor = 0x10;
inline constexpr std::uint8_t kEntryIntermediateChecksum = 0x15;
inline constexpr std::uint8_t kEntryTableLength = 0x16;
inline constexpr std::uint8_t kEntryTableAddress = 0x18;
inline constexpr std::uint8_t kEntryStructureCount = 0x1C;
inline constexpr std::uint8_t kEntryBcdRevision = 0x1E;
inline constexpr std::size_t kEntryPointSize = 0x1F;

// SMBIOS 3.x entry point ("_SM3_" at 00h): no structure count, a 32-bit
// maximum table size and a 64-bit table address.
inline constexpr std::uint8_t kEntry3Checksum = 0x05;
inline constexpr std::uint8_t kEntry3Length = 0x06;
inline constexpr std::uint8_t kEntry3MajorVersion = 0x07;
inline constexpr std::uint8_t kEntry3MinorVersion = 0x08;
inline constexpr std::uint8_t kEntry3Revision = 0x0A;
inline constexpr std::uint8_t kEntry3TableMaximum = 0x0C;
inline constexpr std::uint8_t kEntry3TableAddress = 0x10;
inline constexpr std::size_t kEntry3PointSize = 0x18;

// Legacy DMI entry point: "_DMI_" alone at 00h, the same fields the 2.x entry
// point carries from its 10h on.
inline constexpr std::uint8_t kLegacyTableLength = 0x06;
inline constexpr std::uint8_t kLegacyStructureCount = 0x0C;
inline constexpr std::uint8_t kLegacyBcdRevision = 0x0E;
inline constexpr std::size_t kLegacyPointSize = 0x0F;

// Structure header.
inline constexpr std::uint8_t kStructTypeOffset = 0x00;
inline constexpr std::uint8_t kStructLengthOffset = 0x01;  // of the formatted area; the strings follow
inline constexpr std::uint8_t kStructHandleOffset = 0x02;
inline constexpr std::size_t kStructHeaderSize = 4;

inline constexpr std::uint8_t kInactiveType = 126;
inline constexpr std::uint8_t kEndOfTableType = 127;

}  // namespace tolvaren
