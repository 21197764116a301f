#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/processes.h"

namespace tolvaren::platform::fake {

// An in-memory file system. Paths are compared byte for byte; a folder path
// given with a trailing backslash names the same folder as without it.
class FakeFileSystem final : public FileSystem {
 public:
  std::string TempPath() override { return tempPath; }

  PathKind Probe(const std::string& path) override {
    if (folders.count(Folder(path))) return pkDirectory;
    if (files.count(path)) return pkFile;
    return pkMissing;
  }

  bool CreateFolder(const std::string& path) override {
    log.push_back("mkdir " + path);
    if (failCreateFolder || Probe(path) != pkMissing) return false;
    folders.insert(Folder(path));
    return true;
  }

  bool RemoveFolder(const std::string& path) override {
    log.push_back("rmdir " + path);
    const std::string folder = Folder(path);
    for (const auto& [name, bytes] : files) {
      if (name.rfind(folder + "\\", 0) == 0) return false;  // not empty
    }
    return folders.erase(folder) > 0;
  }

  bool RemoveFile(const std::string& path) override {
    log.push_back("delete " + path);
    return files.erase(path) > 0;
  }

  WriteOutcome WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
    log.push_back("write " + path);
    if (failCreateFile) return woNotCreated;
    files[path].assign(bytes.begin(), bytes.begin() + (failWrite ? bytes.size() / 2 : bytes.size()));
    return failWrite ? woShort : woWritten;
  }

  std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t limit,
                                                           std::string& reason) override {
    log.push_back("read " + path);
    const auto it = files.find(path);
    if (it == files.end()) {
      reason = Probe(path) == pkDirectory ? "it is a folder, not a file" : kNoSuchFile;
      return std::nullopt;
    }
    return std::vector<std::uint8_t>(it->second.begin(), it->second.begin() + std::min(limit, it->second.size()));
  }

  bool ReadWholeFileInto(const std::string& path, std::span<std::uint8_t> buffer) override {
    log.push_back("read " + path);
    const auto it = files.find(path);
    if (it == files.end() || it->second.size() != buffer.size()) return false;
    std::copy(it->second.begin(), it->second.end(), buffer.begin());
    return true;
  }

  std::optional<std::uint64_t> ReadableFileSize(const std::string& path) override {
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second.size();
  }

  // Windows' reason for a missing file.
  static constexpr const char* kNoSuchFile = "The system cannot find the file specified";

  std::string tempPath = "C:\\TEMP\\";
  std::set<std::string> folders;                           // without trailing backslash
  std::map<std::string, std::vector<std::uint8_t>> files;  // full path -> contents
  bool failCreateFolder = false;
  bool failCreateFile = false;
  bool failWrite = false;  // the write stops half way
  std::vector<std::string> log;

 private:
  static std::string Folder(const std::string& path) {
    return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
  }
};

// Plays started programs: `onRun` decides what a command line does.
class FakeProcessRunner final : public ProcessRunner {
 public:
  RunOutcome RunHidden(const std::string& commandLine, std::uint32_t waitMilliseconds) override {
    commandLines.push_back(commandLine);
    waits.push_back(waitMilliseconds);
    return onRun ? onRun(commandLine) : roNotStarted;
  }

  std::function<RunOutcome(const std::string&)> onRun;
  std::vector<std::string> commandLines;
  std::vector<std::uint32_t> waits;
};

}  // namespace tolvaren::platform::fake
