#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/linux/host_label.h"
#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {
namespace {

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

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Replaces the file so that a crash at any moment leaves either the old or the
// new name, never an empty or half-written file: the new content goes into a
// temporary file of the same folder, reaches the disk, and is renamed over the
// old one; the folder is synced so the rename itself survives.
int ReplaceFileAtomically(const std::string& path, const std::string& content) {
  const std::string folder = FolderOf(path);
  std::string temp = path + ".tolvaren-XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return errno;
  int error = 0;
  if (fchmod(fd, 0644) != 0 || !WriteAll(fd, content) || fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temp.c_str());
    return error;
  }
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return 0;
}

}  // namespace

NameWriteResult LinuxNameStore::WriteComputerName(const std::string& name) {
  if (!IsValidHostLabel(name)) return {false, EINVAL};
  const int error = ReplaceFileAtomically(path_, name + "\n");
  if (error != 0) return {false, static_cast<std::uint32_t>(error)};
  return {true, 0};
}

}  // namespace tolvaren::platform::linux_backend
