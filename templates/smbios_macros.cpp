#include "templates/smbios_macros.h"

#include "core/host.h"
#include "core/info_gather.h"
#include "hwinfo/smbios.h"
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
  // The macros need the SMBIOS reader alone. It gathers under the mode a
  // machine gives it, so a failed read prints the same one line; the rest a
  // machine gathers (device tree, BIOS texts, names, times) would only cost
  // the run its time.
  TSMBIOS s(host);
  InfoGather(
      host.platform.console, "TSMBIOS.GetInfo", emMessage, [&](int mode) { s.GetInfo(mode); }, 1);
  const SmbiosSerials serials{s.SystemSerial(), s.ChassisSerial(), s.MainBoardSerial(), s.SystemUUID()};
  if (host.expansionRecord != nullptr) host.expansionRecord->serials = serials;
  return ReplaceSmbiosMacros(text, serials);
}

}  // namespace tolvaren
