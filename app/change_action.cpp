#include "app/change_action.h"

#include "app/command_line.h"
#include "app/value_warnings.h"
#include "core/host.h"
#include "templates/macro_expander.h"
#include "templates/replace_all.h"

namespace tolvaren {

int RunChangeAction(Host& host, const std::string& nameTemplate) {
  platform::Console& console = host.platform.console;
  // An empty name is never handed to the platform: some systems accept it and
  // leave the machine without a name.
  if (nameTemplate.empty()) {
    console.WriteLine("Error: No name specified");
    return kExitFailure;
  }

  std::string name = nameTemplate;
  if (name.find('?') != std::string::npos) {
    MacroValues used;
    try {
      name = MacroExpander(host, name, ReverseLookupRule::kForAnyNetworkMacro, used);
    } catch (const EExpansionTooLong& e) {
      console.WriteLine("Error: " + e.Message() + ".");
      return kExitFailure;
    }
    // An empty value or a maker's placeholder gives every machine alike this
    // name: said before the outcome, as the report lists it.
    for (const ValueWarning& warning : TemplateValueWarnings(nameTemplate, used)) {
      console.WriteLine("Warning: " + warning.message);
    }
  }
  if (name.empty()) {
    console.WriteLine("Error: Your name evaluated to a zero-length string");
    return kExitFailure;
  }

  const platform::NameWriteResult result = host.platform.names.WriteComputerName(name);
  if (result.accepted) {
    console.WriteLine("Computer name successfully changed to \"" + name + "\".  Restart required.");
    // What the system could not bring along, or may undo, after the outcome.
    for (const std::string& warning : result.warnings) console.WriteLine("Warning: " + warning);
    return kExitSuccess;
  }
  console.WriteLine("Error: Err #" + std::to_string(result.errorCode) + " on writing computer name \"" + name + "\".");
  for (const std::string& reason : result.reasons) console.WriteLine(reason);
  return kExitFailure;
}

}  // namespace tolvaren
