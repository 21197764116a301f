#pragma once

#include "platform/registry.h"

namespace tolvaren::platform::linux_backend {

// Linux has no registry: every key fails to open, which readers take as
// "nothing there".
class LinuxRegistry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot, const std::string&, bool) override { return nullptr; }
};

}  // namespace tolvaren::platform::linux_backend
