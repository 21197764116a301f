#include "templates/replace_all.h"

namespace tolvaren {

std::string ReplaceAll(std::string_view text, std::string_view macro, std::string_view value) {
  if (macro.empty()) return std::string(text);
  std::string result;
  result.reserve(text.size());
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = text.find(macro, from);
    if (at == std::string_view::npos) break;
    result.append(text, from, at - from);
    result.append(value);
    from = at + macro.size();
  }
  result.append(text, from);
  return result;
}

}  // namespace tolvaren
