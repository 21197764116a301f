#include "app/domain_warning.h"

namespace tolvaren {

std::optional<ValueWarning> DomainMemberWarning(const std::optional<platform::DomainJoin>& join) {
  if (!join) return std::nullopt;
  const std::string domain = join->name.empty() ? "a domain" : "the domain " + join->name;
  return ValueWarning{"domain_member", "", "domain", join->name,
                      "this machine is a member of " + domain + " (shown by " + join->source +
                          "): its computer account in the domain keeps the old name, so the machine may fail to "
                          "log on to the domain after the restart unless the account is renamed too"};
}

}  // namespace tolvaren
