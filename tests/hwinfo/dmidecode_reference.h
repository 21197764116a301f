#pragma once

// dmidecode as the reference reader of firmware data in tests: runs it on
// files in a work folder of the build tree and builds the dump files it reads.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "hwinfo/bios_image.h"
#include "tests/hwinfo/smbios_table_builder.h"

namespace tolvaren::testing {

namespace fs = std::filesystem;

inline const fs::path kSharedSmbios = fs::path(TOLVAREN_SHARED_FIXTURES) / "smbios";

inline Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline bool DmidecodeAvailable() {
#ifdef _WIN32
  return false;
#else
  return std::system("command -v dmidecode >/dev/null 2>&1") == 0;
#endif
}

inline std::uint8_t ChecksumOf(const Bytes& bytes, std::size_t from, std::size_t count) {
  std::uint8_t sum = 0;
  for (std::size_t i = from; i < from + count && i < bytes.size(); ++i) sum = static_cast<std::uint8_t>(sum + bytes[i]);
  return static_cast<std::uint8_t>(0x100 - sum);
}

// A dmidecode dump of a table under a 3.x entry point, which announces no
// structure count: the reference for sources without an entry point.
inline Bytes Sm3Dump(std::uint8_t major, std::uint8_t minor, const Bytes& table) {
  Bytes file(0x20, 0);
  std::copy_n("_SM3_", 5, file.begin());
  file[6] = 0x18;
  file[7] = major;
  file[8] = minor;
  file[0x0A] = 1;
  PutLe(file, 0x0C, static_cast<std::uint32_t>(table.size()), 4);
  file[0x10] = 0x20;
  file[5] = ChecksumOf(file, 0, 0x18);
  file.resize(0x20 + table.size());
  std::copy(table.begin(), table.end(), file.begin() + 0x20);
  return file;
}

// A dmidecode dump of an entry point ("_SM_" or "_SM3_") and its table: the
// entry point with its table address moved to 20h and its checksums right.
inline Bytes EntryPointDump(Bytes entry, const Bytes& table) {
  const bool sm3 = entry.size() > 4 && entry[4] == '_';
  const std::size_t length = std::min<std::size_t>(entry[sm3 ? 6 : 5], 0x20);
  entry.resize(0x20);
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
  entry.insert(entry.end(), table.begin(), table.end());
  return entry;
}

// The dump form of an area image whose 2.x entry point is at `entry` (an
// image offset): dmidecode scans only the F segment of an image, so E-segment
// entry points are compared through this form.
inline Bytes AreaDump(const Bytes& area, std::size_t entry) {
  const Bytes ep(area.begin() + entry, area.begin() + entry + 0x1F);
  const std::uint32_t address = DWordAt(ep.data() + 0x18);
  const std::size_t start = address - 0xE0000;
  const std::size_t length = std::min<std::size_t>(WordAt(ep.data() + 0x16), area.size() - start);
  return EntryPointDump(ep, Bytes(area.begin() + start, area.begin() + start + length));
}

// Runs dmidecode in a work folder of its own for each test (ctest runs tests
// in parallel processes).
class Dmidecode {
 public:
  Dmidecode() {
    // Inside the build tree, wherever the test program is started from.
    work_ = fs::path(TOLVAREN_BINARY_DIR) / "dmidecode-work" /
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(work_);
  }

  // The output for `arguments`, from the first structure on (the lines before
  // it name the source and its entry point).
  std::string Run(const std::string& arguments, const char* types = "0,1,2,3") {
    const fs::path out = work_ / "out.txt";
    const std::string command = "dmidecode " + arguments + " -t " + types + " >'" + out.string() + "' 2>&1";
    if (std::system(command.c_str()) != 0) return "dmidecode failed: " + command;
    std::ifstream in(out);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::size_t first = text.find("Handle ");
    return first == std::string::npos ? "no structures in: " + text : text.substr(first);
  }

  // The whole output, header included.
  std::string RunWhole(const std::string& arguments, const char* types = "0,1,2,3") {
    const fs::path out = work_ / "out.txt";
    const std::string command = "dmidecode " + arguments + " -t " + types + " >'" + out.string() + "' 2>&1";
    std::system(command.c_str());
    std::ifstream in(out);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }

  std::string ReadDump(const Bytes& dump, bool whole = false) {
    WriteBytes(work_ / "reference.bin", dump);
    const std::string arguments = "--from-dump '" + (work_ / "reference.bin").string() + "'";
    return whole ? RunWhole(arguments) : Run(arguments);
  }

  // dmidecode reads the image as physical memory: a sparse file with the
  // image at 0xE0000 and the table kept above it, if any, at its address.
  std::string ReadImage(const BiosImage& image, const HighTable& high = {}) {
    const fs::path memory = work_ / "memory.bin";
    fs::remove(memory);
    std::ofstream file(memory, std::ios::binary);
    file.seekp(kBiosAreaBase);
    file.write(reinterpret_cast<const char*>(image.data()), image.size());
    file.seekp(high.address);
    file.write(reinterpret_cast<const char*>(high.bytes.data()), static_cast<std::streamsize>(high.bytes.size()));
    file.close();
    return Run("--no-sysfs --dev-mem '" + memory.string() + "'");
  }

 private:
  fs::path work_;
};

// dmidecode prints the UUID in lower case with dashes and, from SMBIOS 2.6 on
// (version as major << 8 | minor), with the first three fields byte-swapped;
// the reader gives the stored bytes in order. "Not Settable" is all zeros,
// "Not Present" all FFh.
inline std::string RawUuidFromDmidecode(const std::string& dmidecode, int version) {
  if (dmidecode.empty()) return "";
  if (dmidecode == "Not Settable") return std::string(32, '0');
  if (dmidecode == "Not Present") return std::string(32, 'F');
  std::string hex;
  for (const char c : dmidecode) {
    if (c != '-') hex += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (hex.size() == 32 && version >= 0x0206) {
    const auto swap = [&hex](std::size_t at, std::size_t bytes) {
      for (std::size_t i = 0; i < bytes / 2; ++i) {
        std::swap(hex[at + 2 * i], hex[at + 2 * (bytes - 1 - i)]);
        std::swap(hex[at + 2 * i + 1], hex[at + 2 * (bytes - 1 - i) + 1]);
      }
    };
    swap(0, 4);
    swap(8, 2);
    swap(12, 2);
  }
  return hex;
}

// dmidecode shows every byte below 32 and from 127 on as "." (its filter
// compares a signed char, so bytes from 128 on count as below 32) and does
// not trim; this reader trims codes 0 to 32 at both ends, shows bytes below
// 32 and 127 as "." and keeps those from 128 on. Both sides are compared as
// dmidecode shows them, without blanks and dots at the ends.
inline std::string Shown(std::string text) {
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte >= 127) c = '.';
  }
  const std::size_t first = text.find_first_not_of(" .");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" .") - first + 1);
}

// dmidecode's text for a string field: "Not Specified" (string number 0) and
// "<BAD INDEX>" (a number past the set) both read as empty here, as does a
// missing structure; this reader cuts a string at 255 bytes.
inline std::string Expected(const std::string& dmidecode) {
  if (dmidecode == "Not Specified" || dmidecode == "<BAD INDEX>") return "";
  return Shown(dmidecode.substr(0, 255));
}

// dmidecode spells a few chassis types differently ("Laptop", "Sub
// Chassis"); names are compared without case and blanks.
inline std::string Folded(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

}  // namespace tolvaren::testing
