#include "app/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <tuple>

#include "core/host.h"
#include "hwinfo/bios_image.h"
#include "platform/fake/fake_machine.h"

namespace tolvaren {
namespace {

std::string ExpectedHelp() {
  std::ifstream file(TOLVAREN_SOURCE_DIR "/tests/e2e/expected/help.txt", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class CommandLineTest : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& arguments) {
    Host host = Host::StartUp(machine.platform());
    return RunCommandLine(host, arguments);
  }

  platform::fake::FakeMachine machine;
};

// Help asked for ends with success; help shown because the arguments were
// not understood ends with the usage status.
TEST_F(CommandLineTest, HelpForNoArgumentsQuestionMarkAndNonOptions) {
  const std::vector<std::pair<std::vector<std::string>, int>> cases = {
      {{}, kExitSuccess},           {{""}, kExitSuccess},      {{"/?"}, kExitSuccess},
      {{"/?", "/c"}, kExitSuccess}, {{"jupiter"}, kExitUsage}, {{"c", "name"}, kExitUsage},
  };
  for (const auto& [arguments, status] : cases) {
    platform::fake::FakeMachine fresh;
    fresh.console.input = "\n";  // a script's input: never read
    Host host = Host::StartUp(fresh.platform());
    EXPECT_EQ(RunCommandLine(host, arguments), status);
    EXPECT_EQ(fresh.console.output, ExpectedHelp()) << (arguments.empty() ? "(none)" : arguments[0]);
    EXPECT_EQ(fresh.console.inputPosition, 0u);
    EXPECT_TRUE(fresh.names.written.empty());
  }
}

TEST_F(CommandLineTest, HelpPausesOnceAfterThePromptAndFlushesFirst) {
  machine.console.inputIsInteractive = true;
  machine.console.input = "\n";
  Run({});
  const std::string& before = machine.console.outputBeforeFirstRead;
  const std::string prompt = "Press [enter] for more...";
  ASSERT_GE(before.size(), prompt.size());
  EXPECT_EQ(before.substr(before.size() - prompt.size()), prompt);
  EXPECT_GE(machine.console.flushes, 1);
  EXPECT_EQ(machine.console.inputPosition, 1u);  // one character read, no more
}

TEST_F(CommandLineTest, HelpUsesThePlatformLineEnd) {
  machine.console.lineEnd = "\r\n";
  Run({"/?"});
  std::string expected;
  for (const char c : ExpectedHelp()) {
    if (c == '\n') expected += '\r';
    expected += c;
  }
  EXPECT_EQ(machine.console.output, expected);
}

TEST_F(CommandLineTest, UnknownOrMiscasedOptionsPrintNothing) {
  for (const std::string option : {"/C", "/x", "/Change", "/ch", "/"}) {
    platform::fake::FakeMachine fresh;
    Host host = Host::StartUp(fresh.platform());
    EXPECT_EQ(RunCommandLine(host, {option, "jupiter"}), kExitUsage);
    EXPECT_EQ(fresh.console.output, "") << option;
    EXPECT_TRUE(fresh.names.written.empty());
  }
}

TEST_F(CommandLineTest, ChangeWithoutANameFailsWithoutWriting) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{{"/c"}, {"/c", "***"}, {"/change", " "}}) {
    platform::fake::FakeMachine fresh;
    Host host = Host::StartUp(fresh.platform());
    EXPECT_EQ(RunCommandLine(host, arguments), kExitFailure);
    EXPECT_EQ(fresh.console.output, "Error: No name specified\n");
    EXPECT_TRUE(fresh.names.written.empty());
  }
}

TEST_F(CommandLineTest, ChangeWritesTheSanitizedName) {
  EXPECT_EQ(Run({"/c", "my_pc", "extra"}), kExitSuccess);
  EXPECT_EQ(machine.names.written, std::vector<std::string>{"my-pc"});
  EXPECT_EQ(machine.console.output, "Computer name successfully changed to \"my-pc\".  Restart required.\n");
}

TEST_F(CommandLineTest, ChangeExpandsOnlyWhenTheNameHoldsAQuestionMark) {
  machine.clock.local = {2007, 3, 5, 0, 0, 0, 0};
  EXPECT_EQ(Run({"/c", "pc-?Y?M?D"}), kExitSuccess);
  EXPECT_EQ(Run({"/change", "web01"}), kExitSuccess);
  EXPECT_EQ(machine.names.written, (std::vector<std::string>{"pc-070305", "web01"}));
}

TEST_F(CommandLineTest, ChangeRefusedByThePlatformReportsItsCodeAndReasons) {
  machine.names.accept = false;
  machine.names.errorCode = 0x80070057u;
  machine.names.reasons = {"/etc/hostname: Read-only file system"};
  EXPECT_EQ(Run({"/c", "jupiter"}), kExitFailure);
  EXPECT_EQ(machine.console.output,
            "Error: Err #2147942487 on writing computer name \"jupiter\".\n/etc/hostname: Read-only file system\n");
}

