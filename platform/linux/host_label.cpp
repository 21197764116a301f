#include "platform/linux/host_label.h"

#include "platform/host_name_rules.h"

namespace tolvaren::platform::linux_backend {

bool IsValidHostLabel(std::string_view name) { return LinuxHostNameProblems(name).empty(); }

}  // namespace tolvaren::platform::linux_backend
