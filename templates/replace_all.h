#pragma once

#include <string>
#include <string_view>

namespace tolvaren {

// Replaces every occurrence of `macro`, scanning left to right without
// overlap; inserted text is not scanned again by this call.
std::string ReplaceAll(std::string_view text, std::string_view macro, std::string_view value);

}  // namespace tolvaren
