#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvaren::platform::linux_backend {

// How the configuration of SSSD and Samba shows that the machine is joined to
// a directory. Pure functions over the files' texts, so they are tested on
// tables.

// A directory domain of SSSD's configuration.
struct SssdDomain {
  std::string name;        // "EXAMPLE.COM" of a section "[domain/EXAMPLE.COM]"
  std::size_t source = 0;  // the index of the text that set its provider
};

// The first "[domain/NAME]" section whose id_provider, auth_provider or
// access_provider is "ad" (Active Directory) or "ipa" (FreeIPA), reading the
// texts as SSSD merges them: sssd.conf first, then the conf.d snippets by
// name, a later value of an option replacing an earlier one. Section and
// option names and the provider compare without case; lines that begin with
// "#" or ";" are comments.
std::optional<SssdDomain> SssdDirectoryDomain(const std::vector<std::string>& configTexts);

// The realm of a Samba configuration whose global section (or the lines before
// any section) sets "security = ads", the Active Directory member mode: the
// "realm" value of that section, empty when it sets none. Nothing for any
// other security mode. Parameter names compare without case and blanks, as
// Samba reads them.
std::optional<std::string> SambaAdsRealm(std::string_view text);

}  // namespace tolvaren::platform::linux_backend
