#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/exception_mode.h"
#include "platform/console.h"

namespace tolvaren {

// Runs one information object's gathering step under the error policy. A
// failure of the tool's own exception family becomes the text
// "<label>: <message>", which is raised again, printed or swallowed as the
// mode says; anything else passes through unchanged. The label is the class
// name followed by ".GetInfo".
void InfoGather(platform::Console& console, std::string_view label, TExceptionMode mode,
                const std::function<void()>& operation);

// The same for a step that takes one integer, passed on as given.
void InfoGather(platform::Console& console, std::string_view label, TExceptionMode mode,
                const std::function<void(int)>& operation, int argument);

}  // namespace tolvaren
