#pragma once

namespace tolvaren {

struct Host;

// Prints the SMBIOS identification, the first network addresses and the host
// names, one labelled line each.
void ShowSummary(Host& host);

}  // namespace tolvaren
