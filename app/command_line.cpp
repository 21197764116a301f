#include "app/command_line.h"

#include "app/change_action.h"
#include "app/display_action.h"
#include "app/help.h"
#include "app/summary.h"
#include "templates/name_sanitizer.h"

namespace tolvaren {

int RunCommandLine(Host& host, const std::vector<std::string>& arguments) {
  const std::string first = arguments.empty() ? std::string() : arguments[0];
  if (first.empty() || first == "/?") {
    ShowHelp(host.platform.console);
    return kExitSuccess;
  }

  if (first[0] != '/') {
    // Not an option: the help, and no action.
    ShowHelp(host.platform.console);
    return kExitUsage;
  }
  const std::string& optionWord = first;
  const std::string nameTemplate = NameSanitizer(arguments.size() > 1 ? arguments[1] : std::string());

  // Option words match exactly, so "/C" or "/ch" run nothing and print nothing.
  if (optionWord == "/change" || optionWord == "/c") return RunChangeAction(host, nameTemplate);
  if (optionWord == "/display" || optionWord == "/d") {
    RunDisplayAction(host, nameTemplate);
    return kExitSuccess;
  }
  if (optionWord == "/smbios" || optionWord == "/s") {
    ShowSummary(host);
    return kExitSuccess;
  }
  return kExitUsage;
}

}  // namespace tolvaren
