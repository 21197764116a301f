#include <windows.h>

#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {

std::string Win32Locale::DecimalSeparator() {
  // The setting allows up to three characters plus the terminating zero.
  char buffer[8] = {};
  const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
  if (length <= 1) return ".";
  return std::string(buffer);
}

}  // namespace tolvaren::platform::win32_backend
