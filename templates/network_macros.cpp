#include "templates/network_macros.h"

namespace tolvaren {

// The network information is not wired in yet; its macros stay as they are.
std::string ExpandNetworkMacros(Host& /*host*/, const std::string& text) { return text; }

}  // namespace tolvaren
