#pragma once

#include <string>

#include "hwinfo/host.h"

namespace tolvaren {

// Prints the current NetBIOS name, or what the template expands to.
void RunDisplayAction(Host& host, const std::string& nameTemplate);

}  // namespace tolvaren
