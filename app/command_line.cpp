#include "app/command_line.h"

#include "app/change_action.h"
#include "app/display_action.h"
#include "app/help.h"
#include "app/json_report.h"
#include "app/summary.h"
#include "core/host.h"
#include "hwinfo/bios_acquisition.h"
#include "templates/name_sanitizer.h"

namespace tolvaren {
namespace {

enum class Action { kNone, kChange, kDisplay, kSummary, kReport };

// Option words match exactly, so "/C" or "/ch" name no action.
Action ActionOf(const std::string& word) {
  if (word == "/change" || word == "/c") return Action::kChange;
  if (word == "/display" || word == "/d") return Action::kDisplay;
  if (word == "/smbios" || word == "/s") return Action::kSummary;
  if (word == "/json" || word == "/j") return Action::kReport;
  return Action::kNone;
}

}  // namespace

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
  const Action action = ActionOf(first);
  // An option word that names no action prints nothing.
  if (action == Action::kNone) return kExitUsage;
  const std::string nameTemplate = NameSanitizer(arguments.size() > 1 ? arguments[1] : std::string());

  // A saved firmware image the user named but that cannot be used ends every
  // action before it prints or changes anything.
  // /j says so in JSON, as it says everything.
  if (const auto error = CheckBiosImageOverride(host)) {
    if (action == Action::kReport) return RunJsonErrorReport(host, *error);
    host.platform.console.WriteLine("Error: " + *error);
    return kExitFailure;
  }

  switch (action) {
    case Action::kChange:
      return RunChangeAction(host, nameTemplate);
    case Action::kDisplay:
      return RunDisplayAction(host, nameTemplate);
    case Action::kSummary:
      ShowSummary(host);
      return kExitSuccess;
    case Action::kReport:
      return RunJsonReport(host, nameTemplate);
    case Action::kNone:
      break;
  }
  return kExitUsage;
}

}  // namespace tolvaren
