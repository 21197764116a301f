#pragma once

#include <string>

namespace tolvaren {

struct Host;

// Prints the current NetBIOS name, or what the template expands to. Returns
// the exit status: 1 when an "Error: " line was printed instead.
int RunDisplayAction(Host& host, const std::string& nameTemplate);

}  // namespace tolvaren
