// Synthesized images must read the same through dmidecode as the source they
// were made from. Runs where dmidecode and the shared dumps are present.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "hwinfo/bios_image_file.h"
#include "hwinfo/smbios_anchor.h"
#include "hwinfo/smbios_synthesis.h"
#include "platform/fake/fake_machine.h"
#include "tests/hwinfo/smbios_table_builder.h"

namespace tolvaren {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

const fs::path kShared = fs::path(TOLVAREN_SHARED_FIXTURES) / "smbios";

Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::uint8_t ChecksumOf(const Bytes& bytes, std::size_t from, std::size_t count) {
  std::uint8_t sum = 0;
  for (std::size_t i = from; i < from + count; ++i) sum = static_cast<std::uint8_t>(sum + bytes[i]);
  return static_cast<std::uint8_t>(0x100 - sum);
}

// A dmidecode dump of a table under a 3.x entry point, which announces no
// structure count: the reference for sources without an entry point.
Bytes Sm3Dump(std::uint8_t major, std::uint8_t minor, const Bytes& table) {
  Bytes file(0x20, 0);
  std::copy_n("_SM3_", 5, file.begin());
  file[6] = 0x18;
  file[7] = major;
  file[8] = minor;
  file[0x0A] = 1;
  const auto n = static_cast<std::uint32_t>(table.size());
  for (int i = 0; i < 4; ++i) file[0x0C + i] = static_cast<std::uint8_t>(n >> (8 * i));
  file[0x10] = 0x20;
  file[5] = ChecksumOf(file, 0, 0x18);
  file.resize(0x20 + table.size());
  std::copy(table.begin(), table.end(), file.begin() + 0x20);
  return file;
}

// A dmidecode dump of a sysfs entry point and table: the entry point with its
// table address moved to 20h and its checksum made right again.
Bytes SysfsDump(Bytes entry, const Bytes& table) {
  const bool sm3 = entry[4] == '_';
  const std::size_t length = entry[sm3 ? 6 : 5];
  entry.resize(std::max<std::size_t>(entry.size(), length));
  const std::size_t address = sm3 ? 0x10 : 0x18;
  for (std::size_t i = address; i < address + (sm3 ? 8 : 4); ++i) entry[i] = 0;
  entry[address] = 0x20;
  if (sm3) {
    entry[5] = 0;
    entry[5] = ChecksumOf(entry, 0, length);
  } else {
    entry[0x15] = 0;
    entry[0x15] = ChecksumOf(entry, 0x10, 0x0F);
    entry[4] = 0;
    entry[4] = ChecksumOf(entry, 0, length);
  }
  Bytes file(0x20, 0);
  std::copy_n(entry.begin(), std::min<std::size_t>(entry.size(), 0x20), file.begin());
  file.insert(file.end(), table.begin(), table.end());
  return file;
}

class DmidecodeReading : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "dmidecode runs on Linux only";
#else
    if (std::system("command -v dmidecode >/dev/null 2>&1") != 0) GTEST_SKIP() << "dmidecode is not installed";
    if (!fs::is_directory(kShared)) GTEST_SKIP() << "no shared fixtures at " << kShared;
    // One folder per test: ctest runs the tests in parallel processes.
    work = fs::current_path() / "dmidecode-work" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(work);
#endif
  }

  // dmidecode's reading of types 0 to 3, from the first structure on (the
  // lines before it name the source and its entry point).
  std::string Run(const std::string& arguments) {
    const fs::path out = work / "out.txt";
    const std::string command = "dmidecode " + arguments + " -t 0,1,2,3 >'" + out.string() + "' 2>&1";
    if (std::system(command.c_str()) != 0) return "dmidecode failed: " + command;
    std::ifstream in(out);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::size_t first = text.find("Handle ");
    return first == std::string::npos ? "no structures in: " + text : text.substr(first);
  }

  std::string ReadDump(const Bytes& dump) {
    WriteBytes(work / "reference.bin", dump);
    return Run("--from-dump '" + (work / "reference.bin").string() + "'");
  }

  // dmidecode reads the image as physical memory: a sparse 1 MiB file with
  // the image at 0xE0000.
  std::string ReadImage(const BiosImage& image) {
    const fs::path memory = work / "memory.bin";
    fs::remove(memory);
    std::ofstream file(memory, std::ios::binary);
    file.seekp(kBiosAreaBase);
    file.write(reinterpret_cast<const char*>(image.data()), image.size());
    file.close();
    return Run("--no-sysfs --dev-mem '" + memory.string() + "'");
  }

  std::string LoadAndRead(const Bytes& bytes) {
    const std::string reason = LoadBiosImageBytes(bytes, *image);
    if (!reason.empty()) return "not loaded: " + reason;
    EXPECT_EQ(FindEntryPointAddress(*image), kSynthesizedEntryF);
    return ReadImage(*image);
  }

  fs::path work;
  std::unique_ptr<BiosImage> image = std::make_unique<BiosImage>();
};

