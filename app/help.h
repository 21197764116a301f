#pragma once

#include "app/version.h"
#include "platform/console.h"

namespace tolvaren {

inline constexpr char kVersionString[] = TOLVAREN_VERSION;

void ShowBanner(platform::Console& console);

// Prints the usage text and pauses once, in the middle, for a key press.
void ShowHelp(platform::Console& console);

}  // namespace tolvaren
