#include "templates/smbios_macros.h"

#include "core/host.h"
#include "core/info_gather.h"
#include "hwinfo/smbios.h"
#include "templates/replace_all.h"

namespace tolvaren {

std::string ReplaceSmbiosMacros(const std::string& text, const SmbiosSerials& serials) {
  std::string w = ReplaceAll(text, "?c", serials.chassis);
  w = ReplaceAll(w, "?b", serials.mainBoard);
  w = ReplaceAll(w, "?s", serials.system);
  w = ReplaceAll(w, "?G", std::string{'?', StandsFor(serials, 'G')});
  w = ReplaceAll(w, "?u", serials.uuid);
  return ReplaceAll(w, "?a", SerialOf(serials, FindMachineMacro(StandsFor(serials, 'a'))->field));
}

std::string ExpandSmbiosMacros(Host& host, const std::string& text, MacroValues& used) {
  // The macros need the SMBIOS reader alone. It gathers under the mode a
  // machine gives it, so a failed read prints the same one line; the rest a
  // machine gathers (device tree, BIOS texts, names, times) would only cost
  // the run its time.
  TSMBIOS s(host);
  InfoGather(
      host.platform.console, "TSMBIOS.GetInfo", emMessage, [&](int mode) { s.GetInfo(mode); }, 1);
  used.serials = SmbiosSerials{s.SystemSerial(), s.ChassisSerial(), s.MainBoardSerial(), s.SystemUUID()};
  return ReplaceSmbiosMacros(text, *used.serials);
}

}  // namespace tolvaren
