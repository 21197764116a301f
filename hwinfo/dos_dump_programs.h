#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace tolvaren {

inline constexpr std::size_t kDumpProgramSize = 46;
using DumpProgram = std::array<std::uint8_t, kDumpProgramSize>;

// Segment selectors of the dump: 14 for E000h; anything else means F000h.
inline constexpr int kSegmentE000 = 14;
inline constexpr int kSegmentF000 = 15;

// The DOS .COM program that writes the 64 KiB of the selected segment to
// standard output.
const DumpProgram& DumpProgramFor(int selector);

}  // namespace tolvaren
