#include "app/display_action.h"

#include "app/command_line.h"
#include "core/host.h"
#include "hwinfo/bios_image_reader.h"
#include "templates/macro_expander.h"
#include "templates/replace_all.h"

namespace tolvaren {

int RunDisplayAction(Host& host, const std::string& nameTemplate) {
  platform::Console& console = host.platform.console;
  if (nameTemplate.empty()) {
    // Shown as firmware strings are: no line break or terminal escape.
    console.WriteLine(DotControlBytes(host.platform.system.NetBiosName()));
    return kExitSuccess;
  }
  // The expander runs even without a "?": the sanitized text comes back.
  try {
    console.WriteLine(MacroExpander(host, nameTemplate));
  } catch (const EExpansionTooLong& e) {
    console.WriteLine("Error: " + e.Message() + ".");
    return kExitFailure;
  }
  return kExitSuccess;
}

}  // namespace tolvaren
