#include "app/summary.h"

#include <memory>
#include <string>

#include "core/host.h"
#include "core/info_gather.h"
#include "hwinfo/bios_image_reader.h"
#include "hwinfo/machine.h"
#include "netinfo/network.h"

namespace tolvaren {

void ShowSummary(Host& host) {
  platform::Console& console = host.platform.console;
  // Both constructors enumerate devices and may print failure lines, the
  // machine's first; the machine is also released first.
  auto machineObject = std::make_unique<TMachine>(host);
  auto networkObject = std::make_unique<TNetwork>(host);
  TMachine& machine = *machineObject;
  const TNetwork& network = *networkObject;
  InfoGather(
      console, "TMachine.GetInfo", emSilent, [&](int n) { machine.GetInfo(n); }, 1);
  InfoGather(console, "TNetwork.GetInfo", emSilent, [&] { networkObject->GetInfo(); });
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
  if (network.MACAddresses().Count() > 0) row("Ethernet address       : ", network.MACAddresses()[0]);
  if (network.IPAddresses().Count() > 0) row("IP address             : ", network.IPAddresses()[0]);
  // Host names are shown as firmware strings are, so neither can break a
  // line or send a terminal escape.
  row("NetBIOS name           : ", DotControlBytes(host.platform.system.NetBiosName()));
  row("DNS Host name          : ", DotControlBytes(network.TCPIP().HostName()));
  row("System UUID            : ", s.SystemUUID());
  machineObject.reset();
  networkObject.reset();
}

}  // namespace tolvaren
