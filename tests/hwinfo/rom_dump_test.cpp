#include "hwinfo/rom_dump.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

#include "hwinfo/dos_dump_programs.h"
#include "platform/fake/fake_machine.h"

namespace tolvaren {
namespace {

using platform::fake::FakeMachine;

// A scripted command interpreter: it "runs" the dump by writing `outputSize`
// bytes (byte i = i & 0xFF) to the file named after " > " on the command line.
struct DumpRig {
  DumpRig() {
    machine.environment.variables["ComSpec"] = "C:\\WINDOWS\\system32\\cmd.exe";
    machine.processes.onRun = [this](const std::string& line) {
      // The output path sits between the last pair of quotes.
      const std::size_t end = line.rfind('"', line.size() - 2);
      const std::size_t start = line.rfind('"', end - 1) + 1;
      const std::string output = line.substr(start, end - start);
      std::vector<std::uint8_t> bytes(outputSize);
      for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
      if (writeOutput) machine.files.files[output] = bytes;
      // What the folder held while the program ran.
      folderDuringRun = machine.files.folders;
      return outcome;
    };
    buffer.fill(0xAA);
  }
  DumpRig(const DumpRig&) = delete;

  bool Dump(int selector = kSegmentF000) {
    return DumpRomSegment(machine.platform(), selector, buffer, platform::kWaitInfinite);
  }

  // Nothing of the dump is left behind.
  void ExpectCleanedUp(const std::set<std::string>& foldersBefore = {}) {
    EXPECT_EQ(machine.files.folders, foldersBefore);
    for (const auto& [path, bytes] : machine.files.files) {
      EXPECT_EQ(path.find("RomDump.com"), std::string::npos) << path;
      EXPECT_EQ(path.find("Rom.dmp"), std::string::npos) << path;
    }
  }

  FakeMachine machine;
  std::size_t outputSize = kBiosSegmentSize;
  bool writeOutput = true;
  platform::RunOutcome outcome = platform::roEnded;
  std::set<std::string> folderDuringRun;
  std::array<std::uint8_t, kBiosSegmentSize> buffer{};
};

class RomDumpTest : public ::testing::Test, public DumpRig {};

TEST_F(RomDumpTest, ReadsTheWholeSegmentAndRemovesFolderAndFiles) {
  ASSERT_TRUE(Dump());
  EXPECT_EQ(buffer[0], 0x00);
  EXPECT_EQ(buffer[0x1234], 0x34);
  EXPECT_EQ(buffer[0xFFFF], 0xFF);
  EXPECT_EQ(folderDuringRun, std::set<std::string>{"C:\\TEMP\\~RomDmp1"});
  ASSERT_EQ(machine.processes.commandLines.size(), 1u);
  EXPECT_EQ(machine.processes.commandLines[0],
            "C:\\WINDOWS\\system32\\cmd.exe /C \"\"C:\\TEMP\\~RomDmp1\\RomDump.com\" > "
            "\"C:\\TEMP\\~RomDmp1\\Rom.dmp\"\"");
  EXPECT_EQ(machine.processes.waits[0], platform::kWaitInfinite);
  ExpectCleanedUp();
  // Output file first, then the program, then the folder (with its backslash).
  const std::vector<std::string>& log = machine.files.log;
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 3], "delete C:\\TEMP\\~RomDmp1\\Rom.dmp");
  EXPECT_EQ(log[log.size() - 2], "delete C:\\TEMP\\~RomDmp1\\RomDump.com");
  EXPECT_EQ(log[log.size() - 1], "rmdir C:\\TEMP\\~RomDmp1\\");
}

