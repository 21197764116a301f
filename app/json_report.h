#pragma once

#include <string>

namespace tolvaren {

struct Host;

// Prints one JSON object, on one line, with what /s shows, the current and the
// static name and, for a (sanitized) template that is not empty, its
// expansion, the NetBIOS name Windows would derive from it, the reasons the
// platform would refuse it and the warnings about the values it took. Lines
// the information objects print while they gather go into its "messages"
// instead of the output. Returns the exit status: 1 when the expansion raised
// (the object then holds "error"), else 0.
int RunJsonReport(Host& host, const std::string& nameTemplate);

// Prints the one JSON object of a run whose machine cannot be read at all (a
// saved firmware image that cannot be used): what needs no firmware, and
// "error". Returns 1.
int RunJsonErrorReport(Host& host, const std::string& error);

}  // namespace tolvaren
