#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_view.h"

namespace tolvaren::platform {

// The principal of one key in a Kerberos keytab: "host/pc.example.com@EXAMPLE.COM"
// is the realm "EXAMPLE.COM" with the components "host" and "pc.example.com".
struct KeytabPrincipal {
  std::string realm;
  std::vector<std::string> components;
  bool operator==(const KeytabPrincipal&) const = default;
};

// The principals of an MIT keytab file, in file order: format 0x0502 (numbers
// big-endian) or the older 0x0501 (numbers in the byte order of the machine
// that wrote it, taken as this one's; its component count includes the realm
// and its entries carry no name type). Each entry is a signed 32-bit length
// and that many bytes; a negative length is a hole of that many bytes left by
// a deleted key, a zero length ends the entries. Nothing when the bytes are
// not a whole keytab: another format, a truncated entry, or an entry whose
// principal or key does not fit inside its length.
std::optional<std::vector<KeytabPrincipal>> ReadKeytabPrincipals(ByteView bytes);

// The realm of the first principal that stands for the machine `name`: the
// host service "host/NAME" or "host/NAME.DOMAIN", or the machine account
// "NAME$" (whose NAME may also be cut to the 15 bytes of a NetBIOS name).
// Only the first label of `name` counts, and of the principal's host name;
// both are compared without case. Nothing when no principal does, or the
// name is empty.
std::optional<std::string> RealmOfHostPrincipal(const std::vector<KeytabPrincipal>& principals, std::string_view name);

}  // namespace tolvaren::platform
