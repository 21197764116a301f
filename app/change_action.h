#pragma once

#include <string>

namespace tolvaren {

struct Host;

// Gives the computer the (sanitized) name, expanding it when it holds a "?".
// Returns the exit status: 1 whenever an "Error: " line was printed.
int RunChangeAction(Host& host, const std::string& nameTemplate);

}  // namespace tolvaren
