#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/domain_membership.h"

namespace tolvaren::platform {

// What Windows' NetGetJoinInformation answers, and what it means.
namespace net_setup {
// NETSETUP_JOIN_STATUS
constexpr std::uint32_t kUnknownStatus = 0;
constexpr std::uint32_t kUnjoined = 1;
constexpr std::uint32_t kWorkgroupName = 2;
constexpr std::uint32_t kDomainName = 3;
constexpr const char* kCall = "NetGetJoinInformation";
}  // namespace net_setup

// The domain of a successful call (status 0) that reports a domain join; a
// workgroup, no join, an unknown state or a failed call show none.
inline std::optional<DomainJoin> DomainOfJoinInformation(std::uint32_t status, std::uint32_t joinStatus,
                                                         std::string name) {
  if (status != 0 || joinStatus != net_setup::kDomainName) return std::nullopt;
  return DomainJoin{std::move(name), net_setup::kCall};
}

}  // namespace tolvaren::platform
