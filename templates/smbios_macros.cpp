#include "templates/smbios_macros.h"

#include "hwinfo/info_gather.h"
#include "hwinfo/machine.h"
#include "templates/expansion_record.h"
#include "templates/replace_all.h"

namespace tolvaren {
namespace {

// UUIDs that firmware writes when it has none to give.
bool IsPlaceholderUuid(const std::string& uuid) {
  return uuid.empty() || uuid == std::string(32, 'F') || uuid == std::string(32, '0');
}

}  // namespace

std::string ReplaceSmbiosMacros(const std::string& text, const SmbiosSerials& serials) {
  std::string w = ReplaceAll(text, "?c", serials.chassis);
  w = ReplaceAll(w, "?b", serials.mainBoard);
  w = ReplaceAll(w, "?s", serials.system);
  w = ReplaceAll(w, "?G", IsPlaceholderUuid(serials.uuid) ? "?U" : "?u");
  w = ReplaceAll(w, "?u", serials.uuid);

  const std::string* any = &serials.system;
  if (any->empty()) any = &serials.chassis;
  if (any->empty()) any = &serials.mainBoard;
  return ReplaceAll(w, "?a", *any);
}

std::string ExpandSmbiosMacros(Host& host, const std::string& text) {
  TMachine machine(host);
  InfoGather(
      host.platform.console, "TMachine.GetInfo", emSilent, [&](int n) { machine.GetInfo(n); }, 1);
  const TSMBIOS& s = machine.SMBIOS();
  const SmbiosSerials serials{s.SystemSerial(), s.ChassisSerial(), s.MainBoardSerial(), s.SystemUUID()};
  if (host.expansionRecord != nullptr) host.expansionRecord->serials = serials;
  return ReplaceSmbiosMacros(text, serials);
}

}  // namespace tolvaren