TEST_F(DmidecodeReading, DumpFilesReadTheSameAfterSynthesis) {
  int compared = 0;
  for (const char* folder : {"u-root", "python-dmidecode", "go-smbios"}) {
    for (const auto& entry : fs::directory_iterator(kShared / folder)) {
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
  for (const auto& entry : fs::directory_iterator(kShared / "go-smbios")) {
    const Bytes bytes = ReadBytes(entry.path());
    if (entry.path().extension() != ".dmi" || bytes.empty() || bytes[0] == '_') continue;
    SCOPED_TRACE(entry.path().string());
    std::string reference = ReadDump(Sm3Dump(3, 0, bytes));
    // The Hyper-V table breaks off after type 11; the synthesized table ends
    // with the last whole structure, so dmidecode has no break to report.
    const std::string broken = "Invalid entry length (0). DMI table is broken! Stop.\n\n";
    if (const std::size_t at = reference.find(broken); at != std::string::npos) reference.erase(at, broken.size());
    EXPECT_EQ(LoadAndRead(testing::RawSmbiosBlob(3, 0, bytes)), reference);
    ++compared;
  }
  const Bytes rsmb = ReadBytes(kShared / "rsmb" / "surface-laptop3.rsmb");
  EXPECT_EQ(LoadAndRead(rsmb), ReadDump(Sm3Dump(rsmb[1], rsmb[2], Bytes(rsmb.begin() + 8, rsmb.end()))));
  ++compared;
  EXPECT_GE(compared, 6);
}

TEST_F(DmidecodeReading, SysfsFoldersReadTheSameAfterSynthesis) {
  platform::fake::FakeMachine machine;
  for (const char* model : {"precisiont7600", "xps9365"}) {
    const fs::path folder = kShared / "sysfs" / model;
    SCOPED_TRACE(folder.string());
    const Bytes entry = ReadBytes(folder / "smbios_entry_point");
    const Bytes table = ReadBytes(folder / "DMI");
    machine.files.folders.insert(folder.string());
    machine.files.files[(folder / "smbios_entry_point").string()] = entry;
    machine.files.files[(folder / "DMI").string()] = table;
    LoadBiosImageFile(machine.files, folder.string(), *image);
    EXPECT_EQ(ReadImage(*image), ReadDump(SysfsDump(entry, table)));
  }
}

TEST_F(DmidecodeReading, RawAreaImagesAreTakenAsTheyAre) {
  // dmidecode finds the opti desktop's entry point at 0xF0430 in both.
  const Bytes area = ReadBytes(kShared / "libsmbios-area" / "opti.area");
  ASSERT_EQ(LoadBiosImageBytes(area, *image), "");
  EXPECT_TRUE(std::equal(area.begin(), area.end(), image->begin()));
  const std::string reading = ReadImage(*image);
  EXPECT_EQ(reading.rfind("Handle ", 0), 0u) << reading;
}

}  // namespace
}  // namespace tolvaren
