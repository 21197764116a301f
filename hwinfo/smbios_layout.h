#pragma once

// Layouts shared by the SMBIOS decoders: the 2.x entry point and the header
// every structure begins with. Fields of single structure types are named
// beside their decoders.

#include <cstdint>

namespace tolvaren {

// SMBIOS 2.x entry point ("_SM_" anchor at 00h, "_DMI_" at 10h).
inline constexpr std::uint8_t kEntryMajorVersion = 0x06;
inline constexpr std::uint8_t kEntryMinorVersion = 0x07;
inline constexpr std::uint8_t kEntryDmiAnchor = 0x10;
inline constexpr std::uint8_t kEntryTableLength = 0x16;
inline constexpr std::uint8_t kEntryTableAddress = 0x18;
inline constexpr std::uint8_t kEntryStructureCount = 0x1C;

// SMBIOS 3.x entry point ("_SM3_" anchor at 00h): no structure count, a
// 32-bit maximum table size and a 64-bit table address.
inline constexpr std::uint8_t kEntry3MajorVersion = 0x07;
inline constexpr std::uint8_t kEntry3MinorVersion = 0x08;
inline constexpr std::uint8_t kEntry3TableMaximum = 0x0C;
inline constexpr std::uint8_t kEntry3TableAddress = 0x10;

// Structure header.
inline constexpr std::uint8_t kStructTypeOffset = 0x00;
inline constexpr std::uint8_t kStructLengthOffset = 0x01;  // of the formatted area; the strings follow
inline constexpr std::uint8_t kStructHandleOffset = 0x02;

inline constexpr std::uint8_t kEndOfTableType = 127;

}  // namespace tolvaren
