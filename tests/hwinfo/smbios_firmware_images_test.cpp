// Decodes every firmware image that scripts/make-firmware-images.sh saved from
// QEMU's SeaBIOS and compares each identification field with dmidecode's
// reading of the same image.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "smbios_fixture.h"
#include "tests/hwinfo/dmidecode_reference.h"

namespace tolvaren {
namespace {

namespace fs = std::filesystem;
using testing::Expected;
using testing::Folded;
using testing::RawUuidFromDmidecode;
using testing::Shown;

const fs::path kImages = fs::path(TOLVAREN_SOURCE_DIR) / "tests/fixtures/firmware";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::map<std::string, std::string> ReadKeywords(const fs::path& path) {
  std::map<std::string, std::string> values;
  std::istringstream in(ReadFile(path));
  for (std::string line; std::getline(in, line);) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return values;
}

// "2.8" as 0x0208.
int VersionNumber(const std::string& version) {
  const std::size_t dot = version.find('.');
  if (dot == std::string::npos) return 0;  // no entry point found
  return std::stoi(version.substr(0, dot)) << 8 | std::stoi(version.substr(dot + 1));
}

// "2.8" from dmidecode's line "SMBIOS 2.8 present."; empty when it found no
// entry point.
std::string DmidecodeVersion(const std::string& reading) {
  std::istringstream in(reading);
  for (std::string line; std::getline(in, line);) {
    const std::string head = "SMBIOS ", tail = " present.";
    if (line.size() > head.size() + tail.size() && line.starts_with(head) && line.ends_with(tail)) {
      return line.substr(head.size(), line.size() - head.size() - tail.size());
    }
  }
  return "";
}

TEST(SmbiosFirmwareImages, EveryFieldMatchesDmidecode) {
  std::vector<fs::path> images;
  for (const auto& entry : fs::directory_iterator(kImages)) {
    if (entry.path().extension() == ".bin") images.push_back(entry.path());
  }
  std::sort(images.begin(), images.end());
  ASSERT_GE(images.size(), 8u) << "run scripts/make-firmware-images.sh";

  for (const fs::path& path : images) {
    SCOPED_TRACE(path.filename().string());
    const std::string bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), kBiosAreaSize);
    BiosImage image;
    std::copy(bytes.begin(), bytes.end(), image.begin());
    testing::SmbiosOnFake f;
    const TSMBIOS& s = f.Decode(image);

    fs::path stem = path;
    stem.replace_extension();
    const std::string reading = ReadFile(stem.string() + ".dmidecode.txt");
    auto dmi = ReadKeywords(stem.string() + ".strings.txt");
    const std::string version = DmidecodeVersion(reading);
    EXPECT_EQ(s.SMBIOSVersion(), version);

    const std::pair<const char*, const std::string&> strings[] = {
        {"bios-vendor", s.BIOSVendor()},
        {"bios-version", s.BIOSVersion()},
        {"bios-release-date", s.BIOSDate()},
        {"system-manufacturer", s.SystemManufacturer()},
        {"system-product-name", s.SystemModel()},
        {"system-version", s.SystemVersion()},
        {"system-serial-number", s.SystemSerial()},
        {"baseboard-manufacturer", s.MainBoardManufacturer()},
        {"baseboard-product-name", s.MainBoardModel()},
        {"baseboard-version", s.MainBoardVersion()},
        {"baseboard-serial-number", s.MainBoardSerial()},
        {"chassis-manufacturer", s.ChassisManufacturer()},
        {"chassis-version", s.ChassisVersion()},
        {"chassis-serial-number", s.ChassisSerial()},
    };
    for (const auto& [keyword, value] : strings) {
      EXPECT_EQ(Shown(value), Expected(dmi[keyword])) << keyword;
    }
    EXPECT_EQ(Folded(s.ChassisModel()), Folded(dmi["chassis-type"]));
    EXPECT_EQ(s.SystemUUID(), RawUuidFromDmidecode(dmi["system-uuid"], VersionNumber(version)));

    // A table outside the area: dmidecode cannot read it from the image
    // either, and every field above compared empty.
    if (reading.find("Failed to read table") != std::string::npos) {
      EXPECT_TRUE(s.StructTables().empty());
      EXPECT_TRUE(s.TableAddress() > kBiosAreaLast);
    }
  }
}

// The strings the generator gave QEMU, read back exactly (trimmed).
TEST(SmbiosFirmwareImages, KnownIdentification) {
  auto decode = [](const char* name, testing::SmbiosOnFake& f) -> const TSMBIOS& {
    const std::string bytes = ReadFile(kImages / name);
    BiosImage image{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    return f.Decode(image);
  };
  {
    testing::SmbiosOnFake f;
    const TSMBIOS& s = decode("ident.bin", f);
    EXPECT_EQ(s.SystemSerial(), "ACME-SN-000123");
    EXPECT_EQ(s.SystemModel(), "Roadrunner 5000");
    EXPECT_EQ(s.MainBoardSerial(), "MB-77-0042");
    EXPECT_EQ(s.ChassisSerial(), "CH-998877");
    EXPECT_EQ(s.ChassisModel(), "Other");
    // QEMU stores the first three fields little-endian in a 2.8 table.
    EXPECT_EQ(s.SystemUUID(), "78563412BC9AF0DE123456789ABCDEF0");
    EXPECT_EQ(s.BIOSVendor(), "Tolvaren BIOS");
  }
  {
    testing::SmbiosOnFake f;
    const TSMBIOS& s = decode("odd-strings.bin", f);
    EXPECT_EQ(s.SystemManufacturer(), "Padded Maker");
    EXPECT_EQ(s.SystemModel(), "Pound \xA3 Model");
    EXPECT_EQ(s.SystemVersion(), "Tabbed");
    EXPECT_EQ(s.SystemSerial(), "");
    EXPECT_EQ(s.MainBoardManufacturer(), "");
    EXPECT_EQ(s.MainBoardSerial(), "BSN 1");
  }
  {
    testing::SmbiosOnFake f;
    const TSMBIOS& s = decode("long-strings.bin", f);
    EXPECT_EQ(s.SystemSerial(), std::string(255, 'S'));
    EXPECT_EQ(s.SystemVersion(), "after-long");
  }
  {
    testing::SmbiosOnFake f;
    const TSMBIOS& s = decode("smbios24.bin", f);
    EXPECT_EQ(s.SMBIOSVersion(), "2.4");
    EXPECT_EQ(s.SystemUUID(), "123456789ABCDEF0123456789ABCDEF0");  // stored as written
  }
  {
    testing::SmbiosOnFake f;
    const TSMBIOS& s = decode("two-sockets.bin", f);
    EXPECT_EQ(s.ProcessorCount(), 2);
    EXPECT_EQ(s.Processor(1).Socket, "CPU 1");
  }
}

}  // namespace
}  // namespace tolvaren
