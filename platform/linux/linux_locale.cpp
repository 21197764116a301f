#include <langinfo.h>
#include <locale.h>

#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {

// Reads the separator from a locale object of its own made from the
// environment (LC_ALL, LC_NUMERIC, LANG), so the process-wide C locale that
// the rest of the program formats with is never changed.
std::string LinuxLocale::DecimalSeparator() {
  locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return ".";
  const char* radix = nl_langinfo_l(RADIXCHAR, user);
  std::string separator = (radix != nullptr && *radix != '\0') ? radix : ".";
  freelocale(user);
  return separator;
}

}  // namespace tolvaren::platform::linux_backend
