#include "hwinfo/smbios_components.h"

#include <gtest/gtest.h>

#include "smbios_fixture.h"

namespace tolvaren {
namespace {

using testing::SmbiosImageBuilder;
using testing::SmbiosOnFake;
using testing::Structure;

Structure Processor(std::uint8_t voltage) {
  return Structure(4, 0x1A)
      .Byte(0x04, 1)
      .Byte(0x07, 2)
      .Byte(0x10, 3)
      .Byte(0x11, voltage)
      .Word(0x12, 133)
      .Word(0x16, 2400)
      .Byte(0x19, 4);
}

Structure MemoryModule(std::uint8_t size, std::uint16_t flags = 0) {
  return Structure(6, 0x0C).Byte(0x04, 1).Byte(0x06, 60).Word(0x07, flags).Byte(0x09, size).Text({"DIMM0"});
}

Structure MemoryDevice(std::uint16_t mhz) {
  return Structure(17, 0x1B)
      .Word(0x0C, 4096)
      .Byte(0x0E, 9)
      .Byte(0x10, 2)
      .Byte(0x12, 0x0F)
      .Word(0x15, mhz)
      .Text({"Bank 0", "DIMM A"});
}

TEST(SmbiosComponents, ProcessorFieldsAndVoltageRules) {
  SmbiosOnFake f;
  struct Case {
    std::uint8_t code;
    double volts;
  } cases[] = {{0x8B, 1.1}, {0x06, 3.3}, {0x05, 5.0}, {0x04, 2.9}, {0x00, 0.0}, {0x80, 0.0}, {0xFF, 12.7}};
  for (const Case& c : cases) {
    SmbiosImageBuilder b;
    b.Add(Processor(c.code).Text({"CPU 0", "GenuineIntel", "Xeon"}));
    TSMBIOS& s = f.Decode(b);
    ASSERT_EQ(s.ProcessorCount(), 1);
    const TProcessor p = s.Processor(0);
    EXPECT_DOUBLE_EQ(p.Voltage, c.volts) << int(c.code);
    EXPECT_EQ(p.Socket, "CPU 0");
    EXPECT_EQ(p.Manufacturer, "GenuineIntel");
    EXPECT_EQ(p.Version, "Xeon");
    EXPECT_EQ(p.Upgrade, "ZIF Socket");
    EXPECT_EQ(p.CurrentSpeed, 2400);
    EXPECT_EQ(p.ExternalClock, 133);
  }
}

TEST(SmbiosComponents, MemoryModuleSizes) {
  SmbiosOnFake f;
  struct Case {
    std::uint8_t code;
    std::int32_t megabytes;
  } cases[] = {{0x83, 8}, {0x03, 8}, {0x00, 1}, {0x7F, 0}, {0x7D, 0}, {0xFE, 0}, {30, 1 << 30}, {31, 0}};
  for (const Case& c : cases) {
    SmbiosImageBuilder b;
    b.Add(MemoryModule(c.code, 0x0184));
    TSMBIOS& s = f.Decode(b);
    ASSERT_EQ(s.MemorySlotCount(), 1);
    EXPECT_EQ(s.MemoryBank(0).Size, c.megabytes) << int(c.code);
    EXPECT_EQ(s.MemoryBank(0).Source, 6u);
    EXPECT_EQ(s.MemoryBank(0).Speed, 60);
    EXPECT_EQ(s.MemoryBank(0).Designation, "DIMM0");
  }
  // Bits above 10 of the type flags are dropped.
  SmbiosImageBuilder b;
  b.Add(MemoryModule(3, 0xFFFF));
  EXPECT_EQ(f.Decode(b).MemoryBank(0).TypeFlags, 0x7FF);
}

TEST(SmbiosComponents, MemoryDevicesOnlyWithoutMemoryModules) {
  SmbiosOnFake f;
  SmbiosImageBuilder both;
  both.Add(MemoryDevice(400)).Add(MemoryModule(3)).Add(MemoryDevice(400));
  TSMBIOS& s = f.Decode(both);
  ASSERT_EQ(s.MemorySlotCount(), 1);
  EXPECT_EQ(s.MemoryBank(0).Source, 6u);

  SmbiosImageBuilder devices;
  devices.Add(MemoryDevice(400)).Add(MemoryDevice(0x0100));
  f.Decode(devices);
  ASSERT_EQ(s.MemorySlotCount(), 2);
  const TMemoryBank bank = s.MemoryBank(0);
  EXPECT_EQ(bank.Source, 17u);
  EXPECT_EQ(bank.Designation, "DIMM A");  // the device locator, string 2
  EXPECT_EQ(bank.Size, 4096);
  EXPECT_EQ(bank.Speed, 2);  // 1000 / 400 MHz
  EXPECT_EQ(bank.FormFactor, 8);
  EXPECT_EQ(bank.DeviceType, 0x0E);
  // 256 MHz: the low byte of the speed word is 0, so no speed.
  EXPECT_EQ(s.MemoryBank(1).Speed, 0);
}

TEST(SmbiosComponents, CacheSizesAndShortStructures) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(Structure(7, 0x13)
            .Byte(0x04, 1)
            .Word(0x07, 0x8010)  // 16 units of 64 KiB
            .Word(0x09, 0x0200)
            .Word(0x0D, 0x0012)
            .Byte(0x0F, 15)
            .Byte(0x11, 5)
            .Byte(0x12, 8)
            .Text({"L2"}));
  b.Add(Structure(7, 0x0F).Byte(0x04, 1).Word(0x07, 0xFFFF).Word(0x0D, 0).Text({"L1"}));
  TSMBIOS& s = f.Decode(b);
  ASSERT_EQ(s.CacheCount(), 2);
  const TCache l2 = s.Cache(0);
  EXPECT_EQ(l2.Designation, "L2");
  EXPECT_EQ(l2.MaxSize, 1024);
  EXPECT_EQ(l2.InstalledSize, 512);
  EXPECT_EQ(l2.SRAMType, 4);
  EXPECT_EQ(l2.Speed, 15);
  EXPECT_EQ(l2.CacheType, 4);
  EXPECT_EQ(l2.Associativity, 7);
  const TCache l1 = s.Cache(1);
  EXPECT_EQ(l1.MaxSize, static_cast<std::uint16_t>(0x7FFF * 64));  // kept to 16 bits
  EXPECT_EQ(l1.SRAMType, 0);
  EXPECT_EQ(l1.CacheType, 1);
  EXPECT_EQ(l1.Associativity, 1);
  EXPECT_EQ(l1.Speed, 0);
}

TEST(SmbiosComponents, PortCodesAndUnnamedPortsLeftOut) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(Structure(8, 9).Byte(0x04, 1).Byte(0x05, 0xFF).Byte(0x08, 0xFF).Text({"COM1"}));
  b.Add(Structure(8, 9).Byte(0x04, 0).Byte(0x05, 0x08).Byte(0x08, 0x09));
  b.Add(Structure(8, 9).Byte(0x04, 1).Byte(0x05, 0xA0).Byte(0x08, 0xA1).Text({"PC98"}));
  b.Add(Structure(8, 9).Byte(0x04, 1).Byte(0x05, 0x0B).Byte(0x08, 0x1F).Text({"   "}));
  b.Add(Structure(8, 9).Byte(0x04, 1).Byte(0x05, 0x12).Byte(0x08, 0x10).Text({"USB"}));
  TSMBIOS& s = f.Decode(b);
  ASSERT_EQ(s.PortCount(), 3);
  EXPECT_EQ(s.Port(0).Connector, 0x27);
  EXPECT_EQ(s.Port(0).PortType, 0x22);
  EXPECT_EQ(s.Port(1).Connector, 0xA0);
  EXPECT_EQ(s.Port(1).PortType, 0x21);
  EXPECT_EQ(s.Port(2).Designator, "USB");
  EXPECT_EQ(s.Port(2).PortType, 0x10);
}

