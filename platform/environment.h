#pragma once

#include <optional>
#include <string>

namespace tolvaren::platform {

class Environment {
 public:
  virtual ~Environment() = default;
  // The variable's value, or nothing when it is not set.
  virtual std::optional<std::string> Get(const std::string& name) = 0;
};

}  // namespace tolvaren::platform
