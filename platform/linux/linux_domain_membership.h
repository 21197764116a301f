#pragma once

#include <string>

#include "platform/domain_membership.h"
#include "platform/name_store.h"

namespace tolvaren::platform::linux_backend {

// Where a Linux machine keeps what shows its membership of a directory. The
// paths are parameters so that tests can point them elsewhere.
struct DomainFiles {
  std::string keytab = "/etc/krb5.keytab";
  std::string sssdConfig = "/etc/sssd/sssd.conf";
  std::string sssdSnippets = "/etc/sssd/conf.d";
  std::string sambaConfig = "/etc/samba/smb.conf";
};

// A machine is a member when its host keytab holds a key for its name (the
// static name of `names` or the running one), when SSSD serves an Active
// Directory or FreeIPA domain, or when Samba is an Active Directory member;
// asked in this order, the first that shows it names it. Every file is read
// only when it is a regular file, up to a bound; any other counts as absent.
class LinuxDomainMembership final : public DomainMembership {
 public:
  explicit LinuxDomainMembership(NameStore& names, DomainFiles files = {}) : names_(names), files_(std::move(files)) {}
  std::optional<DomainJoin> CurrentDomain() override;

 private:
  std::optional<DomainJoin> FromKeytab();
  std::optional<DomainJoin> FromSssd();
  std::optional<DomainJoin> FromSamba();

  NameStore& names_;
  DomainFiles files_;
};

}  // namespace tolvaren::platform::linux_backend
