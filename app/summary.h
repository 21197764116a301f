#pragma once

#include "core/host.h"

namespace tolvaren {

// Prints the SMBIOS identification, the first network addresses and the host
// names, one labelled line each.
void ShowSummary(Host& host);

}  // namespace tolvaren
