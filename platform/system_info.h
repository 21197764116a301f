#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tolvaren::platform {

// The fields of the Windows version record that the tool looks at. A failed
// query, and every platform without such a record, gives all zeros.
struct VersionRecord {
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;  // 2 is the NT platform
};

using KeyboardState = std::array<std::uint8_t, 256>;

// Identity and state of the running system.
class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  virtual VersionRecord QueryVersion() = 0;
  // The NetBIOS computer name (at most 15 bytes); empty when it cannot be read.
  virtual std::string NetBiosName() = 0;
  // The computer name as a longer read gives it (up to 255 bytes).
  virtual std::string ComputerName() = 0;
  virtual std::string UserName() = 0;
  // Milliseconds since the system started, wrapping at 2^32.
  virtual std::uint32_t TickCount() = 0;
  virtual KeyboardState KeyboardStates() = 0;
};

}  // namespace tolvaren::platform
