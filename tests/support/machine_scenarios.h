#pragma once

// Registry trees of the systems the machine and device tests play.

namespace tolvaren::testing {

// An NT-family device tree (XP and 2000 alike): a "Computer" class device
// under ROOT, a network card with driver, service and device parameters, a
// USB controller without a location, and an instance without a "Control" key.
inline constexpr char kNtDeviceTree[] = R"(
[HKLM\SYSTEM\CurrentControlSet\Enum\Root\ACPI_HAL\0000]
ClassGUID = sz:{4d36e966-e325-11ce-bfc1-08002be10318}
DeviceDesc = sz:Advanced Configuration and Power Interface (ACPI) PC
Mfg = sz:(Standard computers)
LocationInformation = sz:Motherboard
[HKLM\SYSTEM\CurrentControlSet\Enum\Root\ACPI_HAL\0000\Control]

[HKLM\SYSTEM\CurrentControlSet\Enum\PCI\VEN_8086&DEV_100E\3&61AAA01&0&18]
ClassGUID = sz:{4d36e972-e325-11ce-bfc1-08002be10318}
DeviceDesc = sz:Intel(R) PRO/1000 MT Network Connection
FriendlyName = sz:Intel(R) PRO/1000 MT Network Connection #2
Mfg = sz:Intel
LocationInformation = sz:PCI bus 0, device 3, function 0
Service = sz:E1000
Driver = sz:{4D36E972-E325-11CE-BFC1-08002BE10318}\\0001
[HKLM\SYSTEM\CurrentControlSet\Enum\PCI\VEN_8086&DEV_100E\3&61AAA01&0&18\Control]
[HKLM\SYSTEM\CurrentControlSet\Enum\PCI\VEN_8086&DEV_100E\3&61AAA01&0&18\Device Parameters]
InstanceIndex = dword:1
Identifier = multi:first|second
Name = sz:eth0
Alias = sz:second string

[HKLM\SYSTEM\CurrentControlSet\Enum\PCI\VEN_8086&DEV_7112\3&61AAA01&0&0A]
ClassGUID = sz:{36FC9E60-C465-11CF-8056-444553540000}
DeviceDesc = sz:Intel(R) 82371AB/EB PCI to USB Universal Host Controller
[HKLM\SYSTEM\CurrentControlSet\Enum\PCI\VEN_8086&DEV_7112\3&61AAA01&0&0A\Control]

# Not started this boot: no "Control" key, not listed.
[HKLM\SYSTEM\CurrentControlSet\Enum\PCI\VEN_8086&DEV_7113\3&61AAA01&0&0B]
ClassGUID = sz:{4d36e97d-e325-11ce-bfc1-08002be10318}
DeviceDesc = sz:Intel 82371AB/EB Power Management Controller

[HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E966-E325-11CE-BFC1-08002BE10318}]
@ = sz:Computer
Class = sz:Computer
Icon = sz:-28
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}]
@ = sz:Network adapters
Class = sz:Net
Icon = sz:-5
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}\0001]
DriverDate = sz:8-11-2004
DriverVersion = sz:8.4.21.0
ProviderName = sz:Intel
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{36FC9E60-C465-11CF-8056-444553540000}]
@ = sz:Universal Serial Bus controllers
Class = sz:USB

[HKLM\SYSTEM\CurrentControlSet\Services\E1000]
DisplayName = sz:Intel(R) PRO/1000 Adapter Driver
Group = sz:NDIS
Type = dword:1
[HKLM\SYSTEM\CurrentControlSet\Services\PCI]
DisplayName = sz:PCI Bus Driver

[HKLM\SYSTEM\CurrentControlSet\Control\ComputerName\ComputerName]
ComputerName = sz:ACME-XP
)";

// BIOS identification as XP and 2000 keep it.
inline constexpr char kNtBiosValues[] = R"(
[HKLM\HARDWARE\DESCRIPTION\System]
Identifier = sz:AT/AT COMPATIBLE
SystemBiosVersion = multi:PTLTD - 6040000|PhoenixBIOS 4.0 Release 6.0
SystemBiosDate = sz:04/17/06
)";

// A 98 machine: the Config Manager's list of started devices in HKEY_DYN_DATA
// and their keys under HKEY_LOCAL_MACHINE\Enum, with the class keys 98 links.
inline constexpr char kWin98DeviceTree[] = R"(
[HKDD\Config Manager\Enum\C29A1C60]
HardwareKey = sz:Root\*PNP0C01\0000
[HKDD\Config Manager\Enum\C29A2B40]
HardwareKey = sz:PCI\VEN_8086&DEV_1229\BUS_00&DEV_0D&FUNC_00
[HKDD\Config Manager\Enum\C29A3000]
HardwareKey = sz:Network\MSTCP\0000
[HKDD\Config Manager\Enum\C29A4400]
HardwareKey = sz:PCI\VEN_8086&DEV_1229\BUS_00&DEV_0D&FUNC_00
[HKDD\Config Manager\Enum\C29A5000]
HardwareKey = sz:Root\Missing\0000

[HKLM\Enum\Root\*PNP0C01\0000]
Class = sz:Computer
DeviceDesc = sz:Standard PC
[HKLM\Enum\PCI\VEN_8086&DEV_1229\BUS_00&DEV_0D&FUNC_00]
ClassGUID = sz:{4d36e972-e325-11ce-bfc1-08002be10318}
DeviceDesc = sz:Intel 8255x-based PCI Ethernet Adapter (10/100)
Driver = sz:Net\0000
[HKLM\Enum\Network\MSTCP\0000]
Class = sz:NetTrans
DeviceDesc = sz:TCP/IP

[HKLM\SYSTEM\CurrentControlSet\Services\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}]
Class = sz:Net
Link = sz:Net
[HKLM\SYSTEM\CurrentControlSet\Services\Class\Net]
@ = sz:Network adapters
Icon = sz:-5
[HKLM\SYSTEM\CurrentControlSet\Services\Class\Net\0000]
DriverDate = sz:3-31-1999
ProviderName = sz:Microsoft
[HKLM\SYSTEM\CurrentControlSet\Services\C29A2B40]
DisplayName = sz:named after the Config Manager entry
)";

}  // namespace tolvaren::testing
