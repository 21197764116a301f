#pragma once

#include <string_view>

#include "platform/platform.h"

namespace tolvaren::platform::linux_backend {

class LinuxFileSystem final : public FileSystem {
 public:
  std::string TempPath() override;
  PathKind Probe(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  WriteOutcome WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes) override;
  std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t limit,
                                                           std::string& reason) override;
  bool ReadWholeFileInto(const std::string& path, std::span<std::uint8_t> buffer) override;
  std::optional<std::uint64_t> ReadableFileSize(const std::string& path) override;
};

// Reads a regular file of at most limit bytes without blocking on a FIFO or
// device. Returns 0, ENOENT when it is absent or no regular file (so it counts
// as absent), EFBIG when it is larger, or the errno of the failing call.
int ReadSmallRegularFile(const std::string& path, std::size_t limit, std::string& content);
// The same, saying why in `reason` when it returns an error: the system's
// words, "it is a FIFO, not a file" and the like, or "it is larger than N
// bytes".
int ReadSmallRegularFile(const std::string& path, std::size_t limit, std::string& content, std::string& reason);
// Up to limit bytes from the start of a regular file, read the same way; empty
// when it cannot be read or is no regular file.
std::string ReadTextFileHead(const std::string& path, std::size_t limit);

// Why a file of this type (st_mode) is not read or replaced as a file:
// "Is a directory", "it is a FIFO, not a file", ...
std::string NotARegularFileReason(unsigned mode);

// The names of the files of a folder that end in `suffix` and do not begin
// with a dot, sorted by name, the order in which configuration drop-ins
// apply; empty when the folder cannot be read.
std::vector<std::string> ConfigFileNamesIn(const std::string& folder, std::string_view suffix);

// There is no DOS environment to hand programs to on Linux.
class LinuxProcessRunner final : public ProcessRunner {
 public:
  RunOutcome RunHidden(const std::string&, std::uint32_t) override { return roNotStarted; }
};

}  // namespace tolvaren::platform::linux_backend
