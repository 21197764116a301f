#include "dns/net_messages.h"

#include <cstdio>

namespace tolvaren::dns {

std::string WithNumber(const char* format, long long number) {
  const std::string pattern(format);
  const std::size_t at = pattern.find("%d");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + std::to_string(number) + pattern.substr(at + 2);
}

}  // namespace tolvaren::dns
