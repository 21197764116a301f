#pragma once

#include <cstdint>
#include <string>

namespace tolvaren::platform {

struct NameWriteResult {
  bool accepted = false;
  // The platform's error code, read at once after a refused write.
  std::uint32_t errorCode = 0;
};

// Where the computer's name is kept. The new name takes effect at the next
// start of the system.
class NameStore {
 public:
  virtual ~NameStore() = default;
  virtual NameWriteResult WriteComputerName(const std::string& name) = 0;
};

}  // namespace tolvaren::platform
