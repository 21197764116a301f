#pragma once

#include <string_view>

namespace tolvaren {

// True for the texts makers leave in serial-number and UUID fields they did
// not fill ("To be filled by O.E.M.", "Default string", "0123456789", a run of
// zeros, ...), compared without case. Every machine of a model carries the
// same such text, so a name made from it is not unique. The empty text is not
// a placeholder: it is reported as empty.
bool IsPlaceholderValue(std::string_view value);

}  // namespace tolvaren
