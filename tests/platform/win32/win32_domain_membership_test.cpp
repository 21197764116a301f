#include "platform/win32/win32_domain_membership.h"

#include <gtest/gtest.h>

namespace tolvaren::platform::win32_backend {
namespace {

// Wine's netapi32 reports a workgroup: no domain, and no crash from the
// run-time binding or the release of the name's buffer.
TEST(Win32DomainMembership, AWorkgroupShowsNoDomain) {
  Win32DomainMembership membership;
  EXPECT_EQ(membership.CurrentDomain(), std::nullopt);
  EXPECT_EQ(membership.CurrentDomain(), std::nullopt);
}

}  // namespace
}  // namespace tolvaren::platform::win32_backend
