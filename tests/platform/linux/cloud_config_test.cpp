#include "platform/linux/cloud_config.h"

#include <gtest/gtest.h>

namespace tolvaren::platform::linux_backend {
namespace {

TEST(CloudConfig, TheLastTopLevelSettingDecides) {
  struct Case {
    std::vector<std::string> texts;
    bool preserve;
  };
  const Case cases[] = {
      {{""}, false},
      {{"#cloud-config\nusers:\n  - default\n"}, false},
      {{"preserve_hostname: true\n"}, true},
      {{"preserve_hostname: false\n"}, false},
      {{"preserve_hostname : True  # keep ours\n"}, true},
      {{"preserve_hostname: \"true\"\n"}, true},
      {{"preserve_hostname: yes"}, true},
      {{"preserve_hostname: on\r\n"}, true},
      {{"# preserve_hostname: true\n"}, false},
      {{"system_info:\n  preserve_hostname: true\n"}, false},  // not at the top level
      {{"preserve_hostname_x: true\n"}, false},
      {{"preserve_hostname: false\n", "preserve_hostname: true\n"}, true},
      {{"preserve_hostname: true\n", "preserve_hostname: false\n"}, false},
      {{"preserve_hostname: true\n", "manage_etc_hosts: true\n"}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(CloudInitPreservesHostname(c.texts), c.preserve) << c.texts.back();
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
