#pragma once

#include <optional>

#include "app/value_warnings.h"
#include "platform/domain_membership.h"

namespace tolvaren {

// The warning of kind "domain_member" for renaming a machine that is joined to
// a directory: its account there keeps the old name. Nothing for a machine in
// no directory.
std::optional<ValueWarning> DomainMemberWarning(const std::optional<platform::DomainJoin>& join);

}  // namespace tolvaren
