#include "app/summary.h"

namespace tolvaren {

// The hardware summary needs the machine and network information, which are
// not part of the tool yet; until then it prints nothing.
void ShowSummary(Host& /*host*/) {}

}  // namespace tolvaren
