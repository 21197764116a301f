#include "platform/linux/host_label.h"

namespace tolvaren::platform::linux_backend {

bool IsValidHostLabel(std::string_view name) {
  if (name.empty() || name.size() > 63) return false;
  if (name.front() == '-' || name.back() == '-') return false;
  for (const char c : name) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit && c != '-') return false;
  }
  return true;
}

}  // namespace tolvaren::platform::linux_backend
