#pragma once

#include <optional>
#include <string>

namespace tolvaren::platform {

// The directory a machine is joined to (an Active Directory or FreeIPA domain,
// a Kerberos realm), as the system shows it.
struct DomainJoin {
  // The directory's name, such as "EXAMPLE.COM"; empty when what showed the
  // membership does not name it.
  std::string name;
  // What showed it: the system call ("NetGetJoinInformation") or the file
  // ("/etc/krb5.keytab").
  std::string source;
  bool operator==(const DomainJoin&) const = default;
};

// Whether the machine belongs to a directory. Its account there carries the
// machine's name, which a rename of the machine alone does not change.
class DomainMembership {
 public:
  virtual ~DomainMembership() = default;
  // The directory the machine is joined to under its current name; nothing
  // when it is in none or the system cannot tell.
  virtual std::optional<DomainJoin> CurrentDomain() = 0;
};

}  // namespace tolvaren::platform
