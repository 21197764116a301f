#include "hwinfo/smbios.h"

#include <gtest/gtest.h>

#include <functional>

#include "hwinfo/smbios_anchor.h"
#include "smbios_fixture.h"

namespace tolvaren {
namespace {

using testing::EndOfTable;
using testing::SmbiosImageBuilder;
using testing::SmbiosOnFake;
using testing::Structure;

Structure SystemInfo(std::vector<std::string> strings) {
  return Structure(1, 0x1B).Strings({1, 2, 3, 4}).Text(std::move(strings));
}

TEST(SmbiosEntryPoint, SmAnchorAndDmiAnchorGiveTheSameAddress) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.EntryPointAt(0xF5A40).TableAt(0xF5A60).Version(2, 4).Add(SystemInfo({"M", "P", "V", "S"})).Add(EndOfTable());
  TSMBIOS& s = f.Decode(b);
  EXPECT_EQ(s.EntryPointAddress(), 0xF5A40u);
  EXPECT_EQ(s.SMBIOSVersion(), "2.4");
  EXPECT_EQ(s.TableAddress(), 0xF5A60u);
  EXPECT_EQ(s.StructureCount(), 2);
  EXPECT_EQ(s.TableLength(), 0x1B + 9 + 6);  // strings with their zeros, then the set's end
  EXPECT_EQ(s.SystemSerial(), "S");

  b.WithoutSmAnchor();
  EXPECT_EQ(f.Decode(b).EntryPointAddress(), 0xF5A40u);
  EXPECT_EQ(f.smbios.SystemSerial(), "S");
}

TEST(SmbiosEntryPoint, FirstAnchorInAscendingOrderWinsAtAnyAlignment) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.EntryPointAt(0xE1233).TableAt(0xE2000).Add(SystemInfo({"A", "B", "C", "first"}));
  b.Poke(0xF0000, {'_', 'S', 'M', '_'});
  EXPECT_EQ(f.Decode(b).EntryPointAddress(), 0xE1233u);
  EXPECT_EQ(f.smbios.SystemSerial(), "first");
  // A lone "_DMI_" in front of the entry point does not win over "_SM_".
  b.Poke(0xE0100, {'_', 'D', 'M', 'I', '_'});
  EXPECT_EQ(f.Decode(b).EntryPointAddress(), 0xE1233u);
}

TEST(SmbiosEntryPoint, TheFirstAlignedEntryPointWithValidChecksumsWins) {
  // The real entry point at 0xF5A40; a decoy table at 0xE3000 names another
  // serial.
  SmbiosImageBuilder real;
  real.EntryPointAt(0xF5A40).TableAt(0xF5A60).Checksummed().Add(SystemInfo({"M", "P", "V", "real"}));
  const BiosImage clean = real.Build();
  SmbiosImageBuilder decoy;
  decoy.EntryPointAt(0xE2000).TableAt(0xE3000).Checksummed().Add(SystemInfo({"M", "P", "V", "stray"}));
  const BiosImage decoyImage = decoy.Build();
  const auto at = [](std::uint32_t address) { return static_cast<std::ptrdiff_t>(address - kBiosAreaBase); };

  struct Case {
    const char* what;
    std::function<void(BiosImage&)> change;
    std::uint32_t entry;
  };
  const Case cases[] = {
      {"stray text, unaligned", [&](BiosImage& i) { std::copy_n("_SM_", 4, i.begin() + at(0xE1233)); }, 0xF5A40},
      {"stray text, aligned", [&](BiosImage& i) { std::copy_n("_SM_", 4, i.begin() + at(0xE1000)); }, 0xF5A40},
      {"whole entry point, one checksum wrong",
       [&](BiosImage& i) {
         std::copy_n(decoyImage.begin() + at(0xE2000), 0x1000 + 0x40, i.begin() + at(0xE2000));
         ++i[at(0xE2000) + kEntryBcdRevision];
       },
       0xF5A40},
      {"whole entry point, its _DMI_ part's checksum wrong",
       [&](BiosImage& i) {
         std::copy_n(decoyImage.begin() + at(0xE2000), 0x1000 + 0x40, i.begin() + at(0xE2000));
         ++i[at(0xE2000) + kEntryIntermediateChecksum];
         --i[at(0xE2000) + kEntryChecksum];
       },
       0xF5A40},
      {"its own _DMI_ part when only the _SM_ checksum fails",
       [&](BiosImage& i) { ++i[at(0xF5A40) + kEntryBcdRevision]; }, 0xF5A40},
      {"a valid one before it", [&](BiosImage& i) { std::copy_n(decoyImage.begin(), 0x10000, i.begin()); }, 0xE2000},
      {"none validates: the first anchor, as before",
       [&](BiosImage& i) {
         std::copy_n("_SM_", 4, i.begin() + at(0xE1233));
         ++i[at(0xF5A40) + kEntryIntermediateChecksum];  // both sums now miss
       },
       0xE1233},
  };
  for (const Case& c : cases) {
    BiosImage image = clean;
    c.change(image);
    EXPECT_EQ(FindEntryPointAddress(image), c.entry) << c.what;
    SmbiosOnFake f;
    EXPECT_EQ(f.Decode(image).EntryPointAddress(), c.entry) << c.what;
    if (c.entry == 0xF5A40) {
      EXPECT_EQ(f.smbios.SystemSerial(), "real") << c.what;
    }
  }
}

