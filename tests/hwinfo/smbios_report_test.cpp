#include <gtest/gtest.h>

#include "smbios_fixture.h"

namespace tolvaren {
namespace {

using testing::SmbiosImageBuilder;
using testing::SmbiosOnFake;
using testing::Structure;

std::vector<std::string> ReportOf(const TSMBIOS& s) {
  StringList lines;
  lines.Add("kept");
  s.Report(lines);
  EXPECT_EQ(lines[0], "kept");
  return {lines.Items().begin() + 1, lines.Items().end()};
}

TEST(SmbiosReport, NothingFound) {
  SmbiosOnFake f;
  const std::vector<std::string> expected = {
      "[SMBIOS]",
      "Version=",
      "Start Address=0",
      "Structure Table Start Address=0",
      "Structure Table Count=0",
      "TableCount=-1",
      "BIOS Vendor=",
      "BIOS Version=",
      "BIOS Date=",
      "BIOS Size=0 K",
      "System Model=",
      "System Manufacturer=",
      "System Version=",
      "System Serial=",
      "System UUID=",
      "Mainboard Model=",
      "Mainboard Manufacturer=",
      "Mainboard Version=",
      "Mainboard Serial=",
      "Chassis Model=",
      "Chassis Manufacturer=",
      "Chassis Version=",
      "Chassis Serial=",
      "ProcessorCount=0",
      "MemorySlotCount=0",
      "PortCount=0",
      "SystemSlotCount=0",
  };
  EXPECT_EQ(ReportOf(f.Decode(BiosImage{})), expected);
}

TEST(SmbiosReport, EveryComponentSection) {
  SmbiosOnFake f;
  f.machine.locale.decimalSeparator = ",";
  SmbiosImageBuilder b;
  b.EntryPointAt(0xF5A40).TableAt(0xF5A60);
  b.Add(Structure(0, 0x18).Strings({1, 2}).Byte(0x08, 3).Byte(0x09, 0x0F).Text({"SeaBIOS", "1.16", "04/01/2014"}));
  b.Add(Structure(1, 0x1B).Strings({1, 2, 3, 4}).Text({"QEMU", "PC", "7.2", "SN1"}));
  b.Add(
      Structure(4, 0x1A).Byte(0x04, 1).Byte(0x11, 0x02).Word(0x12, 100).Word(0x16, 2000).Byte(0x19, 6).Text({"CPU 0"}));
  b.Add(Structure(6, 0x0C).Byte(0x04, 1).Byte(0x06, 70).Word(0x07, 0x0184).Byte(0x09, 0x83).Text({"BANK0"}));
  b.Add(Structure(8, 9).Byte(0x04, 1).Byte(0x05, 0xA2).Byte(0x08, 0x12).Text({"J1"}));
  b.Add(Structure(9, 0x0D).Byte(0x04, 1).Byte(0x05, 0x06).Byte(0x06, 0x05).Text({"PCI1"}));
  b.Add(Structure(9, 0x0D).Byte(0x04, 1).Byte(0x05, 0x06).Byte(0x06, 0x05).Text({"PCI2"}));
  b.Add(Structure(200, 4));
  const std::vector<std::string> lines = ReportOf(f.Decode(b));
  const std::vector<std::string> head = {
      "[SMBIOS]",
      "Version=2.8",
      "Start Address=F5A40",
      "Structure Table Start Address=F5A60",
      "Structure Table Count=8",
      "TableCount=7",
      "Table_0=BIOS Information (Type 0)",
      "Table_1=System Information (Type 1)",
      "Table_2=Processor Information (Type 4)",
      "Table_3=Memory Module Information (Type 6)",
      "Table_4=Port Connector Information (Type 8)",
      "Table_5=System Slots (Type 9)",
      "Table_6=System Slots (Type 9)",
      "Table_7=Unknown (Type 200)",
      "BIOS Vendor=SeaBIOS",
      "BIOS Version=1.16",
      "BIOS Date=04/01/2014",
      "BIOS Size=1024 K",
      "System Model=PC",
      "System Manufacturer=QEMU",
      "System Version=7.2",
      "System Serial=SN1",
  };
  ASSERT_GT(lines.size(), head.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + head.size()), head);
  const std::vector<std::string> tail = {
      "ProcessorCount=1",
      "ProcessorSocket_0=CPU 0",
      "ProcessorUpgradeInterface_0=None",
      "ProcessorManufacturer_0=",
      "ProcessorVersion_0=",
      "ProcessorVoltage_0=3,3 V",
      "ProcessorClock_0=2000 MHz",
      "ProcessorExternalClock_0=100 MHz",
      "MemorySlotCount=1",
      "MemoryBank_0=BANK0",
      "MemoryType_0=Standard,SIMM,DIMM",
      "MemorySize_0=8 MB",
      "MemorySize_0=70 ns",
      "PortCount=1",
      "PortDesignator_0=J1",
      "PortType_0=PCMCIA Type I",
      "PortConnector_0=PC-H98",
      "SystemSlotCount=2",
      "SystemSlot_0=PCI",
      "SystemSlotDataBus_0=32 bit",
      "SystemSlot_1=PCI",
      "SystemSlotDataBus_1=32 bit",
  };
  EXPECT_EQ(std::vector<std::string>(lines.end() - tail.size(), lines.end()), tail);
}

TEST(SmbiosReport, MemoryDeviceNames) {
  SmbiosOnFake f;
  SmbiosImageBuilder b;
  b.Add(Structure(17, 0x1B).Word(0x0C, 2048).Byte(0x0E, 0x09).Byte(0x10, 1).Byte(0x12, 0x0F).Text({"DIMM 1"}));
  b.Add(Structure(17, 0x1B).Byte(0x0E, 0x00).Byte(0x12, 0x1A));
  const std::vector<std::string> lines = ReportOf(f.Decode(b));
  const std::vector<std::string> tail = {
      "MemorySlotCount=2",      "MemoryBank_0=DIMM 1", "FormFactor_0=DIMM", "Device_0=SDRAM",
      "MemorySize_0=2048 MB",   "MemorySize_0=0 ns",   "MemoryBank_1=",     "FormFactor_1=Unknown (00h)",
      "Device_1=Unknown (1Ah)", "MemorySize_1=0 MB",   "MemorySize_1=0 ns", "PortCount=0",
      "SystemSlotCount=0",
  };
  EXPECT_EQ(std::vector<std::string>(lines.end() - tail.size(), lines.end()), tail);
}

}  // namespace
}  // namespace tolvaren
