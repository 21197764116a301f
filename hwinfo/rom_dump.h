#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "hwinfo/bios_image.h"
#include "platform/platform.h"

namespace tolvaren {

// The dump fallback for NT systems whose physical-memory section cannot be
// opened: a small DOS program copies one 64 KiB segment of the BIOS area to
// its standard output, which the command interpreter redirects to a file.

// Runs the dump program for the segment (14: E000h, else F000h) in a fresh
// folder "~RomDmpN" under the temporary folder and reads its output into the
// buffer. True only when exactly 65,536 bytes came back; the folder and its
// two files are removed on every path.
bool DumpRomSegment(platform::Platform& platform, int selector, std::span<std::uint8_t, kBiosSegmentSize> buffer,
                    std::uint32_t waitMilliseconds);

// Writes the 46-byte dump program for the segment to `path`; a partly written
// file is deleted again.
bool WriteDumpProgram(platform::FileSystem& files, int selector, const std::string& path);

// The command line that runs `program` through the command interpreter with
// standard output sent to `output`. Both paths are quoted, and the whole is
// quoted once more for "cmd /C", which strips the outer pair.
std::string RedirectedCommandLine(const std::string& comspec, const std::string& program, const std::string& output);

// Runs the program through "ComSpec" with standard output redirected to the
// file. True when the interpreter started and ended within the wait limit.
bool RunRedirected(platform::Platform& platform, const std::string& program, const std::string& output,
                   std::uint32_t waitMilliseconds);

}  // namespace tolvaren
