#include "templates/replace_all.h"

namespace tolvaren {

EExpansionTooLong::EExpansionTooLong()
    : Exception("The name would be longer than " + std::to_string(kMaxExpandedText) +
                " bytes once its macros are expanded") {}

void CheckExpandedSize(std::size_t size) {
  if (size > kMaxExpandedText) throw EExpansionTooLong();
}

std::string ReplaceAll(std::string_view text, std::string_view macro, std::string_view value) {
  const std::size_t first = macro.empty() ? std::string_view::npos : text.find(macro);
  if (first == std::string_view::npos) {
    if (!macro.empty()) CheckExpandedSize(text.size());
    return std::string(text);  // the common case: most macros do not occur
  }
  std::size_t count = 0;
  for (std::size_t at = first; at != std::string_view::npos; at = text.find(macro, at + macro.size())) {
    ++count;
  }
  // Each occurrence takes macro.size() bytes of the text, so what is left
  // never goes below zero; the inserted bytes are compared by division, so no
  // product can wrap.
  std::size_t size = text.size() - count * macro.size();
  CheckExpandedSize(size);
  if (count > 0 && value.size() > (kMaxExpandedText - size) / count) throw EExpansionTooLong();
  size += count * value.size();

  std::string result;
  result.reserve(size);
  std::size_t from = 0;
  for (std::size_t at = first; at != std::string_view::npos; at = text.find(macro, from)) {
    result.append(text, from, at - from);
    result.append(value);
    from = at + macro.size();
  }
  result.append(text, from);
  return result;
}

}  // namespace tolvaren
