#pragma once

#include "platform/clock.h"

namespace tolvaren {

// A calendar moment as days since 30 December 1899 with the time of day as
// the fraction. Raises EConvertError for a date or time that does not exist.
double DateTimeToDays(const platform::DateTime& moment);

}  // namespace tolvaren
