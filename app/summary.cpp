#include "app/summary.h"

#include <string>

#include "hwinfo/info_gather.h"
#include "hwinfo/machine.h"

namespace tolvaren {

void ShowSummary(Host& host) {
  platform::Console& console = host.platform.console;
  TMachine machine(host);
  InfoGather(
      console, "TMachine.GetInfo", emSilent, [&](int n) { machine.GetInfo(n); }, 1);
  const TSMBIOS& s = machine.SMBIOS();

  const auto row = [&](const char* label, const std::string& value) { console.WriteLine(label + value); };
  row("Mainboard manufacturer : ", s.MainBoardManufacturer());
  row("          model        : ", s.MainBoardModel());
  row("          serial       : ", s.MainBoardSerial());
  row("Chassis   manufacturer : ", s.ChassisManufacturer());
  row("          model        : ", s.ChassisModel());
  row("          serial       : ", s.ChassisSerial());
  row("System    manufacturer : ", s.SystemManufacturer());
  row("          model        : ", s.SystemModel());
  row("          serial       : ", s.SystemSerial());
  // The Ethernet and IP address rows and the DNS host name come from the
  // network information, which the tool does not gather yet: the two address
  // rows are left out as for empty lists, the host name is empty.
  row("NetBIOS name           : ", host.platform.system.NetBiosName());
  row("DNS Host name          : ", "");
  row("System UUID            : ", s.SystemUUID());
}

}  // namespace tolvaren
