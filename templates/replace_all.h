#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/exception.h"

namespace tolvaren {

// The longest working text an expansion may build. Firmware and network
// values may themselves hold macros, which later steps expand again; this
// bound keeps a hostile value from making the text grow without end.
inline constexpr std::size_t kMaxExpandedText = 0x10000;

// The working text of an expansion would pass kMaxExpandedText.
class EExpansionTooLong : public Exception {
 public:
  EExpansionTooLong();
  const char* ClassName() const noexcept override { return "EExpansionTooLong"; }
};

// Raises EExpansionTooLong when a working text of `size` bytes is over the
// bound.
void CheckExpandedSize(std::size_t size);

// Replaces every occurrence of `macro`, scanning left to right without
// overlap; inserted text is not scanned again by this call. The size of the
// result is known before any of it is built: raises EExpansionTooLong, with
// nothing allocated, when it would pass the bound.
std::string ReplaceAll(std::string_view text, std::string_view macro, std::string_view value);

}  // namespace tolvaren
