#include "app/change_action.h"

#include "app/command_line.h"
#include "app/value_warnings.h"
#include "core/host.h"
#include "templates/expansion_record.h"
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
    ExpansionRecord record;
    host.expansionRecord = &record;
    try {
      name = MacroExpander(host, name);
    } catch (const EExpansionTooLong& e) {
      host.expansionRecord = nullptr;
      console.WriteLine("Error: " + e.Message() + ".");
      return kExitFailure;
    } catch (...) {
      host.expansionRecord = nullptr;
      throw;
    }
    host.expansionRecord = nullptr;
    // A maker's placeholder serial gives every machine of the model this name.
    for (const ValueWarning& warning : TemplateValueWarnings(nameTemplate, record)) {
      if (warning.kind == "placeholder") console.WriteLine("Warning: " + warning.message);
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
