#include <pwd.h>
#include <unistd.h>

#include <ctime>

#include "platform/ascii_case.h"
#include "platform/linux/host_label.h"
#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {
namespace {

constexpr std::size_t kNetBiosNameLength = 15;

}  // namespace

// Windows keeps a NetBIOS name of at most 15 upper-case bytes; the nearest
// thing here is the first label of the host name, written the same way.
std::string LinuxSystemInfo::NetBiosName() {
  std::string name = RunningHostName();
  name = name.substr(0, name.find('.'));
  if (name.size() > kNetBiosNameLength) name.resize(kNetBiosNameLength);
  return AsciiUpperCase(name);
}

std::string LinuxSystemInfo::ComputerName() { return NetBiosName(); }

std::string LinuxSystemInfo::UserName() {
  const passwd* entry = getpwuid(geteuid());
  return entry != nullptr && entry->pw_name != nullptr ? entry->pw_name : "";
}

std::uint32_t LinuxSystemInfo::TickCount() {
  timespec ts{};
  if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0) return 0;
  const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);
}

}  // namespace tolvaren::platform::linux_backend
