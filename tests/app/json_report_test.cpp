#include "app/json_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/command_line.h"
#include "core/host.h"
#include "platform/fake/fake_machine.h"
#include "tests/hwinfo/smbios_table_builder.h"

namespace tolvaren {
namespace {

namespace fs = std::filesystem;

// A Windows 10 machine whose firmware table holds one system serial; with a
// network: 10.1.2.3, 00:0A:95:9D:68:16 and one DNS server that never answers.
struct Machine {
  explicit Machine(const std::string& serial, bool network = true) {
    fake.firmware.rawSmbios = testing::RawSmbiosBlob(2, 4, testing::SystemTable(serial));
    fake.system.netBiosName = "OLDPC";
    if (!network) return;
    fake.winsock.hosts["fakepc"] = {{10, 1, 2, 3}};
    fake.netbios.lanas = {{0, {0x00, 0x0A, 0x95, 0x9D, 0x68, 0x16}, 0, 0}};
    platform::ip_helper_records::NetworkParamsRecord params;
    params.hostName = "oldpc";
    params.dnsServers = {"192.0.2.53"};
    fake.ipHelper.params = params;
  }

  // The output of one run, and its status.
  std::string Run(const std::vector<std::string>& arguments, int* status = nullptr) {
    fake.console.output.clear();
    Host host(fake.platform(), ClassifyOs(version));
    const int result = RunCommandLine(host, arguments);
    if (status != nullptr) *status = result;
    return fake.console.output;
  }

