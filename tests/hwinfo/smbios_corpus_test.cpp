// Every dump of the shared real-machine corpus, read through
// TOLVAREN_BIOS_IMAGE and decoded, against dmidecode 3.4's reading of the
// same data. Runs where the shared fixtures (and, for the comparison,
// dmidecode) are present.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>
#include <sstream>
#include <string_view>

#include "hwinfo/smbios.h"
#include "hwinfo/smbios_anchor.h"
#include "tests/hwinfo/dmidecode_reference.h"
#include "tests/hwinfo/smbios_fixture.h"

namespace tolvaren {
namespace {

using testing::Bytes;
using testing::Expected;
using testing::Folded;
using testing::kSharedSmbios;
using testing::ReadBytes;
using testing::Shown;
namespace fs = std::filesystem;

// One dump: what the tool is given and what dmidecode reads.
struct Dump {
  std::string name;
  std::map<std::string, Bytes> files;  // the file, or the two files of a sysfs folder
  bool folder = false;
  Bytes reference;  // a dmidecode --from-dump file of the same table
};

std::vector<Dump> Corpus() {
  std::vector<Dump> dumps;
  for (const auto& entry : fs::recursive_directory_iterator(kSharedSmbios)) {
    if (!entry.is_regular_file()) continue;
    const fs::path& path = entry.path();
    const std::string ext = path.extension().string();
    const std::string relative = fs::relative(path, kSharedSmbios).string();
    const bool inSysfs = path.parent_path().parent_path().filename() == "sysfs";
    if (inSysfs && path.filename() != "DMI") continue;  // read with its folder
    Dump dump{relative, {}, false, {}};
    Bytes bytes = ReadBytes(path);
    if (path.filename() == "bios.area" || ext == ".area") {
      BiosImage image{};
      std::copy(bytes.begin(), bytes.end(), image.begin());
      dump.reference = testing::AreaDump(bytes, FindEntryPointAddress(image) - kBiosAreaBase);
    } else if (!bytes.empty() && bytes[0] == '_') {
      dump.reference = bytes;  // dmidecode's own dump layout
    } else if (ext == ".dmi") {
      // A bare table, handed over the way Windows' firmware-table call does.
      dump.reference = testing::Sm3Dump(3, 0, bytes);
      bytes = testing::RawSmbiosBlob(3, 0, bytes);
    } else if (ext == ".rsmb") {
      dump.reference = testing::Sm3Dump(bytes[1], bytes[2], Bytes(bytes.begin() + 8, bytes.end()));
    } else if (path.filename() == "DMI") {
      const Bytes entryPoint = ReadBytes(path.parent_path() / "smbios_entry_point");
      dump.name = fs::relative(path.parent_path(), kSharedSmbios).string();
      dump.folder = true;
      dump.files["smbios_entry_point"] = entryPoint;
      dump.files["DMI"] = bytes;
      dump.reference = testing::EntryPointDump(entryPoint, bytes);
      dumps.push_back(dump);
      continue;
    } else {
      continue;
    }
    dump.files[""] = bytes;
    dumps.push_back(dump);
  }
  std::sort(dumps.begin(), dumps.end(), [](const Dump& a, const Dump& b) { return a.name < b.name; });
  return dumps;
}

// Decodes a dump the way a user would have the tool read it.
void Decode(const Dump& dump, testing::SmbiosOnFake& f) {
  f.machine.environment.variables["TOLVAREN_BIOS_IMAGE"] = "saved";
  if (dump.folder) {
    f.machine.files.folders.insert("saved");
    for (const auto& [name, bytes] : dump.files) f.machine.files.files["saved/" + name] = bytes;
  } else {
    f.machine.files.files["saved"] = dump.files.at("");
  }
  f.smbios.GetInfo(1);
}

// The first structure of each type in dmidecode's text: type -> label -> value.
using Reading = std::map<int, std::map<std::string, std::string>>;

// The type of a structure's first line ("Handle 0x002A, DMI type 4, 42 bytes").
std::optional<int> HandleLineType(const std::string& line) {
  unsigned handle = 0;
  int type = 0;
  int length = 0;
  int used = 0;
  if (std::sscanf(line.c_str(), "Handle 0x%X, DMI type %d, %d bytes%n", &handle, &type, &length, &used) != 3 ||
      static_cast<std::size_t>(used) != line.size()) {
    return std::nullopt;
  }
  return type;
}

Reading ParseReading(const std::string& text) {
  Reading reading;
  std::istringstream in(text);
  std::map<std::string, std::string>* current = nullptr;
  for (std::string line; std::getline(in, line);) {
    if (const auto type = HandleLineType(line)) {
      current = reading.count(*type) ? nullptr : &reading[*type];
      continue;
    }
    if (current == nullptr || line.size() < 2 || line[0] != '\t' || line[1] == '\t') continue;
    const std::size_t colon = line.find(": ");
    if (colon != std::string::npos) (*current)[line.substr(1, colon - 1)] = line.substr(colon + 2);
  }
  return reading;
}

// The version dmidecode decodes by, after its own fix-ups ("SMBIOS 2.3 present").
int DmidecodeVersion(const std::string& text) {
  for (std::size_t at = text.find("SMBIOS "); at != std::string::npos; at = text.find("SMBIOS ", at + 1)) {
    int major = 0;
    int minor = 0;
    int used = 0;
    if (std::sscanf(text.c_str() + at, "SMBIOS %d.%d%n", &major, &minor, &used) != 2) continue;
    std::size_t end = at + static_cast<std::size_t>(used);
    if (end < text.size() && text[end] == '.') {  // a third number, as in 3.2.0
      ++end;
      while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    }
    if (text.compare(end, 8, " present") == 0) return major << 8 | minor;
  }
  return 0;
}

// The one dump whose table this reader's walk cannot follow (see below).
constexpr char kLostWalk[] = "libsmbios/PE8450/bios.area";

class SmbiosCorpus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::is_directory(kSharedSmbios)) GTEST_SKIP() << "no shared fixtures at " << kSharedSmbios;
    dumps = Corpus();
  }
  std::vector<Dump> dumps;
};

