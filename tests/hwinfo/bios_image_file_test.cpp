#include "hwinfo/bios_image_file.h"
#include "core/host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "hwinfo/smbios.h"
#include "hwinfo/smbios_anchor.h"
#include "platform/fake/fake_machine.h"
#include "tests/hwinfo/dmidecode_reference.h"
#include "tests/hwinfo/smbios_table_builder.h"

namespace tolvaren {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

const fs::path kShared = fs::path(TOLVAREN_SHARED_FIXTURES) / "smbios";

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t TableAddress(const BiosImage& image) {
  const std::uint32_t entry = FindEntryPointAddress(image);
  return entry == 0 ? 0 : testing::DWordAt(image.data() + (entry - kBiosAreaBase) + 0x18);
}

// The structure-table bytes an image's entry point announces.
Bytes AnnouncedTable(const BiosImage& image) {
  const std::uint32_t entry = FindEntryPointAddress(image);
  const std::uint8_t* ep = image.data() + (entry - kBiosAreaBase);
  const std::uint8_t* table = image.data() + (TableAddress(image) - kBiosAreaBase);
  return Bytes(table, table + testing::WordAt(ep + 0x16));
}

// A dmidecode --dump-bin file: 2.x entry point at 0, table at 20h.
Bytes DumpBin(const Bytes& table, std::uint8_t major, std::uint8_t minor, std::uint16_t count) {
  Bytes file(0x20, 0);
  std::copy_n("_SM_", 4, file.begin());
  file[5] = 0x1F;
  file[6] = major;
  file[7] = minor;
  std::copy_n("_DMI_", 5, file.begin() + 0x10);
  file[0x16] = static_cast<std::uint8_t>(table.size());
  file[0x17] = static_cast<std::uint8_t>(table.size() >> 8);
  file[0x18] = 0x20;
  file[0x1C] = static_cast<std::uint8_t>(count);
  file.resize(0x20 + table.size());
  std::copy(table.begin(), table.end(), file.begin() + 0x20);
  return file;
}

class BiosImageBytes : public ::testing::Test {
 protected:
  std::string Load(const Bytes& bytes) { return LoadBiosImageBytes(bytes, *image, high); }
  std::unique_ptr<BiosImage> image = std::make_unique<BiosImage>();
  HighTable high;
};

TEST_F(BiosImageBytes, RecognisesEveryLayout) {
  const Bytes table = testing::SystemTable("SN-1");
  // A raw area image is taken byte for byte, usable or not.
  Bytes area(kBiosAreaSize, 0x5A);
  EXPECT_EQ(Load(area), "");
  EXPECT_EQ((*image)[0x1FFFF], 0x5A);

  EXPECT_EQ(Load(DumpBin(table, 2, 7, 3)), "");
  EXPECT_EQ(AnnouncedTable(*image), table);
  EXPECT_EQ((*image)[0x10006], 2);
  EXPECT_EQ((*image)[0x10007], 7);

  EXPECT_EQ(Load(testing::RawSmbiosBlob(3, 4, table)), "");
  EXPECT_EQ(AnnouncedTable(*image), table);
  EXPECT_TRUE(IsUsableBiosImage(*image, high));
}

TEST_F(BiosImageBytes, RefusesWhatItDoesNotKnowAndLeavesTheImage) {
  image->fill(0x77);
  const Bytes table = testing::SystemTable("S");
  Bytes overlong = testing::RawSmbiosBlob(3, 0, table);
  overlong[4] += 1;  // announces one byte more than the file holds
  Bytes badHeader = testing::RawSmbiosBlob(3, 0, table);
  badHeader[1] = 7;
  const Bytes cases[] = {
      {},
      Bytes(kBiosAreaSize - 1, 0),
      Bytes{'_', 'S', 'M', '_', 0, 0x1F, 2},  // entry point cut short
      Bytes{'_', 'S', 'M', '3', '_', 0},
      Bytes{'_', 'D', 'M', 'I', '_'},
      overlong,
      badHeader,
      Bytes{0, 3, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
      Bytes(100, 'x'),
  };
  for (const Bytes& bytes : cases) {
    EXPECT_NE(Load(bytes), "") << bytes.size() << " bytes";
    EXPECT_EQ((*image)[0], 0x77);
    EXPECT_EQ((*image)[0x1FFFF], 0x77);
  }
}

TEST(BiosImageFile, ErrorsNameTheFileAndTheReason) {
  platform::fake::FakeMachine machine;
  auto image = std::make_unique<BiosImage>();
  HighTable high;
  const auto message = [&](const std::string& path) -> std::string {
    try {
      LoadBiosImageFile(machine.files, path, *image, high);
    } catch (const EBiosImageFile& e) {
      return e.Message();
    }
    return "loaded";
  };
  EXPECT_EQ(message("C:\\nowhere.bin"),
            "Cannot use the BIOS image \"C:\\nowhere.bin\" (TOLVAREN_BIOS_IMAGE): The system cannot find the file "
            "specified.");
  machine.files.files["C:\\junk.bin"] = Bytes(10, 'j');
  EXPECT_NE(message("C:\\junk.bin").find("\"C:\\junk.bin\" (TOLVAREN_BIOS_IMAGE): it is neither"), std::string::npos);
  machine.files.files["C:\\huge.bin"] = Bytes(kMaxBiosImageFileSize + 1, 0);
  EXPECT_NE(message("C:\\huge.bin").find("larger than 1 MiB"), std::string::npos);

  // A folder of the two sysfs files.
  machine.files.folders.insert("C:\\dmi");
  EXPECT_NE(message("C:\\dmi").find("smbios_entry_point: The system cannot find the file specified"),
            std::string::npos);
  const Bytes dump = DumpBin(testing::SystemTable("S"), 2, 8, 3);
  machine.files.files["C:\\dmi\\smbios_entry_point"] = Bytes(dump.begin(), dump.begin() + 0x1F);
  EXPECT_NE(message("C:\\dmi").find("DMI: The system cannot find the file specified"), std::string::npos);
  machine.files.files["C:\\dmi\\DMI"] = Bytes(dump.begin() + 0x20, dump.end());
  EXPECT_EQ(message("C:\\dmi\\"), "loaded");
  EXPECT_EQ(AnnouncedTable(*image), testing::SystemTable("S"));
  machine.files.files["C:\\dmi\\smbios_entry_point"] = Bytes(31, 0);
  EXPECT_NE(message("C:\\dmi").find("holds no SMBIOS entry point"), std::string::npos);
}

// Every layout of the shared real-machine dumps loads into a usable image
// whose table is the one the dump holds.
// An 82 KB table whose System Information structure lies past 64 KiB is read
// whole from every layout that can carry it.
TEST(BiosImageFile, TablesOver64KiBAreReadWhole) {
  testing::TableBuilder t;
  for (int i = 0; i < 9000; ++i) t.Add(11, {1}, {"ab"});  // 81,000 bytes of OEM strings
  t.Add(1, {1, 2, 3, 4}, {"Maker", "Model", "1", "SN-PAST-64K"});
  const Bytes table = t.End().bytes();
  ASSERT_GT(table.size(), 81000u);
  const Bytes dump = testing::Sm3Dump(3, 2, table);

  struct Case {
    const char* layout;
    std::map<std::string, Bytes> files;
  };
  const Case cases[] = {
      {"dmidecode dump", {{"saved", dump}}},
      {"Windows table", {{"saved", testing::RawSmbiosBlob(3, 2, table)}}},
      {"sysfs folder", {{"saved/smbios_entry_point", Bytes(dump.begin(), dump.begin() + 0x18)}, {"saved/DMI", table}}},
  };
  for (const Case& c : cases) {
    platform::fake::FakeMachine machine;
    machine.environment.variables["TOLVAREN_BIOS_IMAGE"] = "saved";
    for (const auto& [path, bytes] : c.files) machine.files.files[path] = bytes;
    if (c.files.size() == 2) machine.files.folders.insert("saved");
    Host host = Host::StartUp(machine.platform());
    TSMBIOS smbios(host);
    smbios.GetInfo(1);
    EXPECT_EQ(smbios.SystemSerial(), "SN-PAST-64K") << c.layout;
    EXPECT_EQ(smbios.SMBIOSVersion(), "3.2") << c.layout;
    EXPECT_EQ(smbios.TableLength(), table.size()) << c.layout;
    EXPECT_EQ(smbios.StructTables().size(), 9002u) << c.layout;
    EXPECT_EQ(machine.console.output, "") << c.layout;
  }
}

TEST(BiosImageFile, SharedFixturesOfEveryLayout) {
  if (!fs::is_directory(kShared)) GTEST_SKIP() << "no shared fixtures at " << kShared;
  auto image = std::make_unique<BiosImage>();
  HighTable high;
  int loaded = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kShared)) {
    if (!entry.is_regular_file()) continue;
    const fs::path& path = entry.path();
    const std::string name = path.filename().string();
    const std::string ext = path.extension().string();
    Bytes bytes = ReadFile(path);
    Bytes expectedTable;
    if (name == "bios.area" || ext == ".area") {
      // Used as it is; the broken-table area still has its anchor.
    } else if (ext == ".bin" || ext == ".dmp" || ext == ".dmidump" ||
               (ext == ".dmi" && bytes.size() > 4 && bytes[0] == '_')) {
      expectedTable.assign(bytes.begin() + 0x20, bytes.end());
    } else if (ext == ".dmi") {
      // A bare table: handed to the loader as Windows would return it.
      expectedTable = bytes;
      bytes = testing::RawSmbiosBlob(3, 0, bytes);
    } else if (ext == ".rsmb") {
      expectedTable.assign(bytes.begin() + 8, bytes.end());
    } else {
      continue;
    }
    SCOPED_TRACE(path.string());
    ASSERT_EQ(LoadBiosImageBytes(bytes, *image, high), "");
    ++loaded;
    if (name == "bad_data.area") continue;
    EXPECT_TRUE(IsUsableBiosImage(*image, high));
    if (!expectedTable.empty()) {
      const Bytes table = AnnouncedTable(*image);
      ASSERT_LE(table.size(), expectedTable.size());
      EXPECT_TRUE(std::equal(table.begin(), table.end(), expectedTable.begin()));
      EXPECT_GT(table.size(), 0u);
    }
  }
  // The sysfs folders go through the file-system path.
  platform::fake::FakeMachine machine;
  for (const char* model : {"precisiont7600", "xps9365"}) {
    const fs::path folder = kShared / "sysfs" / model;
    machine.files.folders.insert(folder.generic_string());
    for (const char* file : {"smbios_entry_point", "DMI"}) {
      machine.files.files[(folder / file).generic_string()] = ReadFile(folder / file);
    }
    SCOPED_TRACE(folder.string());
    LoadBiosImageFile(machine.files, folder.generic_string(), *image, high);
    EXPECT_TRUE(IsUsableBiosImage(*image, high));
    const Bytes table = AnnouncedTable(*image);
    const Bytes dmi = ReadFile(folder / "DMI");
    ASSERT_LE(table.size(), dmi.size());
    EXPECT_TRUE(std::equal(table.begin(), table.end(), dmi.begin()));
    ++loaded;
  }
  EXPECT_GE(loaded, 60);
}

}  // namespace
}  // namespace tolvaren
