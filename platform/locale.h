#pragma once

#include <string>

namespace tolvaren::platform {

// The user's number formatting conventions.
class Locale {
 public:
  virtual ~Locale() = default;
  // The text between the integer and the fraction digits of a decimal
  // number, "." when the system gives none.
  virtual std::string DecimalSeparator() = 0;
};

}  // namespace tolvaren::platform
