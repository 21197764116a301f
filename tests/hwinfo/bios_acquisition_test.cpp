#include "hwinfo/bios_acquisition.h"
#include "core/host.h"

#include <gtest/gtest.h>

#include <memory>

#include "hwinfo/bios_image_file.h"
#include "hwinfo/smbios_anchor.h"
#include "hwinfo/smbios_synthesis.h"
#include "platform/fake/fake_machine.h"
#include "tests/hwinfo/smbios_table_builder.h"
#include "tests/support/failure_of.h"

namespace tolvaren {
namespace {

using platform::fake::FakeMachine;
using testing::Bytes;

// A usable area image: a synthesized one whose table carries `serial`.
Bytes UsableArea(const std::string& serial) {
  SmbiosSource source;
  source.majorVersion = 2;
  source.minorVersion = 4;
  source.table = testing::SystemTable(serial);
  auto image = std::make_unique<BiosImage>();
  HighTable high;
  SynthesizeBiosImage(source, *image, high);
  return Bytes(image->begin(), image->end());
}

// True when the image holds the text somewhere.
bool Holds(const BiosImage& image, const std::string& text) {
  return std::search(image.begin(), image.end(), text.begin(), text.end()) != image.end();
}

class BiosAcquisition : public ::testing::Test {
 protected:
  bool Acquire(platform::VersionRecord version) {
    Host host(machine.platform(), ClassifyOs(version));
    return AcquireBiosImage(host, kBiosAreaBase, *image, high);
  }

