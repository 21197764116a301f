#include "platform/linux/host_label.h"

#include <unistd.h>

#include "platform/host_name_rules.h"

namespace tolvaren::platform::linux_backend {

bool IsValidHostLabel(std::string_view name) { return LinuxHostNameProblems(name).empty(); }

std::string RunningHostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace tolvaren::platform::linux_backend
