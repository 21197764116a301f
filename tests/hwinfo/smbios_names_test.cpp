#include "hwinfo/smbios_names.h"

#include <gtest/gtest.h>

#include <functional>

namespace tolvaren {
namespace {

struct NameCase {
  std::uint8_t code;
  const char* name;
};

void ExpectNames(const std::function<std::string(std::uint8_t)>& table, std::initializer_list<NameCase> cases,
                 const char* what) {
  for (const NameCase& c : cases) EXPECT_EQ(table(c.code), c.name) << what << " code " << int(c.code);
}

TEST(SmbiosNames, StructureTypes) {
  ExpectNames(StructTypeNames,
              {{0, "BIOS Information"},
               {3, "System Enclosure or Chassis"},
               {17, "Memory Device"},
               {24, " Hardware Security"},
               {27, " Cooling Device"},
               {31, "Boot Integrity Services (BIS) Entry Point"},
               {39, "System Power Supply"},
               {40, "Unknown"},
               {125, "Unknown"},
               {126, "Inactive"},
               {127, "End-of-Table"},
               {128, "Unknown"},
               {255, "Unknown"}},
              "structure");
}

TEST(SmbiosNames, ChassisTypes) {
  ExpectNames(ChassisTypeNames,
              {{0, ""},
               {1, "Other"},
               {3, "Desktop"},
               {9, "LapTop"},
               {13, "All in One"},
               {19, "SubChassis"},
               {24, "Sealed-case PC"},
               {25, ""},
               {127, ""}},
              "chassis");
}

TEST(SmbiosNames, ComponentCodes) {
  ExpectNames(ProcessorUpgradeName, {{0, ""}, {1, "Other"}, {4, "ZIF Socket"}, {9, "Slot 2"}, {10, ""}}, "upgrade");
  ExpectNames(MemoryFormFactorName,
              {{0, "Unknown (00h)"}, {1, "Other"}, {9, "DIMM"}, {14, "SRIMM"}, {15, "Unknown (0Fh)"}}, "form factor");
  ExpectNames(MemoryTypeName, {{1, "Other"}, {15, "SDRAM"}, {17, "RDRAM"}, {18, "Unknown (12h)"}}, "memory type");
  ExpectNames(PortConnectorName,
              {{0x00, "None"},
               {0x0B, "RJ-45"},
               {0x1F, "Mini-jack (headphones)"},
               {0x22, "PC-98"},
               {0x27, "Other"},
               {0x28, "Unknown (28h)"},
               {0xA0, "PC-98"},
               {0xA4, "PC-98Full"},
               {0xA5, "Unknown (A5h)"}},
              "connector");
  ExpectNames(PortTypeName,
              {{0x00, "None"},
               {0x11, "FireWire (IEEE P1394)"},
               {0x12, "PCMCIA Type I"},
               {0x13, "PCMCIA Type II"},
               {0x1F, "Network Port"},
               {0x22, "Other"},
               {0x23, "Unknown (23h)"}},
              "port type");
  ExpectNames(SlotTypeName, {{0, "Other"}, {5, "PCI"}, {17, "PC-98/C20"}, {21, "PC-98/Card"}, {22, "Unknown (16h)"}},
              "slot");
  ExpectNames(SlotDataBusName, {{0, "Other"}, {2, "8 bit"}, {6, "128 bit"}, {7, "Unknown (07h)"}}, "data bus");
}

}  // namespace
}  // namespace tolvaren
