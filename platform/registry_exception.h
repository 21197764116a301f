#pragma once

#include <string>

#include "platform/exception.h"

namespace tolvaren {

// A registry value that exists but cannot be read as the caller asked.
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "ERegistryException"; }

  static ERegistryException InvalidDataType(const std::string& valueName) {
    return ERegistryException("Invalid data type for '" + valueName + "'");
  }
  static ERegistryException FailedToGetData(const std::string& valueName) {
    return ERegistryException("Failed to get data for '" + valueName + "'");
  }
};

}  // namespace tolvaren