TEST(SmbiosEntryPoint, NoAnchorOrTableOutsideTheAreaLeavesFieldsEmpty) {
  SmbiosOnFake f;
  TSMBIOS& s = f.Decode(BiosImage{});
  EXPECT_EQ(s.EntryPointAddress(), 0u);
  EXPECT_EQ(s.SMBIOSVersion(), "");
  EXPECT_TRUE(s.StructTables().empty());

  // Tables in high memory, as on larger machines.
  SmbiosImageBuilder b;
  b.TableAt(0x7FFF0000).AnnouncedLength(700).AnnouncedCount(30);
  f.Decode(b);
  EXPECT_EQ(s.SMBIOSVersion(), "2.8");
  EXPECT_EQ(s.TableAddress(), 0x7FFF0000u);
  EXPECT_EQ(s.TableLength(), 700);
  EXPECT_EQ(s.StructureCount(), 30);
  EXPECT_TRUE(s.StructTables().empty());
  EXPECT_EQ(s.SystemModel(), "");
  EXPECT_EQ(s.BIOSSize(), 0u);
}

TEST(SmbiosEntryPoint, AnAnchorTouchingTheImagesLastByteIsNotFound) {
  BiosImage image{};
  const char sm[] = "_SM_";
  std::copy(sm, sm + 4, image.end() - 4);  // would need the last byte
  EXPECT_EQ(FindAnchor(image, kSmAnchor), 0u);
  std::copy(sm, sm + 4, image.end() - 5);
  EXPECT_EQ(FindAnchor(image, kSmAnchor), kBiosAreaLast - 4);
}

TEST(SmbiosEntryPoint, FastScanFindsWhatEveryPositionScanFinds) {
  // Images full of underscores and near misses, compared with a scan that
  // tries every position.
  auto naive = [](const BiosImage& image, std::string_view anchor) -> std::uint32_t {
    for (std::size_t i = 0; i + anchor.size() <= image.size() - 1; ++i) {
      if (std::equal(anchor.begin(), anchor.end(), image.begin() + i)) return kBiosAreaBase + i;
    }
    return 0;
  };
  std::uint32_t state = 12345;
  for (int round = 0; round < 20; ++round) {
    BiosImage image{};
    const char alphabet[] = "_SMDI_\0";
    for (auto& byte : image) {
      state = state * 1103515245 + 12345;
      byte = static_cast<std::uint8_t>(alphabet[(state >> 16) % 7]);
    }
    for (std::string_view anchor : {kSmAnchor, kDmiAnchor}) {
      EXPECT_EQ(FindAnchor(image, anchor), naive(image, anchor)) << "round " << round;
    }
  }
}

TEST(SmbiosSystem, UuidIsTheStoredBytesInOrder) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(SystemInfo({"M", "P", "V", "S"})
            .Bytes(0x08,
                   {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}));
  EXPECT_EQ(f.Decode(b).SystemUUID(), "00112233445566778899AABBCCDDEEFF");

  // A 2.0 structure ends before the UUID.
  SmbiosImageBuilder old;
  old.Add(Structure(1, 8).Strings({1, 2, 3, 4}).Text({"M", "P", "V", "S"})).Add(Structure(4, 0x30));
  EXPECT_EQ(f.Decode(old).SystemUUID(), "");
  EXPECT_EQ(f.smbios.SystemSerial(), "S");
}