  platform::fake::FakeMachine fake;
  platform::VersionRecord version = platform::fake::kWindows10;
};

#ifndef _WIN32
void Save(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }
#endif

// Real /j output of several machines is valid against doc/'s schema, and its
// values are those /s and /d print on the same machine.
TEST(JsonReport, ValidAndEqualToSummaryAndDisplay) {
#ifdef _WIN32
  GTEST_SKIP() << "the check runs python3 natively";
#else
  if (std::system("python3 -c 'import jsonschema' >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3-jsonschema";
  struct Case {
    std::string serial;
    bool network;
    std::string templateText;
  };
  const Case cases[] = {
      {"", false, ""},
      {"To be filled by O.E.M.", true, "pc-?s-?m?i"},
      {"A\"b\\c caf\xE9 \xC3\xA9 \xED\xA0\x80", true, "x?s"},
      {"SN-1", false, "a-very-long-name-for-netbios-?s?m"},
  };
  const fs::path folder = fs::path(TOLVAREN_BINARY_DIR) / "tests" / "json-report";
  fs::create_directories(folder);
  std::string checks;  // one line of check_report.py arguments per report
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    Machine machine(c.serial, c.network);
    int status = -1;
    const std::string base = (folder / std::to_string(i)).string();
    Save(base + ".json", machine.Run({"/j", c.templateText}, &status));
    EXPECT_EQ(status, kExitSuccess) << i;
    Save(base + ".s", machine.Run({"/s"}));
    Save(base + ".d", machine.Run({"/d"}));
    checks += base + ".json --summary " + base + ".s --current " + base + ".d";
    if (!c.templateText.empty()) {
      Save(base + ".dt", machine.Run({"/d", c.templateText}));
      checks += " --display " + base + ".dt";
    }
    checks += '\n';
  }
  // An unusable saved image: the error object alone, valid all the same.
  Machine broken("", false);
  broken.fake.environment.variables["TOLVAREN_BIOS_IMAGE"] = "gone.bin";
  int status = -1;
  Save(folder / "error.json", broken.Run({"/j", "pc-?s"}, &status));
  EXPECT_EQ(status, kExitFailure);
  checks += (folder / "error.json").string() + '\n';
  Save(folder / "checks", checks);
  const std::string command = "python3 " TOLVAREN_SOURCE_DIR "/tests/e2e/check_report.py " TOLVAREN_SOURCE_DIR
                              "/doc/tolvaren-report.schema.json --batch " +
                              (folder / "checks").string();
  EXPECT_EQ(std::system(command.c_str()), 0);
#endif
}

TEST(JsonReport, NameChecksAndWarningsNameTheField) {
  Machine machine("To be filled by O.E.M.");
  machine.fake.names.problems = {{"digits_only", "is made of digits only"}};
  machine.fake.names.staticName = "nextboot";
  const std::string report = machine.Run({"/json", "pc_?s?d?a-?I"});
  EXPECT_NE(
      report.find(R"("current_name":"OLDPC","static_name":"nextboot","template":"pc-?s?d?a-?I",)"
                  R"("name":"pc-To be filled by O.E.M.To be filled by O.E.M.-0A","netbios_name":"PC-TO BE FILLED",)"
                  R"("problems":[{"code":"digits_only","message":"is made of digits only"}],"warnings":[)"
                  R"({"kind":"placeholder","macro":"?s","field":"system.serial","text":"To be filled by O.E.M.",)"
                  R"("message":"?s took the system serial number \"To be filled by O.E.M.\", a text makers leave )"
                  R"(in fields they did not fill: machines of this model get the same name"},)"
                  R"({"kind":"empty","macro":"?d","field":"network.dns_name","text":"",)"),
      std::string::npos)
      << report;
  EXPECT_NE(report.find(R"({"kind":"placeholder","macro":"?a","field":"system.serial",)"), std::string::npos);
  EXPECT_NE(report.find(R"({"kind":"netbios_truncated","macro":"","field":"netbios_name","text":"PC-TO BE FILLED",)"),
            std::string::npos);
  // No network macro asks for the reverse name without "?d": no lookup at all.
  machine.fake.sockets.sent.clear();
  machine.Run({"/j", "pc-?i?m"});
  EXPECT_TRUE(machine.fake.sockets.sent.empty());
}

// Lines the gathering prints go into "messages", so the output is the object
// alone; without a template the name keys are left out.
TEST(JsonReport, GatheringLinesBecomeMessages) {
  Machine machine("SN-1", false);
  machine.fake.registry.Load(R"([HKLM\SYSTEM\CurrentControlSet\Enum\Root\X\0000]
DeviceDesc = dword:1
[HKLM\SYSTEM\CurrentControlSet\Enum\Root\X\0000\Control])");
  machine.fake.console.lineEnd = "\r\n";
  machine.version = platform::fake::kWindowsXp;  // the system that enumerates devices
  const std::string report = machine.Run({"/j"});
  EXPECT_EQ(report.find("\n"), report.size() - 1);
  EXPECT_EQ(report.substr(report.size() - 3), "}\r\n");
  EXPECT_NE(report.find(R"("warnings":[],"messages":["TDevices.GetInfo: Invalid data type for 'DeviceDesc'"]})"),
            std::string::npos)
      << report;
  EXPECT_EQ(report.find("\"template\""), std::string::npos);
}

// /c warns before its outcome line of each placeholder or empty value the
// name took, and after it of what the name store reports.
TEST(JsonReport, ChangeWarnsOfPlaceholdersBeforeAndOfTheStoreAfter) {
  Machine machine("Default string", false);
  machine.fake.names.warnings = {"cloud-init may set the old name again"};
  EXPECT_EQ(machine.Run({"/c", "pc-?s?b"}),
            "Warning: ?s took the system serial number \"Default string\", a text makers leave in fields they did "
            "not fill: machines of this model get the same name\n"
            "Warning: ?b took the main-board serial number, which is empty, so it adds nothing to the name\n"
            "Computer name successfully changed to \"pc-Default string\".  Restart required.\n"
            "Warning: cloud-init may set the old name again\n");
  // /d stays the bare name.
  EXPECT_EQ(machine.Run({"/d", "pc-?s"}), "pc-Default string\n");
}

}  // namespace
}  // namespace tolvaren
