#pragma once

#include <string>
#include <vector>

namespace tolvaren {

struct Host;

// Exit statuses of a run.
inline constexpr int kExitSuccess = 0;
// A rename that did not happen, output that could not be written, or an
// exception that reached the top.
inline constexpr int kExitFailure = 1;
// The arguments were not understood: the help for a first argument without
// "/", or nothing at all for an option word that matches none.
inline constexpr int kExitUsage = 2;

// Runs one action for the arguments after the program name and returns the
// exit status. Exceptions that no inner layer handles leave it.
int RunCommandLine(Host& host, const std::vector<std::string>& arguments);

}  // namespace tolvaren
