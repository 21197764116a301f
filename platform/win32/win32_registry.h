#pragma once

#include "platform/registry.h"

namespace tolvaren::platform::win32_backend {

// The system registry through advapi32.
class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& path, bool writeAccess) override;
};

}  // namespace tolvaren::platform::win32_backend
