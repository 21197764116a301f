// Feeds arbitrary bytes to the Kerberos keytab reader, as the Linux backend
// reads /etc/krb5.keytab, and asks the principals it finds for the machine's
// names.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/domain_keytab.h"

using namespace tolvaren;

namespace {

constexpr std::size_t kLargestInput = 1 << 16;
// Names asked for: those of the first principals, so a run stays short.
constexpr std::size_t kNamesAsked = 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kLargestInput) return 0;
  const auto principals = platform::ReadKeytabPrincipals(ByteView(std::span<const std::uint8_t>(data, size)));
  if (!principals) return 0;
  // Every text read comes out of the input, with its length before it.
  std::size_t bytes = 0;
  for (const auto& principal : *principals) {
    bytes += principal.realm.size() + 2;
    for (const auto& component : principal.components) bytes += component.size() + 2;
  }
  if (bytes > size) __builtin_trap();
  for (std::size_t i = 0; i < principals->size() && i < kNamesAsked; ++i) {
    for (const auto& component : (*principals)[i].components) {
      // A name found is always the realm of one of the principals.
      const auto realm = platform::RealmOfHostPrincipal(*principals, component);
      if (!realm) continue;
      bool known = false;
      for (const auto& other : *principals) known = known || other.realm == *realm;
      if (!known) __builtin_trap();
    }
  }
  return 0;
}
