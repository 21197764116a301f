#include <cstdlib>

#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {

std::optional<std::string> LinuxEnvironment::Get(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace tolvaren::platform::linux_backend
