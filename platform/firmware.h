#pragma once

#include <cstddef>
#include <cstdint>

namespace tolvaren::platform {

// Access to the machine's firmware memory.
class Firmware {
 public:
  virtual ~Firmware() = default;

  // Copies `size` bytes of the BIOS area as the platform maps it into the
  // process (Windows 95/98/Me: the own linear address; Linux: /dev/mem),
  // starting at `address`. The copy stops at the first byte that cannot be
  // read; the result is the number of bytes copied.
  virtual std::size_t ReadMappedBiosArea(std::uint32_t address, std::uint8_t* buffer, std::size_t size) = 0;
};

}  // namespace tolvaren::platform
