#include "core/device_classes.h"

#include "platform/ascii_case.h"

namespace tolvaren {

std::uint8_t ClassifyDeviceClass(std::string_view className) {
  for (std::size_t p = 0; p < kDeviceClassNames.size(); ++p) {
    if (StartsWithIgnoringAsciiCase(className, kDeviceClassNames[p])) return static_cast<std::uint8_t>(p);
  }
  return kUnknownClass;
}

}  // namespace tolvaren
