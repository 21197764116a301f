#include "platform/linux/hosts_file.h"

#include <gtest/gtest.h>

namespace tolvaren::platform::linux_backend {
namespace {

TEST(HostsFile, LoopbackAddresses) {
  const std::pair<const char*, bool> cases[] = {
      {"127.0.0.1", true},    {"127.0.1.1", true},       {"127.255.255.254", true},
      {"::1", true},          {"0:0:0:0:0:0:0:1", true}, {"0::1", true},
      {"0000::0001", true},   {"128.0.0.1", false},      {"127.0.0", true},
      {"127.0.0.1.5", false}, {"127.0.0.256", false},    {"127.00.0.1", true},
      {"127.1", true},        {"0177.0.0.1", true},      {"127.000.000.001", true},
      {"0x7f.1", true},       {"128.1", false},          {"08.0.0.1", false},
      {"::2", false},         {"1::1", false},           {"::ffff:127.0.0.1", false},
      {":::1", false},        {"fe80::1", false},        {"", false},
      {"localhost", false},
  };
  for (const auto& [text, loopback] : cases) EXPECT_EQ(IsLoopbackAddressText(text), loopback) << text;
}

TEST(HostsFile, OnlyOldNameTokensOnLoopbackLinesChange) {
  struct Case {
    const char* what;
    std::string before;
    std::optional<std::string> after;
  };
  const Case cases[] = {
      {"Debian layout", "127.0.0.1\tlocalhost\n127.0.1.1\toldpc\n\n::1     localhost ip6-localhost ip6-loopback\n",
       "127.0.0.1\tlocalhost\n127.0.1.1\tnewpc\n\n::1     localhost ip6-localhost ip6-loopback\n"},
      {"FQDN first keeps its domain", "127.0.1.1 oldpc.example.org oldpc\n", "127.0.1.1 newpc.example.org newpc\n"},
      {"case does not matter", "127.0.1.1 OldPC.Example.org OLDPC\n", "127.0.1.1 newpc.Example.org newpc\n"},
      {"IPv6 loopback line", "::1 localhost oldpc\n", "::1 localhost newpc\n"},
      {"no such line: unchanged", "127.0.0.1 localhost\n::1 localhost\n", std::nullopt},
      {"other addresses stay", "10.0.0.5 oldpc\n192.168.1.1 oldpc.lan\n", std::nullopt},
      {"inside a longer word stays", "127.0.1.1 oldpc2 my-oldpc oldpcs.example.org\n", std::nullopt},
      {"comments stay", "# 127.0.1.1 oldpc\n127.0.1.1 web # was oldpc\n", std::nullopt},
      {"the name as address stays", "oldpc 127.0.0.1\n", std::nullopt},
      {"blanks, CR LF and no last line end stay", "127.0.1.1  \t oldpc \t web\r\n127.0.0.2 oldpc",
       "127.0.1.1  \t newpc \t web\r\n127.0.0.2 newpc"},
      {"the running name too", "127.0.1.1 running\n", "127.0.1.1 newpc\n"},
      {"old name given as FQDN", "127.0.1.1 oldpc\n", "127.0.1.1 newpc\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RenameInHostsFile(c.before, {"oldpc.example.org", "running"}, "newpc"), c.after) << c.what;
  }
  // The new name equal to the old one changes nothing; empty old names match nothing.
  EXPECT_EQ(RenameInHostsFile("127.0.1.1 pc\n", {"pc"}, "pc"), std::nullopt);
  EXPECT_EQ(RenameInHostsFile("127.0.1.1 .x\n", {"", ""}, "pc"), std::nullopt);
}

TEST(HostsFile, LoopbackNames) {
  for (const char* name : {"localhost", "LOCALHOST", "localhost.localdomain", "localhost4", "localhost6.localdomain6",
                           "ip6-localhost", "ip6-loopback", "localhost.example.org"}) {
    EXPECT_TRUE(IsLoopbackName(name)) << name;
  }
  for (const char* name : {"", "localhost-1", "mylocalhost", "ip6-allnodes", "loopback", "pc.localhost"}) {
    EXPECT_FALSE(IsLoopbackName(name)) << name;
  }
}

// A machine still called by a loopback name keeps that name on every line
// and the new name joins it there, once.
TEST(HostsFile, LoopbackNamesStayAndTheNewNameJoinsThem) {
  struct Case {
    const char* what;
    std::vector<std::string> oldNames;
    std::string before;
    std::optional<std::string> after;
  };
  const std::string debian = "127.0.0.1\tlocalhost\n127.0.1.1\tdebian\n::1 localhost ip6-localhost ip6-loopback\n";
  const std::string fedora =
      "127.0.0.1   localhost localhost.localdomain localhost4 localhost4.localdomain4\n"
      "::1         localhost localhost.localdomain localhost6 localhost6.localdomain6\n";
  const Case cases[] = {
      {"systemd fallback: running localhost, no static name",
       {"", "localhost"},
       debian,
       "127.0.0.1\tlocalhost newpc\n127.0.1.1\tdebian\n::1 localhost ip6-localhost ip6-loopback newpc\n"},
      {"Fedora's localhost.localdomain as static name",
       {"localhost.localdomain", "localhost"},
       fedora,
       "127.0.0.1   localhost localhost.localdomain localhost4 localhost4.localdomain4 newpc\n"
       "::1         localhost localhost.localdomain localhost6 localhost6.localdomain6 newpc\n"},
      {"Debian 127.0.1.1 line renamed, localhost kept",
       {"debian", "localhost"},
       debian,
       "127.0.0.1\tlocalhost newpc\n127.0.1.1\tnewpc\n::1 localhost ip6-localhost ip6-loopback newpc\n"},
      {"old name ip6-localhost: only the lines holding it",
       {"ip6-localhost"},
       debian,
       "127.0.0.1\tlocalhost\n127.0.1.1\tdebian\n::1 localhost ip6-localhost ip6-loopback newpc\n"},
      {"inet_aton spellings of loopback",
       {"pc", "localhost"},
       "127.1 pc\n0177.0.0.1 localhost # loop\n127.000.000.001 pc.lan\n10.1 pc\n",
       "127.1 newpc\n0177.0.0.1 localhost newpc # loop\n127.000.000.001 newpc.lan\n10.1 pc\n"},
      {"the new name already there", {"localhost"}, "127.0.0.1 localhost NewPC\n", std::nullopt},
      {"renamed on the same line", {"pc", "localhost"}, "127.0.1.1 pc localhost\n", "127.0.1.1 newpc localhost\n"},
      {"localhost on other addresses stays alone", {"localhost"}, "10.0.0.1 localhost\n", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(RenameInHostsFile(c.before, c.oldNames, "newpc"), c.after) << c.what;
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
