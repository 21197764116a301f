#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/host_name_rules.h"

namespace tolvaren::platform {

struct NameWriteResult {
  bool accepted = false;
  // The platform's error code, read at once after a refused write.
  std::uint32_t errorCode = 0;
  // After an accepted write: sentences about what else the system holds of
  // the name and could not be brought along, or may undo it.
  std::vector<std::string> warnings;
  // After a refused write: lines that say why (the broken naming rules, or
  // the file and the system's reason), shown after the error line.
  std::vector<std::string> reasons;
};

// Where the computer's name is kept. The new name takes effect at the next
// start of the system.
class NameStore {
 public:
  virtual ~NameStore() = default;
  virtual NameWriteResult WriteComputerName(const std::string& name) = 0;
  // Why WriteComputerName would refuse the name, one entry per broken rule;
  // empty when it would take it. The writer checks the same list first.
  virtual std::vector<NameProblem> NameProblems(const std::string& name) = 0;
  // The full name the system will carry after its next start, as the store
  // keeps it; empty when it cannot be read.
  virtual std::string StaticName() = 0;
};

}  // namespace tolvaren::platform
