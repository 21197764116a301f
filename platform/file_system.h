#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tolvaren::platform {

enum PathKind : std::uint8_t { pkMissing, pkFile, pkDirectory };

enum WriteOutcome : std::uint8_t {
  woNotCreated,  // the file could not be created
  woShort,       // created, but the write failed or wrote fewer bytes
  woWritten,     // every byte written
};

// Files and folders by path, in the system's own path syntax.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The user's folder for temporary files; empty when the system gives none.
  virtual std::string TempPath() = 0;
  virtual PathKind Probe(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  virtual bool RemoveFolder(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Creates or truncates the file and writes the bytes in one call.
  virtual WriteOutcome WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
  // Up to `limit` bytes from the start of an existing regular file (shared
  // for reading and writing). The file is opened without waiting and its type
  // checked before any byte is read, so a FIFO, socket or device never blocks
  // the run or feeds it without end. Nothing when it cannot be opened, is no
  // regular file or cannot be read; `reason` then says why, in the system's
  // own words ("No such file or directory") or as "it is a FIFO, not a file".
  virtual std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t limit,
                                                                   std::string& reason) = 0;
  std::optional<std::vector<std::uint8_t>> ReadFileHead(const std::string& path, std::size_t limit) {
    std::string reason;
    return ReadRegularFile(path, limit, reason);
  }
  // Reads a regular file straight into `buffer` when it holds exactly
  // buffer.size() bytes, sparing a copy. False, with the buffer untouched,
  // when the file is missing, no regular file or of another size; false after
  // a failed read, which may have filled part of the buffer.
  virtual bool ReadWholeFileInto(const std::string& path, std::span<std::uint8_t> buffer) = 0;
  // The size of a regular file that opens for reading, found without reading
  // a byte; nothing for one that does not open or is no regular file.
  virtual std::optional<std::uint64_t> ReadableFileSize(const std::string& path) = 0;
};

}  // namespace tolvaren::platform
