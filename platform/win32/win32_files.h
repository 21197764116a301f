#pragma once

#include "platform/platform.h"

namespace tolvaren::platform::win32_backend {

class Win32FileSystem final : public FileSystem {
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

class Win32ProcessRunner final : public ProcessRunner {
 public:
  RunOutcome RunHidden(const std::string& commandLine, std::uint32_t waitMilliseconds) override;
};

}  // namespace tolvaren::platform::win32_backend