TEST(SmbiosComponents, SlotCodesAndUnnamedSlotsLeftOut) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(Structure(9, 0x0D).Byte(0x04, 1).Byte(0x05, 0xA0).Byte(0x06, 0x05).Word(0x09, 7).Text({"SLOT1"}));
  b.Add(Structure(9, 0x0D).Byte(0x04, 0).Byte(0x05, 0x06).Byte(0x06, 0x05));
  b.Add(Structure(9, 0x0D).Byte(0x04, 1).Byte(0x05, 0x06).Byte(0x06, 0x00).Text({"PCI2"}));
  TSMBIOS& s = f.Decode(b);
  ASSERT_EQ(s.SystemSlotCount(), 2);
  EXPECT_EQ(s.Slot(0).SlotType, 0x11);
  EXPECT_EQ(s.Slot(0).DataBus, 4);
  EXPECT_EQ(s.Slot(0).SlotNumber, 7);
  EXPECT_EQ(s.Slot(1).SlotType, 5);
  EXPECT_EQ(s.Slot(1).DataBus, 0xFF);  // 0 minus 1, kept to 8 bits
}

TEST(SmbiosComponents, AccessorsPastTheCountGiveZeroRecords) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(Processor(0x8B).Text({"CPU 0"}));
  TSMBIOS& s = f.Decode(b);
  EXPECT_EQ(s.Processor(1).Socket, "");
  EXPECT_EQ(s.Processor(255).CurrentSpeed, 0);
  EXPECT_EQ(s.MemoryBank(0).Source, 0u);
  EXPECT_EQ(s.Port(0).Connector, 0);
  EXPECT_EQ(s.Slot(3).SlotNumber, 0);
  EXPECT_EQ(s.Cache(0).MaxSize, 0);
}

TEST(SmbiosComponents, ListsStopAt255SoTheCountsStayTrue) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  for (int i = 0; i < 300; ++i) b.Add(Structure(7, 0x13).Byte(0x04, 1).Text({"C"}));
  TSMBIOS& s = f.Decode(b);
  EXPECT_EQ(s.CacheCount(), 255);
  EXPECT_EQ(s.Cache(254).Designation, "C");
}

TEST(SmbiosComponents, ComponentsDoNotDisturbTheIdentification) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(Structure(1, 0x1B).Strings({1, 2, 0, 3}).Text({"Maker", "Model", "SN"}));
  b.Add(Processor(0x8B).Text({"CPU 0", "Intel", "Xeon"}));
  b.Add(MemoryModule(3));
  TSMBIOS& s = f.Decode(b);
  EXPECT_EQ(s.SystemSerial(), "SN");
  EXPECT_EQ(s.ProcessorCount(), 1);
  EXPECT_EQ(s.MemorySlotCount(), 1);
}

}  // namespace
}  // namespace tolvaren
