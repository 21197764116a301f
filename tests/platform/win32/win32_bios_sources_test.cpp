// The Win32 image sources on the system the tests run on (Wine here): the
// physical-memory section, the DOS dump fallback and the firmware table.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>

#include "core/host.h"
#include "hwinfo/bios_acquisition.h"
#include "hwinfo/dos_dump_programs.h"
#include "hwinfo/rom_dump.h"
#include "hwinfo/smbios.h"
#include "hwinfo/smbios_anchor.h"
#include "hwinfo/smbios_source.h"
#include "platform/fake/fake_machine.h"

namespace tolvaren {
namespace {

platform::Platform& Native() { return platform::NativePlatform(); }

// Folders of the dump left in the temporary folder.
int LeftoverDumpFolders() {
  platform::FileSystem& files = Native().files;
  const std::string temp = files.TempPath();
  int found = 0;
  for (int n = 1; n <= 5; ++n) {
    if (files.Probe(temp + "~RomDmp" + std::to_string(n)) != platform::pkMissing) ++found;
  }
  return found;
}

TEST(Win32BiosSources, SectionIsRefusedOrCopied) {
  auto image = std::make_unique<BiosImage>();
  const platform::SectionRead read =
      Native().firmware.ReadPhysicalMemorySection(kBiosAreaBase, image->data(), image->size());
  // Wine has no \Device\PhysicalMemory (0xC0000034); a user on Windows gets
  // access denied. Either way the fallback takes over, never the mapping error.
  EXPECT_NE(read.status, platform::SectionRead::srNoView);
  if (read.status == platform::SectionRead::srRefused) {
    EXPECT_NE(read.ntStatus, 0u);
  }
}

TEST(Win32BiosSources, FirmwareTableIsAnSmbiosBlob) {
  const auto blob = Native().firmware.ReadFirmwareTable(platform::kRawSmbiosProvider);
  if (!blob) GTEST_SKIP() << "no GetSystemFirmwareTable here";
  const auto source = ReadRawSmbiosBlob(*blob);
  ASSERT_TRUE(source);
  EXPECT_GE(source->majorVersion, 2);
  EXPECT_FALSE(source->table.empty());
}

TEST(Win32BiosSources, DumpFallbackLeavesNothingBehind) {
  const int before = LeftoverDumpFolders();
  std::array<std::uint8_t, kBiosSegmentSize> buffer{};
  // Wine cannot start a 16-bit program: the dump fails, but cleanly.
  const bool dumped = DumpRomSegment(Native(), kSegmentF000, buffer, 30000);
  if (!dumped) {
    EXPECT_EQ(buffer[0xFFF0], 0);
  }
  EXPECT_EQ(LeftoverDumpFolders(), before);
}

TEST(Win32BiosSources, RedirectionSurvivesBlanksInPaths) {
  platform::FileSystem& files = Native().files;
  const std::string folder = files.TempPath() + "tolvaren dump test";
  files.CreateFolder(folder);
  const std::string script = folder + "\\say hello.bat";
  const std::string output = folder + "\\said.txt";
  const std::string text = "@echo hello\r\n";
  ASSERT_EQ(files.WriteNewFile(script, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())),
            platform::woWritten);
  EXPECT_TRUE(RunRedirected(Native(), script, output, 30000));
  const auto said = files.ReadFileHead(output, 100);
  ASSERT_TRUE(said);
  EXPECT_EQ(std::string(said->begin(), said->end()).substr(0, 5), "hello");
  files.RemoveFile(output);
  files.RemoveFile(script);
  EXPECT_TRUE(files.RemoveFolder(folder));
}

TEST(Win32BiosSources, AcquisitionEndsWithTheFirmwareTable) {
  for (const platform::VersionRecord& version : {platform::fake::kWindowsXp, platform::fake::kWindows7}) {
    SCOPED_TRACE(version.majorVersion * 10 + version.minorVersion);
    Host host(Native(), ClassifyOs(version));
    auto image = std::make_unique<BiosImage>();
    HighTable high;
    const int before = LeftoverDumpFolders();
    const bool ok = AcquireBiosImage(host, kBiosAreaBase, *image, high);
    EXPECT_EQ(LeftoverDumpFolders(), before);
    if (!Native().firmware.ReadFirmwareTable(platform::kRawSmbiosProvider)) continue;
    EXPECT_TRUE(ok);
    EXPECT_TRUE(IsUsableBiosImage(*image, high));
  }
}

// Run by tests/e2e/rsmb_wine.sh, which gives Wine identification strings in a
// private mount namespace: they must come back through the firmware table,
// the synthesized image and the reader.
TEST(Win32BiosSources, FirmwareTableCarriesTheMachineStrings) {
  const char* serial = std::getenv("TOLVAREN_EXPECT_SYSTEM_SERIAL");
  if (serial == nullptr) GTEST_SKIP() << "run through tests/e2e/rsmb_wine.sh";
  Host host(Native(), ClassifyOs(platform::fake::kWindows7));
  TSMBIOS smbios(host);
  smbios.GetInfo(1);
  EXPECT_EQ(smbios.SystemSerial(), serial);
  EXPECT_EQ(smbios.SystemManufacturer(), "Tolvaren Test Works");
  EXPECT_EQ(smbios.SystemModel(), "Bench 9");
  EXPECT_EQ(smbios.MainBoardSerial(), "BOARD-77");
  EXPECT_EQ(smbios.ChassisSerial(), "CASE-88");
  EXPECT_EQ(smbios.ChassisModel(), "Desktop");
  EXPECT_EQ(smbios.EntryPointAddress(), 0xF0000u);
}

}  // namespace
}  // namespace tolvaren