TEST_F(RomDumpTest, WritesTheProgramOfTheSelectedSegment) {
  std::vector<std::uint8_t> written;
  machine.processes.onRun = [&](const std::string&) {
    written = machine.files.files.at("C:\\TEMP\\~RomDmp1\\RomDump.com");
    return platform::roEnded;
  };
  Dump(kSegmentE000);
  EXPECT_EQ(written, std::vector<std::uint8_t>(DumpProgramFor(kSegmentE000).begin(), DumpProgramFor(14).end()));
  Dump(kSegmentF000);
  EXPECT_EQ(written, std::vector<std::uint8_t>(DumpProgramFor(15).begin(), DumpProgramFor(15).end()));
  // Any selector other than 14 means F000h.
  EXPECT_EQ(DumpProgramFor(0), DumpProgramFor(15));
}

TEST_F(RomDumpTest, TempPathWithAndWithoutBackslash) {
  for (const std::string temp : {"D:\\Tmp", "D:\\Tmp\\"}) {
    machine.files.tempPath = temp;
    machine.processes.commandLines.clear();
    ASSERT_TRUE(Dump()) << temp;
    EXPECT_EQ(folderDuringRun, std::set<std::string>{"D:\\Tmp\\~RomDmp1"}) << temp;
    EXPECT_NE(machine.processes.commandLines[0].find("\"D:\\Tmp\\~RomDmp1\\RomDump.com\""), std::string::npos);
  }
}

TEST_F(RomDumpTest, SkipsExistingFoldersAndKeepsThem) {
  const std::set<std::string> existing{"C:\\TEMP\\~RomDmp1", "C:\\TEMP\\~RomDmp2"};
  machine.files.folders = existing;
  ASSERT_TRUE(Dump());
  EXPECT_EQ(folderDuringRun.count("C:\\TEMP\\~RomDmp3"), 1u);
  ExpectCleanedUp(existing);
}

TEST_F(RomDumpTest, PlainFileNamedLikeTheFolderFailsTheDump) {
  machine.files.files["C:\\TEMP\\~RomDmp1"] = {1, 2, 3};
  EXPECT_FALSE(Dump());
  EXPECT_TRUE(machine.processes.commandLines.empty());
  EXPECT_EQ(machine.files.files.size(), 1u);  // the plain file is untouched
  EXPECT_TRUE(machine.files.folders.empty());
}

TEST_F(RomDumpTest, ShortOutputFailsButKeepsTheBytesRead) {
  outputSize = kBiosSegmentSize - 1;
  EXPECT_FALSE(Dump());
  EXPECT_EQ(buffer[0xFFFE], 0xFE);
  EXPECT_EQ(buffer[0xFFFF], 0x00);
  ExpectCleanedUp();
}

TEST_F(RomDumpTest, EveryFailureCleansUpAndReportsFalse) {
  struct Case {
    const char* what;
    void (*arrange)(DumpRig&);
  };
  const Case cases[] = {
      {"no temp path", [](DumpRig& t) { t.machine.files.tempPath.clear(); }},
      {"folder not created", [](DumpRig& t) { t.machine.files.failCreateFolder = true; }},
      {"program not created", [](DumpRig& t) { t.machine.files.failCreateFile = true; }},
      {"program written short", [](DumpRig& t) { t.machine.files.failWrite = true; }},
      {"no ComSpec", [](DumpRig& t) { t.machine.environment.variables.erase("ComSpec"); }},
      {"empty ComSpec", [](DumpRig& t) { t.machine.environment.variables["ComSpec"] = ""; }},
      {"not started", [](DumpRig& t) { t.outcome = platform::roNotStarted; }},
      {"timed out", [](DumpRig& t) { t.outcome = platform::roTimedOut; }},
      {"no output file", [](DumpRig& t) { t.writeOutput = false; }},
      {"empty output file", [](DumpRig& t) { t.outputSize = 0; }},
  };
  for (const Case& c : cases) {
    DumpRig t;
    c.arrange(t);
    EXPECT_FALSE(t.Dump()) << c.what;
    SCOPED_TRACE(c.what);
    t.ExpectCleanedUp();
  }
}

TEST_F(RomDumpTest, LongerOutputReadsOnlyTheSegment) {
  outputSize = kBiosSegmentSize + 100;
  EXPECT_TRUE(Dump());
  ExpectCleanedUp();
}

}  // namespace
}  // namespace tolvaren
