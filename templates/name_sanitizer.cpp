#include "templates/name_sanitizer.h"

namespace tolvaren {
namespace {

bool IsRemoved(unsigned char c) {
  switch (c) {
    case ' ':
    case '\\':
    case '*':
    case '+':
    case '=':
    case '|':
    case ':':
    case ';':
    case '"':
    case '<':
    case '>':
    case ',':
    case 0xA3:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string NameSanitizer(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    if (IsRemoved(static_cast<unsigned char>(c))) continue;
    result.push_back(c == '_' ? '-' : c);
  }
  return result;
}

}  // namespace tolvaren
