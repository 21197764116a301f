#include "platform/linux/linux_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace tolvaren::platform::linux_backend {

std::string LinuxFileSystem::TempPath() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = dir && *dir ? dir : "/tmp";
  if (path.back() != '/') path += '/';
  return path;
}

PathKind LinuxFileSystem::Probe(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return pkMissing;
  return S_ISDIR(info.st_mode) ? pkDirectory : pkFile;
}

bool LinuxFileSystem::CreateFolder(const std::string& path) { return mkdir(path.c_str(), 0700) == 0; }

bool LinuxFileSystem::RemoveFolder(const std::string& path) { return rmdir(path.c_str()) == 0; }

bool LinuxFileSystem::RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

WriteOutcome LinuxFileSystem::WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return woNotCreated;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const bool closed = close(fd) == 0;
  return written == bytes.size() && closed ? woWritten : woShort;
}

std::string NotARegularFileReason(unsigned mode) {
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  if (S_ISFIFO(mode)) return "it is a FIFO, not a file";
  if (S_ISSOCK(mode)) return "it is a socket, not a file";
  if (S_ISCHR(mode)) return "it is a character device, not a file";
  if (S_ISBLK(mode)) return "it is a block device, not a file";
  return "it is not a regular file";
}

namespace {

// Opens a regular file for reading, or gives the errno that stops it (ENOENT
// for a path that is no regular file) and says why. The type is looked at
// before the open, since opening a device may act on it, and again on the
// open descriptor, in case the path changed in between; O_NONBLOCK keeps the
// open itself from waiting for a FIFO's writer.
int OpenRegularFile(const std::string& path, struct stat& info, std::string& reason, int& fd) {
  fd = -1;
  if (stat(path.c_str(), &info) != 0) {
    const int error = errno;
    reason = std::strerror(error);
    return error;
  }
  if (!S_ISREG(info.st_mode)) {
    reason = NotARegularFileReason(info.st_mode);
    return ENOENT;
  }
  fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    reason = std::strerror(error);
    return error;
  }
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    reason = NotARegularFileReason(info.st_mode);
    close(fd);
    fd = -1;
    return ENOENT;
  }
  return 0;
}

// Reads a regular file up to limit bytes; 0 or the errno that stopped it.
// sysfs files report a size of 4096 whatever they hold, and /proc files a
// size of 0, so this reads until the end of the file or the limit rather than
// trusting the size. The size only sizes the first read (one byte more, to
// meet the end), so a regular file is read into one buffer without regrowing
// it; after a short read the end is probed in small steps. Bytes is a byte
// vector or, for text, a string, so that text is read where it is kept.
template <typename Bytes>
int ReadRegularFileUpTo(const std::string& path, std::size_t limit, Bytes& bytes, std::string& reason) {
  bytes.clear();
  struct stat info {};
  int fd = -1;
  if (const int error = OpenRegularFile(path, info, reason, fd); error != 0) return error;
  constexpr std::size_t kChunk = 65536;
  constexpr std::size_t kProbe = 4096;
  // Small reads (a /proc file, the probe for the end) go through a buffer on
  // the stack, so no block of the result is zero-filled only to be cut off.
  std::uint8_t probe[kProbe];
  std::size_t chunk = kProbe;
  if (info.st_size > 0) {
    chunk = std::min(limit, static_cast<std::size_t>(info.st_size) + 1);
    bytes.reserve(std::min(limit, chunk + kProbe));
  }
  int error = 0;
  while (bytes.size() < limit) {
    const std::size_t before = bytes.size();
    const std::size_t want = std::min(chunk, limit - before);
    ssize_t n = 0;
    if (want <= kProbe) {
      n = read(fd, probe, want);
      if (n > 0) bytes.insert(bytes.end(), probe, probe + n);
    } else {
      bytes.resize(before + want);
      n = read(fd, bytes.data() + before, want);
      bytes.resize(before + (n > 0 ? static_cast<std::size_t>(n) : 0));
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    // A short read that reached the size the file has on disk is its end:
    // no probe is needed. (A /proc file has no size on disk to reach.)
    const bool shortRead = static_cast<std::size_t>(n) < want;
    if (shortRead && info.st_size > 0 && bytes.size() == static_cast<std::size_t>(info.st_size)) break;
    chunk = shortRead ? kProbe : kChunk;
  }
  close(fd);
  if (error != 0) {
    reason = std::strerror(error);
    bytes.clear();
  }
  return error;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> LinuxFileSystem::ReadRegularFile(const std::string& path, std::size_t limit,
                                                                          std::string& reason) {
  std::vector<std::uint8_t> bytes;
  if (ReadRegularFileUpTo(path, limit, bytes, reason) != 0) return std::nullopt;
  return bytes;
}

int ReadSmallRegularFile(const std::string& path, std::size_t limit, std::string& content) {
  std::string reason;
  return ReadSmallRegularFile(path, limit, content, reason);
}

int ReadSmallRegularFile(const std::string& path, std::size_t limit, std::string& content, std::string& reason) {
  // One byte past the limit tells a file of exactly limit bytes from a larger one.
  const std::size_t probe = limit < SIZE_MAX ? limit + 1 : limit;
  if (const int error = ReadRegularFileUpTo(path, probe, content, reason); error != 0) return error;
  if (content.size() > limit) {
    content.clear();
    reason = "it is larger than " + std::to_string(limit) + " bytes";
    return EFBIG;
  }
  return 0;
}

std::string ReadTextFileHead(const std::string& path, std::size_t limit) {
  std::string text;
  std::string reason;
  ReadRegularFileUpTo(path, limit, text, reason);
  return text;
}

bool LinuxFileSystem::ReadWholeFileInto(const std::string& path, std::span<std::uint8_t> buffer) {
  struct stat info {};
  std::string reason;
  int fd = -1;
  if (OpenRegularFile(path, info, reason, fd) != 0) return false;
  if (static_cast<std::uint64_t>(info.st_size) != buffer.size()) {
    close(fd);
    return false;
  }
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n = read(fd, buffer.data() + done, buffer.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  close(fd);
  return done == buffer.size();
}

std::optional<std::uint64_t> LinuxFileSystem::ReadableFileSize(const std::string& path) {
  struct stat info {};
  std::string reason;
  int fd = -1;
  if (OpenRegularFile(path, info, reason, fd) != 0) return std::nullopt;
  close(fd);
  return static_cast<std::uint64_t>(info.st_size);
}

std::vector<std::string> ConfigFileNamesIn(const std::string& folder, std::string_view suffix) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() > suffix.size() && name[0] != '.' && name.substr(name.size() - suffix.size()) == suffix) {
      names.emplace_back(name);
    }
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tolvaren::platform::linux_backend
