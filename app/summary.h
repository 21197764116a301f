#pragma once

#include "hwinfo/host.h"

namespace tolvaren {

// Prints the SMBIOS identification, the first network addresses and the host
// names, one labelled line each.
void ShowSummary(Host& host);

}  // namespace tolvaren