TEST(SmbiosStrings, FieldsReadTheStringTheirNumberNames) {
  SmbiosOnFake f;
  // Product Name has no string; the others are 1, 2, 3.
  SmbiosImageBuilder b;
  b.Add(Structure(1, 0x1B).Strings({1, 0, 2, 3}).Text({"Maker", "1.0", "SN42"}));
  TSMBIOS& s = f.Decode(b);
  EXPECT_EQ(s.SystemManufacturer(), "Maker");
  EXPECT_EQ(s.SystemModel(), "");
  EXPECT_EQ(s.SystemVersion(), "1.0");
  EXPECT_EQ(s.SystemSerial(), "SN42");

  // Strings listed out of field order, as HP and Dell servers do.
  SmbiosImageBuilder reordered;
  reordered.Add(Structure(1, 0x1B).Strings({2, 1, 4, 3}).Text({"ProLiant DL380", "HP", "CZ1234", "G5"}));
  f.Decode(reordered);
  EXPECT_EQ(s.SystemManufacturer(), "HP");
  EXPECT_EQ(s.SystemModel(), "ProLiant DL380");
  EXPECT_EQ(s.SystemVersion(), "G5");
  EXPECT_EQ(s.SystemSerial(), "CZ1234");

  // Numbers past the double zero that ends the set read as empty, also when
  // further structures follow.
  SmbiosImageBuilder short_set;
  short_set.Add(Structure(1, 0x1B).Strings({1, 2, 5, 200}).Text({"A", "B"}));
  short_set.Add(Structure(2, 0x0F).Strings({1, 2, 3, 4}).Text({"X", "Y", "Z", "W"}));
  f.Decode(short_set);
  EXPECT_EQ(s.SystemModel(), "B");
  EXPECT_EQ(s.SystemVersion(), "");
  EXPECT_EQ(s.SystemSerial(), "");
  EXPECT_EQ(s.MainBoardSerial(), "W");

  // A structure with an empty string set.
  SmbiosImageBuilder empty_set;
  empty_set.Add(Structure(1, 0x1B).Strings({1, 1, 1, 1})).Add(Structure(2, 0x0F).Strings({1}).Text({"Board"}));
  f.Decode(empty_set);
  EXPECT_EQ(s.SystemManufacturer(), "");
  EXPECT_EQ(s.MainBoardManufacturer(), "Board");
}

TEST(SmbiosStrings, TrimmedAndCutTo255Bytes) {
  SmbiosOnFake f;
  const std::string long_text(300, 'L');
  SmbiosImageBuilder b;
  b.Add(Structure(1, 0x1B).Strings({1, 2, 3, 4}).Text({"   ", "  ABC123 ", long_text, "\t\xA3 x\x01"}));
  TSMBIOS& s = f.Decode(b);
  EXPECT_EQ(s.SystemManufacturer(), "");
  EXPECT_EQ(s.SystemModel(), "ABC123");
  EXPECT_EQ(s.SystemVersion(), std::string(255, 'L'));
  // The next string is found after the whole long one.
  EXPECT_EQ(s.SystemSerial(), "\xA3 x");
}

// Line breaks and terminal escapes in a serial must not reach the summary,
// the macros or a new computer name: inside a string they show as ".".
TEST(SmbiosStrings, ControlBytesInsideShowAsDots) {
  const std::pair<std::string, std::string> cases[] = {
      {"A\nB", "A.B"},
      {"SN1\r\nSystem    serial       : FAKE", "SN1..System    serial       : FAKE"},
      {"\x1b[31mRED\x1b[0m", "[31mRED.[0m"},  // the leading ESC is trimmed as before
      {"X\x7fY\x07", "X.Y"},
      {"\x7f", "."},                       // 127 is not trimmed
      {"M\xFCller\x80", "M\xFCller\x80"},  // code page text stays
  };
  for (const auto& [stored, shown] : cases) {
    SmbiosOnFake f;
    SmbiosImageBuilder b;
    b.Add(Structure(1, 0x1B).Strings({0, 0, 0, 1}).Text({stored}));
    EXPECT_EQ(f.Decode(b).SystemSerial(), shown) << stored;
  }
}

