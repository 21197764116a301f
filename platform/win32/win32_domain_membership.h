#pragma once

#include "platform/domain_membership.h"

namespace tolvaren::platform::win32_backend {

// Asks netapi32's NetGetJoinInformation, bound at run time: systems before
// Windows 2000 lack it, and then, as when the call fails, nothing can be told.
class Win32DomainMembership final : public DomainMembership {
 public:
  std::optional<DomainJoin> CurrentDomain() override;
};

}  // namespace tolvaren::platform::win32_backend
