#include "hwinfo/smbios_synthesis.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

#include "hwinfo/smbios_anchor.h"
#include "tests/hwinfo/smbios_table_builder.h"

namespace tolvaren {
namespace {

using testing::Bytes;
using testing::DWordAt;
using testing::TableBuilder;
using testing::WordAt;

std::uint8_t Sum(const std::uint8_t* at, std::size_t n) {
  return static_cast<std::uint8_t>(std::accumulate(at, at + n, 0u));
}

struct Synthesized {
  explicit Synthesized(const SmbiosSource& source) : image(std::make_unique<BiosImage>()) {
    image->fill(0xCC);  // nothing of the earlier contents may survive
    SynthesizeBiosImage(source, *image, high);
  }
  const std::uint8_t* At(std::uint32_t address) const { return image->data() + (address - kBiosAreaBase); }
  std::unique_ptr<BiosImage> image;
  HighTable high;
};

SmbiosSource Source(const Bytes& table, std::uint8_t major = 3, std::uint8_t minor = 2) {
  SmbiosSource source;
  source.majorVersion = major;
  source.minorVersion = minor;
  source.table = table;
  return source;
}

TEST(SmbiosSynthesis, EntryPointInTheFSegmentWithCountedTable) {
  const Bytes table = testing::SystemTable("SN-42");
  Bytes withTrailer = table;
  withTrailer.insert(withTrailer.end(), {9, 9, 9});  // after End-of-Table: not counted
  const Synthesized s(Source(withTrailer));

  const std::uint8_t* entry = s.At(0xF0000);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry), 4), "_SM_");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry + 0x10), 5), "_DMI_");
  EXPECT_EQ(entry[0x05], 0x1F);
  EXPECT_EQ(Sum(entry, 0x1F), 0) << "entry point checksum";
  EXPECT_EQ(Sum(entry + 0x10, 0x0F), 0) << "intermediate checksum";
  EXPECT_EQ(entry[0x06], 3);
  EXPECT_EQ(entry[0x07], 2);
  EXPECT_EQ(entry[0x1E], 0x32);
  EXPECT_EQ(WordAt(entry + 0x16), table.size());
  EXPECT_EQ(DWordAt(entry + 0x18), 0xF0020u);
  EXPECT_EQ(WordAt(entry + 0x1C), 3);
  EXPECT_EQ(WordAt(entry + 0x08), 4 + 20 + 6 + 6 + 3 + 6 + 1);  // the type 1 structure with its strings
  EXPECT_TRUE(std::equal(table.begin(), table.end(), s.At(0xF0020)));
  EXPECT_EQ(*s.At(0xF0020 + table.size()), 0) << "bytes after the counted table are not copied";
  EXPECT_EQ(*s.At(0xE0000), 0);
  EXPECT_EQ(FindEntryPointAddress(*s.image), 0xF0000u);
  EXPECT_TRUE(IsUsableBiosImage(*s.image, s.high));
}

TEST(SmbiosSynthesis, AnnouncedLengthAndCountWin) {
  SmbiosSource source = Source(testing::SystemTable("X"), 2, 3);
  source.tableLength = 20;
  source.structureCount = 7;
  const Synthesized s(source);
  const std::uint8_t* entry = s.At(0xF0000);
  EXPECT_EQ(WordAt(entry + 0x16), 20);
  EXPECT_EQ(WordAt(entry + 0x1C), 7);
  EXPECT_EQ(entry[0x1E], 0x23);
  EXPECT_EQ(*s.At(0xF0020 + 20), 0) << "only the announced length is copied";
  EXPECT_EQ(Sum(entry, 0x1F), 0);
}

TEST(SmbiosSynthesis, LargeTablesMoveToTheESegmentOrAboveTheArea) {
  // Many OEM-string structures of 9 bytes each, then End-of-Table: more than
  // a 2.x entry point can announce, so the whole table is kept above the
  // area, named by a 3.x entry point in the F segment.
  TableBuilder t;
  for (int i = 0; i < 8000; ++i) t.Add(11, {1}, {"ab"});
  const Bytes& table = t.End().bytes();
  ASSERT_GT(table.size(), 65535u);

  const Synthesized s(Source(table));
  const std::uint8_t* entry = s.At(0xF0000);
  ASSERT_EQ(FindEntryPointAddress(*s.image), 0xF0000u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry), 5), "_SM3_");
  EXPECT_EQ(entry[0x06], 0x18);
  EXPECT_EQ(Sum(entry, 0x18), 0);
  EXPECT_EQ(DWordAt(entry + 0x0C), table.size());
  EXPECT_EQ(DWordAt(entry + 0x10), kSynthesizedHighTable);
  EXPECT_EQ(DWordAt(entry + 0x14), 0u);
  EXPECT_EQ(s.high.address, kSynthesizedHighTable);
  EXPECT_EQ(s.high.bytes, table);
  EXPECT_EQ(FindAnchor(*s.image, kSmAnchor), 0u);
  EXPECT_TRUE(IsUsableBiosImage(*s.image, s.high));
  EXPECT_FALSE(IsUsableBiosImage(*s.image, HighTable{})) << "the table lies outside the area";

  // A table of exactly 65,504 bytes still fits behind the F-segment entry point.
  TableExtent extent = MeasureTable(table, 65504);
  SmbiosSource fits = Source(table);
  fits.tableLength = 65504;
  fits.structureCount = extent.count;
  EXPECT_EQ(FindEntryPointAddress(*Synthesized(fits).image), 0xF0000u);
  fits.tableLength = 65505;
  EXPECT_EQ(FindEntryPointAddress(*Synthesized(fits).image), 0xE0000u);
}

TEST(SmbiosSynthesis, MeasureStopsAtBrokenOrUnfinishedStructures) {
  Bytes table = TableBuilder().Add(1, {1}, {"A"}).bytes();
  const std::size_t first = table.size();
  // A structure whose formatted length is below 4.
  Bytes broken = table;
  broken.insert(broken.end(), {2, 3, 0, 0, 0, 0});
  EXPECT_EQ(MeasureTable(broken, 65535).length, first);
  EXPECT_EQ(MeasureTable(broken, 65535).count, 1);
  // A structure whose string set never ends.
  Bytes open = table;
  open.insert(open.end(), {2, 4, 0, 0, 'x', 'y'});
  EXPECT_EQ(MeasureTable(open, 65535).count, 1);
  // A formatted area longer than what is left.
  Bytes cut = table;
  cut.insert(cut.end(), {2, 40, 0, 0, 0, 0});
  EXPECT_EQ(MeasureTable(cut, 65535).count, 1);
  EXPECT_EQ(MeasureTable({}, 65535).count, 0);
  // A 3.x source's maximum size cuts the table before counting.
  SmbiosSource source = Source(testing::SystemTable("S"));
  source.tableMaximum = static_cast<std::uint32_t>(first - 1);
  const Synthesized s(source);
  EXPECT_EQ(WordAt(s.At(0xF0016)), 0);
}

}  // namespace
}  // namespace tolvaren
