#include "core/device_classes.h"

#include <cctype>

namespace tolvaren {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) != std::toupper(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::uint8_t ClassifyDeviceClass(std::string_view className) {
  for (std::size_t p = 0; p < kDeviceClassNames.size(); ++p) {
    if (StartsWithIgnoringCase(className, kDeviceClassNames[p])) return static_cast<std::uint8_t>(p);
  }
  return kUnknownClass;
}

}  // namespace tolvaren