  FakeMachine machine;
  std::unique_ptr<BiosImage> image = std::make_unique<BiosImage>();
  HighTable high;
};

TEST_F(BiosAcquisition, Windows9xCopiesTheOwnAddressSpace) {
  machine.firmware.mappedArea = UsableArea("DIRECT");
  machine.firmware.rawSmbios = testing::RawSmbiosBlob(2, 4, testing::SystemTable("RSMB"));
  EXPECT_TRUE(Acquire(platform::fake::kWindows98));
  EXPECT_TRUE(Holds(*image, "DIRECT"));
  EXPECT_EQ(machine.firmware.sectionOpens, 0);
  EXPECT_EQ(machine.firmware.firmwareTableReads, 0);
  EXPECT_TRUE(machine.files.log.empty());
}

TEST_F(BiosAcquisition, NtReadsThePhysicalMemorySection) {
  machine.firmware.sectionStatus = 0;
  machine.firmware.physicalArea = UsableArea("SECTION");
  EXPECT_TRUE(Acquire(platform::fake::kWindowsXp));
  EXPECT_TRUE(Holds(*image, "SECTION"));
  EXPECT_EQ(machine.firmware.firmwareTableReads, 0);
  EXPECT_TRUE(machine.files.log.empty());
}

TEST_F(BiosAcquisition, SectionWithoutViewRaisesTheMappingErrorAndKeepsTheImage) {
  machine.firmware.sectionStatus = 0;
  machine.firmware.sectionMaps = false;
  machine.firmware.rawSmbios = testing::RawSmbiosBlob(2, 4, testing::SystemTable("RSMB"));
  image->fill(0x11);
  EXPECT_EQ(testing::FailureOf<Exception>([&] { Acquire(platform::fake::kWindows2000); }),
            "Cannot map physical memory to process memory!\r\n");
  EXPECT_EQ((*image)[0], 0x11);
  EXPECT_EQ(machine.firmware.firmwareTableReads, 0);
}

TEST_F(BiosAcquisition, RefusedSectionDumpsBothSegmentsThroughDos) {
  machine.environment.variables["ComSpec"] = "C:\\CMD.EXE";
  const Bytes area = UsableArea("DUMPED");
  machine.processes.onRun = [&](const std::string& line) {
    const bool low = line.find("~RomDmp1") != std::string::npos && machine.processes.commandLines.size() == 1;
    const std::string output = "C:\\TEMP\\~RomDmp1\\Rom.dmp";
    machine.files.files[output] =
        Bytes(area.begin() + (low ? 0 : kBiosSegmentSize), area.begin() + (low ? kBiosSegmentSize : kBiosAreaSize));
    return platform::roEnded;
  };
  EXPECT_TRUE(Acquire(platform::fake::kWindowsXp));
  EXPECT_EQ(machine.processes.commandLines.size(), 2u);
  EXPECT_TRUE(std::equal(area.begin(), area.end(), image->begin()));
  EXPECT_EQ(machine.firmware.firmwareTableReads, 0);
  EXPECT_TRUE(machine.files.folders.empty());
}

TEST_F(BiosAcquisition, UnusableClassicCopyFallsBackToTheFirmwareTable) {
  // Windows 7 is not classified as NT: the direct copy gets readable memory
  // without an anchor, as under Wine; the firmware table then serves.
  machine.firmware.mappedArea = Bytes(kBiosAreaSize, 0);
  machine.firmware.rawSmbios = testing::RawSmbiosBlob(3, 2, testing::SystemTable("RSMB-1"));
  EXPECT_TRUE(Acquire(platform::fake::kWindows7));
  EXPECT_TRUE(Holds(*image, "RSMB-1"));
  EXPECT_EQ(FindEntryPointAddress(*image), 0xF0000u);

  // An XP whose dumps fail (no 16-bit support) ends the same way.
  *image = {};
  EXPECT_TRUE(Acquire(platform::fake::kWindowsXp));
  EXPECT_TRUE(Holds(*image, "RSMB-1"));
}

TEST_F(BiosAcquisition, NoUsableSourceKeepsTheClassicResult) {
  // A partial direct copy: false, and its bytes stay in the image.
  machine.firmware.mappedArea = Bytes(100, 0x42);
  machine.firmware.rawSmbios = Bytes{1, 2, 3};  // not a valid blob
  image->fill(0x99);
  EXPECT_FALSE(Acquire(platform::fake::kWindowsMe));
  EXPECT_EQ((*image)[99], 0x42);
  EXPECT_EQ((*image)[100], 0x99);
  EXPECT_EQ(machine.firmware.firmwareTableReads, 1);

  // A full but unusable copy with a table that synthesizes to nothing usable.
  machine.firmware.mappedArea = Bytes(kBiosAreaSize, 0);
  machine.firmware.rawSmbios = testing::RawSmbiosBlob(3, 0, Bytes{});
  EXPECT_TRUE(Acquire(platform::fake::kWindows10));
  EXPECT_FALSE(IsUsableBiosImage(*image, high));
}

TEST_F(BiosAcquisition, LinuxPrefersSysfsThenDevMem) {
  machine.firmware.family = platform::ffLinux;
  machine.firmware.mappedArea = UsableArea("DEVMEM");
  const Bytes table = testing::SystemTable("SYSFS");
  Bytes entry(0x1F, 0);
  std::copy_n("_SM_", 4, entry.begin());
  entry[6] = 2;
  entry[7] = 8;
  entry[0x16] = static_cast<std::uint8_t>(table.size());
  entry[0x1C] = 3;
  machine.files.files["/sys/firmware/dmi/tables/smbios_entry_point"] = entry;
  machine.files.files["/sys/firmware/dmi/tables/DMI"] = table;
  EXPECT_TRUE(Acquire({}));
  EXPECT_TRUE(Holds(*image, "SYSFS"));

  machine.files.files.clear();
  EXPECT_TRUE(Acquire({}));
  EXPECT_TRUE(Holds(*image, "DEVMEM"));

  machine.firmware.mappedArea.clear();
  EXPECT_FALSE(Acquire({}));
  EXPECT_EQ(machine.firmware.sectionOpens, 0);
}

TEST_F(BiosAcquisition, SavedImageIsTheOnlySource) {
  machine.environment.variables["TOLVAREN_BIOS_IMAGE"] = "C:\\saved.bin";
  machine.firmware.mappedArea = UsableArea("MACHINE");
  machine.firmware.rawSmbios = testing::RawSmbiosBlob(2, 4, testing::SystemTable("RSMB"));
  machine.files.files["C:\\saved.bin"] = testing::RawSmbiosBlob(2, 4, testing::SystemTable("SAVED"));
  EXPECT_TRUE(Acquire(platform::fake::kWindows98));
  EXPECT_TRUE(Holds(*image, "SAVED"));

  // An unusable saved image is still the one decoded.
  machine.files.files["C:\\saved.bin"] = Bytes(kBiosAreaSize, 0);
  EXPECT_TRUE(Acquire(platform::fake::kWindows98));
  EXPECT_FALSE(Holds(*image, "MACHINE"));

  machine.files.files.clear();
  EXPECT_THROW(Acquire(platform::fake::kWindows98), EBiosImageFile);
  EXPECT_EQ(machine.firmware.firmwareTableReads, 0);
  EXPECT_EQ(machine.firmware.sectionOpens, 0);

  // An empty value names nothing: the machine is read.
  machine.environment.variables["TOLVAREN_BIOS_IMAGE"] = "";
  EXPECT_TRUE(Acquire(platform::fake::kWindows98));
  EXPECT_TRUE(Holds(*image, "MACHINE"));
}

}  // namespace
}  // namespace tolvaren