TEST(SmbiosStrings, AStringRunningToTheImagesEndStopsThere) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.TableAt(kBiosAreaLast - 0x1B - 3).Add(Structure(1, 0x1B).Strings({1}));
  b.Poke(kBiosAreaLast - 3, {'E', 'N', 'D', '!'});
  EXPECT_EQ(f.Decode(b).SystemManufacturer(), "END!");
}

TEST(SmbiosStrings, FieldsBeyondTheFormattedAreaAreEmpty) {
  SmbiosOnFake f;
  // A chassis of length 6 has no version or serial field; the bytes at 06h
  // and 07h begin its string set and would otherwise select string 2.
  SmbiosImageBuilder b;
  b.Add(Structure(3, 6).Strings({1, 3}).Text({"\x02\x02X", "Case"}));
  TSMBIOS& s = f.Decode(b);
  EXPECT_EQ(s.ChassisManufacturer(), "X");
  EXPECT_EQ(s.ChassisModel(), "Desktop");
  EXPECT_EQ(s.ChassisVersion(), "");
  EXPECT_EQ(s.ChassisSerial(), "");
}

TEST(SmbiosChassis, TypeNameFromTheLowSevenBits) {
  SmbiosOnFake f;
  struct Case {
    std::uint8_t code;
    const char* name;
  } cases[] = {{0x83, "Desktop"}, {0x03, "Desktop"}, {0x17, "Rack Mount Chassis"}, {0x00, ""}, {0x19, ""}, {0xFF, ""}};
  for (const Case& c : cases) {
    SmbiosImageBuilder b;
    b.Add(Structure(3, 0x15).Strings({1, c.code, 2, 3}).Text({"Maker", "V", "CSN"}));
    TSMBIOS& s = f.Decode(b);
    EXPECT_EQ(s.ChassisModel(), c.name) << int(c.code);
    EXPECT_EQ(s.ChassisManufacturer(), "Maker");
    EXPECT_EQ(s.ChassisVersion(), "V");
    EXPECT_EQ(s.ChassisSerial(), "CSN");
  }
}

TEST(SmbiosBios, SizeVendorVersionDate) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(Structure(0, 0x18).Strings({1, 2}).Byte(0x08, 3).Byte(0x09, 0x0F).Text({"SeaBIOS", "1.16", "04/01/2014"}));
  TSMBIOS& s = f.Decode(b);
  EXPECT_EQ(s.BIOSSize(), 1024u);
  EXPECT_EQ(s.BIOSVendor(), "SeaBIOS");
  EXPECT_EQ(s.BIOSVersion(), "1.16");
  EXPECT_EQ(s.BIOSDate(), "04/01/2014");

  SmbiosImageBuilder none;
  none.Add(SystemInfo({"M", "P", "V", "S"}));
  EXPECT_EQ(f.Decode(none).BIOSSize(), 0u);
  EXPECT_EQ(s.BIOSVendor(), "");
}

TEST(SmbiosTableWalk, PaddingAfterTypeZeroIsPassedOver) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(Structure(0, 0x18).Strings({1}).Text({"Vendor"}).Padding(3));
  b.Add(Structure(2, 0x0F).Strings({1, 2, 3, 4}).Text({"BM", "BP", "BV", "BS"}).Padding(2));
  b.Add(SystemInfo({"M", "P", "V", "S"}));
  b.Add(EndOfTable());
  TSMBIOS& s = f.Decode(b);
  ASSERT_EQ(s.StructTables().size(), 4u);
  EXPECT_EQ(s.StructTables()[1].Type, 2);
  EXPECT_EQ(s.StructTables()[2].Type, 1);
  EXPECT_EQ(s.StructTables()[3].Name, "End-of-Table");
  EXPECT_EQ(s.MainBoardSerial(), "BS");
  EXPECT_EQ(s.SystemSerial(), "S");
}

TEST(SmbiosTableWalk, BeforeTypeZeroTheFirstDoubleZeroEndsTheSet) {
  SmbiosOnFake f;
  // The padding after the system structure is taken for structures of
  // type 0 and length 0, until the type 0 met there sets the other rule.
  SmbiosImageBuilder b;
  b.Add(SystemInfo({"M", "P", "V", "S"}).Padding(2));
  b.Add(Structure(2, 0x0F).Strings({1}).Text({"Board"}));
  TSMBIOS& s = f.Decode(b);
  ASSERT_GE(s.StructTables().size(), 2u);
  EXPECT_EQ(s.StructTables()[0].Type, 1);
  EXPECT_EQ(s.StructTables()[1].Type, 0);
  EXPECT_EQ(s.StructTables()[1].Length, 0);
  EXPECT_EQ(s.StructTables()[1].Name, "BIOS Information");
  EXPECT_EQ(s.SystemSerial(), "S");
}

