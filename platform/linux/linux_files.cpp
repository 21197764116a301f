#include "platform/linux/linux_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

namespace {

// What a path that is no regular file is, as the reason it cannot be read.
std::string NotAFile(mode_t mode) {
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  if (S_ISFIFO(mode)) return "it is a FIFO, not a file";
  if (S_ISSOCK(mode)) return "it is a socket, not a file";
  if (S_ISCHR(mode)) return "it is a character device, not a file";
  if (S_ISBLK(mode)) return "it is a block device, not a file";
  return "it is not a regular file";
}

// Opens a regular file for reading, or says why not. The type is looked at
// before the open, since opening a device may act on it, and again on the
// open descriptor, in case the path changed in between; O_NONBLOCK keeps the
// open itself from waiting for a FIFO's writer.
int OpenRegularFile(const std::string& path, struct stat& info, std::string& reason) {
  if (stat(path.c_str(), &info) != 0) {
    reason = std::strerror(errno);
    return -1;
  }
  if (!S_ISREG(info.st_mode)) {
    reason = NotAFile(info.st_mode);
    return -1;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    reason = std::strerror(errno);
    return -1;
  }
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    reason = NotAFile(info.st_mode);
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

// sysfs files report a size of 4096 whatever they hold, and /proc files a
// size of 0, so this reads until the end of the file or the limit rather than
// trusting the size. The size only sizes the first read (one byte more, to
// meet the end), so a regular file is read into one buffer without regrowing
// it; after a short read the end is probed in small steps.
std::optional<std::vector<std::uint8_t>> LinuxFileSystem::ReadRegularFile(const std::string& path, std::size_t limit,
                                                                          std::string& reason) {
  struct stat info {};
  const int fd = OpenRegularFile(path, info, reason);
  if (fd < 0) return std::nullopt;
  constexpr std::size_t kChunk = 65536;
  constexpr std::size_t kProbe = 4096;
  std::vector<std::uint8_t> bytes;
  std::size_t chunk = kChunk;
  if (info.st_size > 0) {
    chunk = std::min(limit, static_cast<std::size_t>(info.st_size) + 1);
    bytes.reserve(std::min(limit, chunk + kProbe));
  }
  int error = 0;
  while (bytes.size() < limit) {
    const std::size_t before = bytes.size();
    const std::size_t want = std::min(chunk, limit - before);
    bytes.resize(before + want);
    const ssize_t n = read(fd, bytes.data() + before, want);
    if (n < 0 && errno == EINTR) {
      bytes.resize(before);
      continue;
    }
    bytes.resize(before + (n > 0 ? static_cast<std::size_t>(n) : 0));
    if (n < 0) error = errno;
    if (n <= 0) break;
    chunk = static_cast<std::size_t>(n) < want ? kProbe : kChunk;
  }
  close(fd);
  if (error != 0) {
    reason = std::strerror(error);
    return std::nullopt;
  }
  return bytes;
}

bool LinuxFileSystem::ReadWholeFileInto(const std::string& path, std::span<std::uint8_t> buffer) {
  struct stat info {};
  std::string reason;
  const int fd = OpenRegularFile(path, info, reason);
  if (fd < 0) return false;
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

}  // namespace tolvaren::platform::linux_backend
