#include "platform/linux/cloud_config.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvaren::platform::linux_backend {
namespace {

// Rows: the texts in merge order, then what cloud-init does with the name and
// /etc/hosts, or (as "?" rows) that the check could not tell and why.
TEST(CloudConfig, TheLastTopLevelSettingDecides) {
  struct Case {
    std::vector<std::string> texts;
    bool preserve;
    bool rewritesHosts;
  };
  const Case cases[] = {
      {{""}, false, false},
      {{"#cloud-config\nusers:\n  - default\ncloud_init_modules:\n- migrator\n"}, false, false},
      {{"preserve_hostname: true\n"}, true, false},
      {{"preserve_hostname: false\n"}, false, false},
      {{"---\npreserve_hostname : True  # keep ours\n...\n"}, true, false},
      {{"preserve_hostname: \"true\"\n"}, true, false},
      {{"preserve_hostname: 'Yes'"}, true, false},
      {{"preserve_hostname: on\r\n"}, true, false},
      {{"preserve_hostname: 1\n"}, true, false},
      {{"preserve_hostname: maybe\n"}, false, false},
      {{"# preserve_hostname: true\n"}, false, false},
      {{"system_info:\n  preserve_hostname: true\n"}, false, false},  // not at the top level
      {{"preserve_hostname_x: true\n"}, false, false},
      {{"write_files:\n- content: |\n    preserve_hostname: true\n"}, false, false},
      {{"mounts: [[ephemeral0, /mnt, auto, \"defaults,nofail\"]]\nssh_pwauth: 0\n"}, false, false},
      // As Ubuntu's 05_logging.cfg and 90_dpkg.cfg have it.
      {{"## logger information\n_log:\n - &log_base |\n   [loggers]\n   keys=root,cloudinit\nlog_cfgs:\n# comment\n"
        " - [ *log_base, *log_file ]\noutput: {all: '| tee -a /var/log/cloud-init-output.log'}\n",
        "datasource_list: [ NoCloud, ConfigDrive, None ]\n"},
       false,
       false},
      {{"preserve_hostname: false\n", "preserve_hostname: true\n"}, true, false},
      {{"preserve_hostname: true\n", "preserve_hostname: false\n"}, false, false},
      {{"preserve_hostname: true\n", "manage_etc_hosts: true\n"}, true, true},
      {{"manage_etc_hosts: template\n"}, false, true},
      {{"manage_etc_hosts: localhost\n"}, false, true},
      {{"manage_etc_hosts: false\n"}, false, false},
  };
  for (const Case& c : cases) {
    CloudInitSettings settings;
    for (const std::string& text : c.texts) EXPECT_EQ(ReadCloudConfig(text, settings), std::nullopt) << text;
    EXPECT_EQ(settings.preservesHostname, c.preserve) << c.texts.back();
    EXPECT_EQ(settings.rewritesEtcHosts, c.rewritesHosts) << c.texts.back();
  }
}

// What the check cannot read with certainty leaves the settings as they were
// and says why.
TEST(CloudConfig, WhatCannotBeToldIsSaid) {
  const std::pair<const char*, const char*> cases[] = {
      {"\xEF\xBB\xBFpreserve_hostname: true\n", "byte-order mark"},
      {"\"preserve_hostname\": true\n", "no plain \"key: value\" setting"},
      {"{preserve_hostname: true}\n", "no plain \"key: value\" setting"},
      {"base: &keep true\npreserve_hostname: *keep\n", "anchor, alias or tag"},
      {"preserve_hostname: !!bool true\n", "anchor, alias or tag"},
      {"<<: {preserve_hostname: true}\n", "no plain \"key: value\" setting"},
      {"users: {a: 1,\npreserve_hostname: true}\n", "flow collection goes on"},
      {"preserve_hostname:\n  true\n", "goes on over more lines"},
      {"preserve_hostname: true\n  indeed\n", "goes on over more lines"},
      {"preserve_hostname: 0x1\n", "number"},
      {"preserve_hostname: \"tr\\x75e\"\n", "escapes"},
      {"preserve_hostname: true\n---\npreserve_hostname: false\n", "more than one document"},
      {"users: [\n", "flow collection goes on"},
      {"just text\n", "no plain \"key: value\" setting"},
      {"a: b: c\n", "not YAML"},
      {"a:\n\tb: 1\n", "tab"},
      {"preserve_hostname: true\x01\n", "not YAML text"},
      {"preserve_hostname: \xC3(\n", "not YAML text"},
  };
  for (const auto& [text, why] : cases) {
    CloudInitSettings settings;
    settings.preservesHostname = true;
    const std::optional<std::string> doubt = ReadCloudConfig(text, settings);
    ASSERT_TRUE(doubt.has_value()) << text;
    EXPECT_NE(doubt->find(why), std::string::npos) << text << " -> " << *doubt;
    EXPECT_TRUE(settings.preservesHostname) << text;
  }
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
