#pragma once

#include <optional>
#include <string>

#include "templates/smbios_macros.h"

namespace tolvaren {

// What the macro groups of one expansion used, for callers that report on a
// name as well as make it (the change action's warnings, the JSON report).
// The caller hangs it on the Host before it calls MacroExpander; a group that
// did not run leaves its part unset.
struct ExpansionRecord {
  // Set by the caller: ask DNS only when the text holds "?d". A lookup whose
  // result no macro takes changes no name, only the time a run takes.
  bool lookupOnlyForReverseName = false;

  std::optional<SmbiosSerials> serials;  // when the SMBIOS group ran
  bool networkRan = false;
  std::string firstIp;                 // "" when there is none
  std::string firstMac;                // as the network object lists it
  std::optional<std::string> dnsName;  // when the reverse lookup ran
};

}  // namespace tolvaren
