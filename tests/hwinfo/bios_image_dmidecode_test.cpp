// Synthesized images must read the same through dmidecode as the source they
// were made from. Runs where dmidecode and the shared dumps are present.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "core/host.h"
#include "hwinfo/bios_image_file.h"
#include "hwinfo/smbios.h"
#include "hwinfo/smbios_anchor.h"
#include "hwinfo/smbios_synthesis.h"
#include "platform/fake/fake_machine.h"
#include "tests/hwinfo/dmidecode_reference.h"
#include "tests/hwinfo/smbios_fixture.h"

namespace tolvaren {
namespace {

using testing::Bytes;
using testing::kSharedSmbios;
using testing::ReadBytes;

class DmidecodeReading : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::DmidecodeAvailable()) GTEST_SKIP() << "dmidecode is not installed";
    if (!std::filesystem::is_directory(kSharedSmbios)) GTEST_SKIP() << "no shared fixtures at " << kSharedSmbios;
    dmidecode = std::make_unique<testing::Dmidecode>();
  }

  std::string ReadDump(const Bytes& dump) { return dmidecode->ReadDump(dump); }
  std::string ReadImage(const BiosImage& image) { return dmidecode->ReadImage(image); }

  std::string LoadAndRead(const Bytes& bytes) {
    const std::string reason = LoadBiosImageBytes(bytes, *image, high);
    if (!reason.empty()) return "not loaded: " + reason;
    EXPECT_EQ(FindEntryPointAddress(*image), kSynthesizedEntryF);
    return dmidecode->ReadImage(*image, high);
  }

  std::unique_ptr<testing::Dmidecode> dmidecode;
  std::unique_ptr<BiosImage> image = std::make_unique<BiosImage>();
  HighTable high;
};

TEST_F(DmidecodeReading, DumpFilesReadTheSameAfterSynthesis) {
  int compared = 0;
  for (const char* folder : {"u-root", "python-dmidecode", "go-smbios"}) {
    for (const auto& entry : std::filesystem::directory_iterator(kSharedSmbios / folder)) {
      const Bytes bytes = ReadBytes(entry.path());
      if (bytes.size() < 0x20 || bytes[0] != '_') continue;  // not a dmidecode dump
      SCOPED_TRACE(entry.path().string());
      const std::string reference = ReadDump(bytes);
      ASSERT_EQ(reference.rfind("Handle ", 0), 0u) << reference;
      EXPECT_EQ(LoadAndRead(bytes), reference);
      ++compared;
    }
  }
  EXPECT_GE(compared, 30);
}

TEST_F(DmidecodeReading, TablesWithoutEntryPointReadTheSameAfterSynthesis) {
  int compared = 0;
  // Bare tables, handed over the way Windows' firmware-table call does.
  for (const auto& entry : std::filesystem::directory_iterator(kSharedSmbios / "go-smbios")) {
    const Bytes bytes = ReadBytes(entry.path());
    if (entry.path().extension() != ".dmi" || bytes.empty() || bytes[0] == '_') continue;
    SCOPED_TRACE(entry.path().string());
    std::string reference = ReadDump(testing::Sm3Dump(3, 0, bytes));
    // The Hyper-V table breaks off after type 11; the synthesized table ends
    // with the last whole structure, so dmidecode has no break to report.
    const std::string broken = "Invalid entry length (0). DMI table is broken! Stop.\n\n";
    if (const std::size_t at = reference.find(broken); at != std::string::npos) reference.erase(at, broken.size());
    EXPECT_EQ(LoadAndRead(testing::RawSmbiosBlob(3, 0, bytes)), reference);
    ++compared;
  }
  const Bytes rsmb = ReadBytes(kSharedSmbios / "rsmb" / "surface-laptop3.rsmb");
  EXPECT_EQ(LoadAndRead(rsmb), ReadDump(testing::Sm3Dump(rsmb[1], rsmb[2], Bytes(rsmb.begin() + 8, rsmb.end()))));
  ++compared;
  EXPECT_GE(compared, 6);
}

TEST_F(DmidecodeReading, SysfsFoldersReadTheSameAfterSynthesis) {
  platform::fake::FakeMachine machine;
  for (const char* model : {"precisiont7600", "xps9365"}) {
    const std::filesystem::path folder = kSharedSmbios / "sysfs" / model;
    SCOPED_TRACE(folder.string());
    const Bytes entry = ReadBytes(folder / "smbios_entry_point");
    const Bytes table = ReadBytes(folder / "DMI");
    machine.files.folders.insert(folder.generic_string());
    machine.files.files[(folder / "smbios_entry_point").generic_string()] = entry;
    machine.files.files[(folder / "DMI").generic_string()] = table;
    LoadBiosImageFile(machine.files, folder.generic_string(), *image, high);
    EXPECT_EQ(ReadImage(*image), ReadDump(testing::EntryPointDump(entry, table)));
  }
}

TEST_F(DmidecodeReading, RawAreaImagesAreTakenAsTheyAre) {
  // dmidecode finds the opti desktop's entry point at 0xF0430 in both.
  const Bytes area = ReadBytes(kSharedSmbios / "libsmbios-area" / "opti.area");
  ASSERT_EQ(LoadBiosImageBytes(area, *image, high), "");
  EXPECT_TRUE(std::equal(area.begin(), area.end(), image->begin()));
  const std::string reading = ReadImage(*image);
  EXPECT_EQ(reading.rfind("Handle ", 0), 0u) << reading;
}

TEST_F(DmidecodeReading, TablesOver64KiBReadTheSameAfterSynthesis) {
  testing::TableBuilder t;
  for (int i = 0; i < 9000; ++i) t.Add(11, {1}, {"ab"});
  t.Add(1, {1, 2, 3, 4}, {"Maker", "Model", "1", "SN-PAST-64K"});
  const Bytes table = t.End().bytes();
  const std::string reference = ReadDump(testing::Sm3Dump(3, 2, table));
  EXPECT_NE(reference.find("Serial Number: SN-PAST-64K"), std::string::npos) << reference;
  EXPECT_EQ(LoadAndRead(testing::RawSmbiosBlob(3, 2, table)), reference);
}

TEST_F(DmidecodeReading, ControlBytesShowAsDmidecodeShowsThem) {
  const std::string serial =
      "A\nB\rC\x1b[2JD\x07"
      "E\x7f"
      "F\tG";
  testing::TableBuilder t;
  t.Add(1, {0, 0, 0, 1}, {serial});
  const Bytes dump = testing::Sm3Dump(3, 0, t.End().bytes());
  const std::string reading = ReadDump(dump);
  const std::string label = "\tSerial Number: ";
  const std::size_t at = reading.find(label);
  ASSERT_NE(at, std::string::npos) << reading;
  const std::string shown = reading.substr(at + label.size(), reading.find('\n', at) - at - label.size());

  BiosImage image{};
  HighTable high;
  ASSERT_EQ(LoadBiosImageBytes(dump, image, high), "");
  testing::SmbiosOnFake f;
  EXPECT_EQ(f.Decode(image, high).SystemSerial(), shown);
  EXPECT_EQ(shown, "A.B.C.[2JD.E.F.G");
}

}  // namespace
}  // namespace tolvaren