TEST_F(SmbiosCorpus, EveryDumpDecodes) {
  EXPECT_GE(dumps.size(), 70u);
  for (const Dump& dump : dumps) {
    SCOPED_TRACE(dump.name);
    testing::SmbiosOnFake f;
    EXPECT_NO_THROW(Decode(dump, f));
    EXPECT_FALSE(f.smbios.StructTables().empty());
    EXPECT_FALSE(f.smbios.SMBIOSVersion().empty());
  }
}

TEST_F(SmbiosCorpus, IdentificationMatchesDmidecode) {
  if (!testing::DmidecodeAvailable()) GTEST_SKIP() << "dmidecode is not installed";
  testing::Dmidecode dmidecode;
  int compared = 0;
  for (const Dump& dump : dumps) {
    SCOPED_TRACE(dump.name);
    testing::SmbiosOnFake f;
    Decode(dump, f);
    const TSMBIOS& s = f.smbios;
    const std::string text = dmidecode.ReadDump(dump.reference, true);
    Reading dmi = ParseReading(text);
    ASSERT_FALSE(dmi.empty()) << text;
    if (dump.name == kLostWalk) {
      // The table walk of this reader treats a double zero byte followed by a
      // zero byte as part of a string set once a type 0 structure has been
      // seen; this machine's second BIOS Information structure (type 0 right
      // after a string set) throws the walk off, and nothing after it is
      // found. dmidecode reads it all.
      EXPECT_EQ(s.SystemSerial(), "");
      EXPECT_EQ(s.SystemManufacturer(), "");
      EXPECT_EQ(s.MainBoardSerial(), "");
      EXPECT_EQ(s.BIOSVendor(), Expected(dmi[0]["Vendor"])) << "the first structure is still read";
      ++compared;
      continue;
    }
    // A broken table (a structure of length 0): dmidecode stops there, this
    // reader walks on, so types dmidecode did not reach are not compared.
    const bool broken = text.find("DMI table is broken") != std::string::npos;
    const std::tuple<int, const char*, const std::string&> fields[] = {
        {0, "Vendor", s.BIOSVendor()},
        {0, "Version", s.BIOSVersion()},
        {0, "Release Date", s.BIOSDate()},
        {1, "Manufacturer", s.SystemManufacturer()},
        {1, "Product Name", s.SystemModel()},
        {1, "Version", s.SystemVersion()},
        {1, "Serial Number", s.SystemSerial()},
        {2, "Manufacturer", s.MainBoardManufacturer()},
        {2, "Product Name", s.MainBoardModel()},
        {2, "Version", s.MainBoardVersion()},
        {2, "Serial Number", s.MainBoardSerial()},
        {3, "Manufacturer", s.ChassisManufacturer()},
        {3, "Version", s.ChassisVersion()},
        {3, "Serial Number", s.ChassisSerial()},
    };
    for (const auto& [type, label, value] : fields) {
      if (broken && !dmi.count(type)) continue;
      EXPECT_EQ(Shown(value), Expected(dmi[type][label])) << "type " << type << " " << label;
    }
    // dmidecode names chassis codes from 25 on, which this reader leaves empty.
    if (!s.ChassisModel().empty() && !(broken && !dmi.count(3))) {
      EXPECT_EQ(Folded(s.ChassisModel()), Folded(dmi[3]["Type"]));
    }
    // dmidecode shows the UUID only when the structure holds all of it.
    if (dmi[1].count("UUID")) {
      EXPECT_EQ(s.SystemUUID(), testing::RawUuidFromDmidecode(dmi[1]["UUID"], DmidecodeVersion(text)));
    }
    ++compared;
  }
  EXPECT_GE(compared, 70);
}

// libsmbios records each machine's service tag, the system serial number.
TEST_F(SmbiosCorpus, LibsmbiosServiceTagsAreTheSystemSerial) {
  int matching = 0;
  int machines = 0;
  // The text of the first <serviceTag> element; nothing when there is none.
  const auto serviceTag = [](const std::string& xml) -> std::optional<std::string> {
    constexpr std::string_view open = "<serviceTag>";
    for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
      const std::size_t start = at + open.size();
      const std::size_t end = xml.find('<', start);
      if (end != std::string::npos && xml.compare(end, 13, "</serviceTag>") == 0) return xml.substr(start, end - start);
    }
    return std::nullopt;
  };
  for (const auto& entry : fs::directory_iterator(kSharedSmbios / "libsmbios")) {
    const std::string xml = [&] {
      const Bytes b = ReadBytes(entry.path() / "testInput.xml");
      return std::string(b.begin(), b.end());
    }();
    const auto tag = serviceTag(xml);
    if (!tag) continue;
    ++machines;
    testing::SmbiosOnFake f;
    Decode(Dump{"", {{"", ReadBytes(entry.path() / "bios.area")}}, false, {}}, f);
    if (f.smbios.SystemSerial() == *tag) {
      ++matching;
    } else {
      // These keep the tag elsewhere: the System Information serial reads
      // empty or as a placeholder, never as another machine's tag.
      std::cout << "  " << entry.path().filename().string() << ": tag " << *tag << ", SystemSerial \""
                << f.smbios.SystemSerial() << "\"\n";
    }
  }
  EXPECT_EQ(machines, 30);
  EXPECT_EQ(matching, 21);
}

}  // namespace
}  // namespace tolvaren
