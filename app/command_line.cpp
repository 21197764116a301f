#include "app/command_line.h"

#include "app/change_action.h"
#include "app/display_action.h"
#include "app/help.h"
#include "app/json_report.h"
#include "app/summary.h"
#include "hwinfo/bios_acquisition.h"
#include "templates/name_sanitizer.h"

namespace tolvaren {
namespace {

bool IsActionWord(const std::string& word) {
  return word == "/change" || word == "/c" || word == "/display" || word == "/d" || word == "/smbios" || word == "/s";
}

}  // namespace

int RunCommandLine(Host& host, const std::vector<std::string>& arguments) {
  const std::string first = arguments.empty() ? std::string() : arguments[0];
  if (first.empty() || first == "/?") {
    ShowHelp(host.platform.console);
    return kExitSuccess;
  }

  std::string optionWord;
  std::string nameTemplate;
  if (first[0] == '/') {
    optionWord = first;
    if (arguments.size() > 1) nameTemplate = arguments[1];
  } else {
    // Not an option: the help, and none of the actions below matches.
    ShowHelp(host.platform.console);
  }

  nameTemplate = NameSanitizer(nameTemplate);

  // A saved firmware image the user named but that cannot be used ends every
  // action before it prints or changes anything.
  if (IsActionWord(optionWord)) {
    if (const auto error = CheckBiosImageOverride(host)) {
      host.platform.console.WriteLine("Error: " + *error);
      return kExitFailure;
    }
  }

  // The three tests are independent; option words match exactly, so "/C" or
  // "/ch" run nothing.
  int status = kExitSuccess;
  if (optionWord == "/change" || optionWord == "/c") status = RunChangeAction(host, nameTemplate);
  if (optionWord == "/display" || optionWord == "/d") status = RunDisplayAction(host, nameTemplate);
  if (optionWord == "/smbios" || optionWord == "/s") ShowSummary(host);
  if (optionWord == "/json" || optionWord == "/j") status = RunJsonReport(host, nameTemplate);
  return status;
}

}  // namespace tolvaren
