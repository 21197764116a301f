#include "app/display_action.h"

#include "templates/macro_expander.h"

namespace tolvaren {

void RunDisplayAction(Host& host, const std::string& nameTemplate) {
  if (nameTemplate.empty()) {
    host.platform.console.WriteLine(host.platform.system.NetBiosName());
    return;
  }
  // The expander runs even without a "?": the sanitized text comes back.
  host.platform.console.WriteLine(MacroExpander(host, nameTemplate));
}

}  // namespace tolvaren
