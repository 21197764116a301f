#include <exception>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "core/host.h"
#include "platform/exception.h"

int main(int argc, char** argv) {
  tolvaren::platform::Platform& platform = tolvaren::platform::NativePlatform();
  // At most two arguments are looked at; the rest are ignored.
  std::vector<std::string> arguments;
  for (int i = 1; i < argc && i <= 2; ++i) arguments.emplace_back(argv[i]);

  int status = tolvaren::kExitFailure;
  try {
    tolvaren::Host host = tolvaren::Host::StartUp(platform);
    status = tolvaren::RunCommandLine(host, arguments);
  } catch (const tolvaren::Exception& e) {
    platform.console.WriteLine(std::string(e.ClassName()) + ": " + e.Message());
  } catch (const std::exception& e) {
    platform.console.WriteLine(std::string("Exception: ") + e.what());
  }
  // A summary that never reached its reader is a failure, as for any tool
  // whose output is its result. A closed pipe ends the run with SIGPIPE
  // before this point, as usual.
  if (const auto error = platform.console.FinishOutput()) {
    platform.console.WriteErrorLine("tolvaren: write error: " + *error);
    status = tolvaren::kExitFailure;
  }
  return status;
}
