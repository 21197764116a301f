#pragma once

#include <cstdint>
#include <string>

namespace tolvaren {

// The names the SMBIOS reader gives to the codes it finds, in one place.

// Structure type names; "Unknown" for types without one.
std::string StructTypeNames(std::uint8_t type);

// Chassis type names; empty for codes without one.
std::string ChassisTypeNames(std::uint8_t code);

// Processor upgrade names; empty for codes without one.
std::string ProcessorUpgradeName(std::uint8_t code);

// The report's names of the stored component codes. A code without a name
// reads "Unknown (XXh)" with the stored code in hexadecimal, so that it is
// not mistaken for the code named "Unknown".
std::string MemoryFormFactorName(std::uint8_t code);
std::string MemoryTypeName(std::uint8_t code);
std::string PortConnectorName(std::uint8_t code);
std::string PortTypeName(std::uint8_t code);
std::string SlotTypeName(std::uint8_t code);
std::string SlotDataBusName(std::uint8_t code);

}  // namespace tolvaren
