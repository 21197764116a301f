#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolvaren {

struct Host;

// Gives the computer the (sanitized) name, expanding it when it holds a "?".
// Returns the exit status: 1 whenever an "Error: " line was printed.
int RunChangeAction(Host& host, const std::string& nameTemplate);

// Hands the name to the platform; false when the platform refused it, with its
// error code in errorCode. After an accepted write, warnings holds what the
// platform has to say about it.
bool NameWriter(Host& host, const std::string& name, std::uint32_t& errorCode, std::vector<std::string>& warnings);

}  // namespace tolvaren
