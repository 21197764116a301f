#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tolvaren::platform {

// Which kind of system the firmware is reached through; it decides the order
// in which the image sources are tried.
enum FirmwareFamily : std::uint8_t { ffWindows, ffLinux };

// Outcome of reading the BIOS area through the kernel's physical-memory
// section (Windows NT family).
struct SectionRead {
  enum Status : std::uint8_t {
    srCopied,   // the view was mapped and the bytes copied
    srRefused,  // the section did not open; ntStatus says why
    srNoView,   // the section opened but no view could be mapped
  };
  Status status = srRefused;
  std::uint32_t ntStatus = 0;
};

// Signature of the raw SMBIOS firmware-table provider ('RSMB').
inline constexpr std::uint32_t kRawSmbiosProvider = 0x52534D42;

// Access to the machine's firmware memory.
class Firmware {
 public:
  virtual ~Firmware() = default;

  virtual FirmwareFamily Family() const = 0;

  // Copies `size` bytes of the BIOS area as the platform maps it into the
  // process (Windows 95/98/Me: the own linear address; Linux: /dev/mem),
  // starting at `address`. The copy stops at the first byte that cannot be
  // read; the result is the number of bytes copied.
  virtual std::size_t ReadMappedBiosArea(std::uint32_t address, std::uint8_t* buffer, std::size_t size) = 0;

  // Opens "\Device\PhysicalMemory" for reading, maps `size` bytes from
  // `address` and copies them into `buffer`; the section is always closed
  // again. The buffer is written only when the result is srCopied.
  virtual SectionRead ReadPhysicalMemorySection(std::uint32_t address, std::uint8_t* buffer, std::size_t size) = 0;

  // The firmware table of a provider (table id 0), as the system hands it
  // out; nothing when the system lacks the call or the table.
  virtual std::optional<std::vector<std::uint8_t>> ReadFirmwareTable(std::uint32_t provider) = 0;
};

}  // namespace tolvaren::platform
