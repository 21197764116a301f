#include "templates/smbios_macros.h"

#include "hwinfo/info_gather.h"
#include "hwinfo/machine.h"
#include "templates/replace_all.h"

namespace tolvaren {
namespace {

// UUIDs that firmware writes when it has none to give.
bool IsPlaceholderUuid(const std::string& uuid) {
  return uuid.empty() || uuid == std::string(32, 'F') || uuid == std::string(32, '0');
}

}  // namespace

std::string ExpandSmbiosMacros(Host& host, const std::string& text) {
  TMachine machine(host);
  InfoGather(
      host.platform.console, "TMachine.GetInfo", emSilent, [&](int n) { machine.GetInfo(n); }, 1);
  const TSMBIOS& s = machine.SMBIOS();

  std::string w = ReplaceAll(text, "?c", s.ChassisSerial());
  w = ReplaceAll(w, "?b", s.MainBoardSerial());
  w = ReplaceAll(w, "?s", s.SystemSerial());
  // "?U" is the network group's UUID made from the MAC address.
  w = ReplaceAll(w, "?G", IsPlaceholderUuid(s.SystemUUID()) ? "?U" : "?u");
  w = ReplaceAll(w, "?u", s.SystemUUID());

  const std::string* any = &s.SystemSerial();
  if (any->empty()) any = &s.ChassisSerial();
  if (any->empty()) any = &s.MainBoardSerial();
  return ReplaceAll(w, "?a", *any);
}

}  // namespace tolvaren