TEST_F(CommandLineTest, ChangeToAnEmptyExpansionFailsWithoutWriting) {
  machine.system.netBiosName = "";
  EXPECT_EQ(Run({"/c", "?e"}), kExitFailure);
  EXPECT_EQ(machine.console.output, "Error: Your name evaluated to a zero-length string\n");
  EXPECT_TRUE(machine.names.written.empty());
}

TEST_F(CommandLineTest, DisplayShowsTheNameOrTheExpansion) {
  machine.system.netBiosName = "OLDNAME";
  Run({"/d"});
  Run({"/display", "***"});
  Run({"/d", "a_b"});
  Run({"/d", "pc-?e"});
  Run({"/d", "?t"});
  // Control bytes of the name are shown as firmware strings show them.
  machine.system.netBiosName = "OLD\r\x1b[2J\x7f";
  Run({"/d"});
  Run({"/d", "pc-?e"});
  EXPECT_EQ(machine.console.output, "OLDNAME\nOLDNAME\na-b\npc-OLDNAME\ntest\nOLD..[2J.\npc-OLD..[2J.\n");
  EXPECT_TRUE(machine.names.written.empty());
}

TEST_F(CommandLineTest, DisplayOfAnEmptyExpansionPrintsAnEmptyLine) {
  machine.system.netBiosName = "";
  EXPECT_EQ(Run({"/d", "?e"}), kExitSuccess);
  EXPECT_EQ(machine.console.output, "\n");
}

// The saved image is an explicit choice: when it cannot be used, no action
// runs on an empty identification, and none prints anything else first.
TEST_F(CommandLineTest, AnUnusableSavedImageEndsEveryActionBeforeItStarts) {
  const std::vector<std::vector<std::string>> actions = {{"/c", "pc?s"}, {"/c", "jupiter"}, {"/c"}, {"/d", "pc?s"},
                                                         {"/d"},         {"/display", "x"}, {"/s"}, {"/smbios"}};
  for (const auto& arguments : actions) {
    platform::fake::FakeMachine fresh;
    fresh.environment.variables["TOLVAREN_BIOS_IMAGE"] = "C:\\dumps\\gone.bin";
    Host host = Host::StartUp(fresh.platform());
    EXPECT_EQ(RunCommandLine(host, arguments), kExitFailure) << arguments[0];
    const std::string& out = fresh.console.output;
    EXPECT_EQ(out.rfind("Error: ", 0), 0u) << out;
    EXPECT_NE(out.find("C:\\dumps\\gone.bin"), std::string::npos) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line: " << out;
    EXPECT_TRUE(fresh.names.written.empty()) << arguments[0];
  }
  // /j gives the same in its one JSON object.
  for (const std::string report : {"/j", "/json"}) {
    platform::fake::FakeMachine fresh;
    fresh.environment.variables["TOLVAREN_BIOS_IMAGE"] = "C:\\dumps\\gone.bin";
    Host host = Host::StartUp(fresh.platform());
    EXPECT_EQ(RunCommandLine(host, {report, "pc?s"}), kExitFailure);
    const std::string& out = fresh.console.output;
    EXPECT_EQ(out.rfind("{\"version\":", 0), 0u) << out;
    EXPECT_NE(out.find(R"("error":"Cannot use the BIOS image \"C:\\dumps\\gone.bin\")"), std::string::npos) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << out;
  }
  // The help and option words that match nothing are no actions.
  machine.environment.variables["TOLVAREN_BIOS_IMAGE"] = "gone.bin";
  EXPECT_EQ(Run({"/?"}), kExitSuccess);
  EXPECT_EQ(Run({"/x"}), kExitUsage);
  EXPECT_EQ(machine.console.output.find("Error"), std::string::npos);
}

// A raw area image is read once per run, and not at all by a run that reads
// no firmware value.
TEST_F(CommandLineTest, ASavedImageIsReadOnceAndOnlyWhenUsed) {
  machine.environment.variables["TOLVAREN_BIOS_IMAGE"] = "area.bin";
  machine.files.files["area.bin"] = std::vector<std::uint8_t>(kBiosAreaSize, 0);
  const std::tuple<std::string, std::string, int> cases[] = {{"/s", "", 1}, {"/d", "?s?c", 1}, {"/d", "x", 0}};
  for (const auto& [action, text, reads] : cases) {
    machine.files.log.clear();
    EXPECT_EQ(Run({action, text}), kExitSuccess) << action << " " << text;
    EXPECT_EQ(std::count(machine.files.log.begin(), machine.files.log.end(), "read area.bin"), reads) << text;
  }
}

}  // namespace
}  // namespace tolvaren
