#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {

std::size_t LinuxFirmware::ReadMappedBiosArea(std::uint32_t address, std::uint8_t* buffer, std::size_t size) {
  // Opened without waiting and taken only when it is the memory device: a
  // FIFO or a file put in its place can neither hold the run up nor pose as
  // the machine's firmware.
  const int fd = open("/dev/mem", O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return 0;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) {
    close(fd);
    return 0;
  }
  std::size_t copied = 0;
  while (copied < size) {
    const ssize_t n = pread(fd, buffer + copied, size - copied, static_cast<off_t>(address) + copied);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    copied += static_cast<std::size_t>(n);
  }
  close(fd);
  return copied;
}

}  // namespace tolvaren::platform::linux_backend
