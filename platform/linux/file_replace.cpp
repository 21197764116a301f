#include "platform/linux/file_replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/linux/linux_files.h"

namespace tolvaren::platform::linux_backend {
namespace {

constexpr int kMaxLinks = 40;  // the kernel's limit on links in one lookup
constexpr std::string_view kTempMarker = ".tolvaren-";
constexpr std::size_t kTempSuffixBytes = 6;  // mkstemp's XXXXXX

// Writes all of the bytes or fails with errno set.
bool WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string BaseNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

FolderLock::FolderLock(const std::string& folder) : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (fd_ < 0) return;
  while (flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    close(fd_);
    fd_ = -1;
    return;
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) close(fd_);
}

std::string FinalTarget(const std::string& path, int& error) {
  error = 0;
  std::string current = path;
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::string target(4096, '\0');
    const ssize_t n = readlink(current.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size()) {
      error = n < 0 ? errno : ENAMETOOLONG;
      return path;
    }
    target.resize(static_cast<std::size_t>(n));
    if (target.empty()) {
      error = ENOENT;
      return path;
    }
    current = target[0] == '/' ? target : FolderOf(current) + "/" + target;
  }
  error = ELOOP;
  return path;
}

void RemoveLeftoverTemporaries(const std::string& path) {
  int error = 0;
  const std::string target = FinalTarget(path, error);
  if (error != 0) return;
  const std::string folder = FolderOf(target);
  const std::string prefix = BaseNameOf(target) + std::string(kTempMarker);
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() != prefix.size() + kTempSuffixBytes || name.substr(0, prefix.size()) != prefix) continue;
    const std::string full = folder + "/" + std::string(name);
    struct stat info {};
    // Only files: a link or folder of that name is not one of ours.
    if (lstat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode)) unlink(full.c_str());
  }
  closedir(dir);
}

int ReplaceFileKeepingAttributes(const std::string& path, const std::string& content, std::string& reason) {
  reason.clear();
  int error = 0;
  const std::string target = FinalTarget(path, error);
  if (error != 0) {
    reason = std::strerror(error);
    return error;
  }

  mode_t mode = 0644;
  bool keepOwner = false;
  struct stat old {};
  if (stat(target.c_str(), &old) == 0) {
    if (!S_ISREG(old.st_mode)) {  // a folder, FIFO or device is not replaced
      reason = NotARegularFileReason(old.st_mode);
      return S_ISDIR(old.st_mode) ? EISDIR : ENOTSUP;
    }
    mode = old.st_mode & 07777;
    keepOwner = true;
  } else if (errno != ENOENT) {
    error = errno;
    reason = std::strerror(error);
    return error;
  }

  std::string temp = target + std::string(kTempMarker) + "XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    reason = std::strerror(error);
    return error;
  }
  struct stat made {};
  // The owner first: changing it clears set-id bits that fchmod then sets.
  if (fstat(fd, &made) != 0) error = errno;
  if (error == 0 && keepOwner && (made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
      fchown(fd, old.st_uid, old.st_gid) != 0) {
    error = errno;
  }
  if (error == 0 && (fchmod(fd, mode) != 0 || !WriteAll(fd, content) || fsync(fd) != 0)) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temp.c_str());
    reason = std::strerror(error);
    return error;
  }
  const int dir = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return 0;
}

}  // namespace tolvaren::platform::linux_backend
