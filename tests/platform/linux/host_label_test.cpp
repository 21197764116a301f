#include "platform/linux/host_label.h"

#include <gtest/gtest.h>

namespace tolvaren::platform::linux_backend {
namespace {

TEST(HostLabel, AcceptsLettersDigitsAndInnerHyphens) {
  EXPECT_TRUE(IsValidHostLabel("a"));
  EXPECT_TRUE(IsValidHostLabel("Web-01"));
  EXPECT_TRUE(IsValidHostLabel("0123456789"));
  EXPECT_TRUE(IsValidHostLabel(std::string(63, 'x')));
}

TEST(HostLabel, RefusesEverythingElse) {
  EXPECT_FALSE(IsValidHostLabel(""));
  EXPECT_FALSE(IsValidHostLabel(std::string(64, 'x')));
  EXPECT_FALSE(IsValidHostLabel("-web"));
  EXPECT_FALSE(IsValidHostLabel("web-"));
  EXPECT_FALSE(IsValidHostLabel("web.example"));
  EXPECT_FALSE(IsValidHostLabel("web_01"));
  EXPECT_FALSE(IsValidHostLabel("we b"));
  EXPECT_FALSE(IsValidHostLabel("caf\xE9"));
  EXPECT_FALSE(IsValidHostLabel(std::string("a\0b", 3)));
  EXPECT_FALSE(IsValidHostLabel("?s"));
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
