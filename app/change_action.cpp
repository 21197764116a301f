#include "app/change_action.h"

#include "app/command_line.h"
#include "templates/macro_expander.h"
#include "templates/replace_all.h"

namespace tolvaren {

bool NameWriter(Host& host, const std::string& name, std::uint32_t& errorCode) {
  const platform::NameWriteResult result = host.platform.names.WriteComputerName(name);
  errorCode = result.errorCode;
  return result.accepted;
}

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
    try {
      name = MacroExpander(host, name);
    } catch (const EExpansionTooLong& e) {
      console.WriteLine("Error: " + e.Message() + ".");
      return kExitFailure;
    }
  }
  if (name.empty()) {
    console.WriteLine("Error: Your name evaluated to a zero-length string");
    return kExitFailure;
  }

  std::uint32_t errorCode = 0;
  if (NameWriter(host, name, errorCode)) {
    console.WriteLine("Computer name successfully changed to \"" + name + "\".  Restart required.");
    return kExitSuccess;
  }
  console.WriteLine("Error: Err #" + std::to_string(errorCode) + " on writing computer name \"" + name + "\".");
  return kExitFailure;
}

}  // namespace tolvaren
