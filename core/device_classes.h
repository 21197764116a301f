#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tolvaren {

// The device classes the enumeration tells apart, by position.
inline constexpr std::array<std::string_view, 37> kDeviceClassNames = {
    "Battery",
    "Computer",
    "DiskDrive",
    "Display",
    "CDROM",
    "fdc",
    "FloppyDisk",
    "GPS",
    "HID",
    "hdc",
    "1394",
    "Image",
    "Infrared",
    "Keyboard",
    "MediumChanger",
    "MTD",
    "Mouse",
    "Modem",
    "Monitor",
    "MultiFunction",
    "MultiPortSerial",
    "Net",
    "LegacyDriver",
    "NtApm",
    "Unknown",
    "PCMCIA",
    "Ports",
    "Printer",
    "SCSIAdapter",
    "SmartCardReader",
    "MEDIA",
    "Volume",
    "System",
    "TapeDrive",
    "TapeController",
    "Tape",
    "USB",
};

inline constexpr std::uint8_t kComputerClass = 1;
inline constexpr std::uint8_t kNetClass = 21;
inline constexpr std::uint8_t kUnknownClass = 24;

// The first position whose entry begins the class name, ignoring case;
// kUnknownClass when none does. "NetTrans" is therefore a "Net" device.
std::uint8_t ClassifyDeviceClass(std::string_view className);

}  // namespace tolvaren