TEST(SmbiosTableWalk, CountLengthAndEndOfTableBoundTheList) {
  SmbiosOnFake f;
  auto table = [] {
    SmbiosImageBuilder b;
    b.Add(SystemInfo({"M", "P", "V", "S"})).Add(Structure(2, 0x0F).Strings({0, 0, 0, 1}).Text({"MB1"}));
    return b;
  };
  // Count 0: the first structure is still listed and decoded.
  SmbiosImageBuilder zero = table();
  zero.AnnouncedCount(0);
  TSMBIOS& s = f.Decode(zero);
  ASSERT_EQ(s.StructTables().size(), 1u);
  EXPECT_EQ(s.SystemSerial(), "S");
  EXPECT_EQ(s.MainBoardSerial(), "");

  // End-of-Table stops the walk although the announced length goes on.
  SmbiosImageBuilder early_end;
  early_end.Add(SystemInfo({"M", "P", "V", "S"})).Add(EndOfTable());
  early_end.Add(Structure(2, 0x0F).Strings({0, 0, 0, 1}).Text({"MB1"}));
  early_end.AnnouncedCount(10).AnnouncedLength(500);
  f.Decode(early_end);
  EXPECT_EQ(s.StructTables().size(), 2u);
  EXPECT_EQ(s.MainBoardSerial(), "");

  // The announced length ends the walk after the structure starting inside it.
  SmbiosImageBuilder short_length = table();
  short_length.Add(Structure(3, 0x15)).AnnouncedCount(10).AnnouncedLength(0x1B);
  f.Decode(short_length);
  EXPECT_EQ(s.StructTables().size(), 2u);
  EXPECT_EQ(s.MainBoardSerial(), "MB1");

  // A table that runs into the area's end stops there, whatever is announced.
  SmbiosImageBuilder at_area_end;
  at_area_end.TableAt(0xFFFF0).Add(SystemInfo({"M", "P", "V", "S"})).AnnouncedCount(0xFFFF).AnnouncedLength(0xFFFF);
  f.Decode(at_area_end);
  EXPECT_LE(s.StructTables().size(), 2u);
}

TEST(SmbiosTableWalk, OnlyTheFirstStructureOfATypeIsDecoded) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(Structure(2, 0x0F).Strings({0, 0, 0, 1}).Text({"FIRST"}));
  b.Add(Structure(2, 0x0F).Strings({0, 0, 0, 1}).Text({"SECOND"}));
  EXPECT_EQ(f.Decode(b).MainBoardSerial(), "FIRST");
  EXPECT_EQ(FindStructTableIndex(f.smbios.StructTables(), 2, 1), 1);
  EXPECT_EQ(FindStructTableIndex(f.smbios.StructTables(), 2, 2), -1);
  EXPECT_EQ(FindStructTableIndex(f.smbios.StructTables(), 9, 0), -1);
  EXPECT_EQ(f.smbios.StructTables()[1].Handle, 1);
}

TEST(SmbiosGetInfo, ASecondCallResetsEveryField) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(Structure(0, 0x18).Strings({1}).Text({"Vendor"})).Add(SystemInfo({"M", "P", "V", "S"}));
  b.Add(Structure(4, 0x30).Strings({1}).Text({"CPU0"}));
  TSMBIOS& s = f.Decode(b);
  ASSERT_EQ(s.SystemSerial(), "S");
  ASSERT_EQ(s.ProcessorCount(), 1);
  f.Decode(BiosImage{});
  EXPECT_EQ(s.SystemSerial(), "");
  EXPECT_EQ(s.SystemUUID(), "");
  EXPECT_EQ(s.BIOSVendor(), "");
  EXPECT_EQ(s.BIOSSize(), 0u);
  EXPECT_EQ(s.TableAddress(), 0u);
  EXPECT_EQ(s.TableLength(), 0);
  EXPECT_EQ(s.SMBIOSVersion(), "");
  EXPECT_TRUE(s.StructTables().empty());
  EXPECT_EQ(s.ProcessorCount(), 0);
}

}  // namespace
}  // namespace tolvaren
