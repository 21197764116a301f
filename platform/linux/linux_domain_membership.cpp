#include "platform/linux/linux_domain_membership.h"

#include "platform/byte_view.h"
#include "platform/domain_keytab.h"
#include "platform/linux/domain_config.h"
#include "platform/linux/host_label.h"
#include "platform/linux/linux_files.h"

namespace tolvaren::platform::linux_backend {
namespace {

// Keytabs of a host hold a few keys per service; configuration files are text.
constexpr std::size_t kKeytabLimit = 1024 * 1024;
constexpr std::size_t kConfigLimit = 1024 * 1024;

}  // namespace

std::optional<DomainJoin> LinuxDomainMembership::CurrentDomain() {
  if (auto join = FromKeytab()) return join;
  if (auto join = FromSssd()) return join;
  return FromSamba();
}

std::optional<DomainJoin> LinuxDomainMembership::FromKeytab() {
  std::string bytes;
  if (ReadSmallRegularFile(files_.keytab, kKeytabLimit, bytes) != 0) return std::nullopt;
  const std::optional<std::vector<KeytabPrincipal>> principals = ReadKeytabPrincipals(ByteView(bytes));
  if (!principals) return std::nullopt;
  for (const std::string& name : {names_.StaticName(), RunningHostName()}) {
    if (auto realm = RealmOfHostPrincipal(*principals, name)) return DomainJoin{std::move(*realm), files_.keytab};
  }
  return std::nullopt;
}

std::optional<DomainJoin> LinuxDomainMembership::FromSssd() {
  std::vector<std::string> paths = {files_.sssdConfig};
  for (const std::string& name : ConfigFileNamesIn(files_.sssdSnippets, ".conf")) {
    paths.push_back(files_.sssdSnippets + "/" + name);
  }
  std::vector<std::string> texts;
  std::vector<std::string> read;  // the paths of the texts
  for (const std::string& path : paths) {
    std::string text;
    if (ReadSmallRegularFile(path, kConfigLimit, text) != 0) continue;
    texts.push_back(std::move(text));
    read.push_back(path);
  }
  const std::optional<SssdDomain> domain = SssdDirectoryDomain(texts);
  if (!domain) return std::nullopt;
  return DomainJoin{domain->name, read[domain->source]};
}

std::optional<DomainJoin> LinuxDomainMembership::FromSamba() {
  std::string text;
  if (ReadSmallRegularFile(files_.sambaConfig, kConfigLimit, text) != 0) return std::nullopt;
  std::optional<std::string> realm = SambaAdsRealm(text);
  if (!realm) return std::nullopt;
  return DomainJoin{std::move(*realm), files_.sambaConfig};
}

}  // namespace tolvaren::platform::linux_backend
