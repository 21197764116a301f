#include "platform/linux/linux_domain_membership.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_network.h"
#include "platform/linux/linux_registry.h"
#include "platform/linux/linux_services.h"

namespace tolvaren::platform {

Platform& NativePlatform() {
  static linux_backend::LinuxConsole console;
  static linux_backend::LinuxSystemInfo system;
  static linux_backend::LinuxClock clock;
  static linux_backend::LinuxNameStore names("/etc/hostname", "/etc/hosts", "/etc/cloud");
  static linux_backend::LinuxEnvironment environment;
  static linux_backend::LinuxFirmware firmware;
  static linux_backend::LinuxLocale locale;
  static linux_backend::LinuxFileSystem files;
  static linux_backend::LinuxProcessRunner processes;
  static linux_backend::LinuxRegistry registry;
  static linux_backend::NetworkSnapshot network;
  static linux_backend::LinuxWinsock winsock(network);
  static linux_backend::LinuxNetbios netbios(network);
  static linux_backend::LinuxIpHelper ipHelper(network);
  static linux_backend::LinuxDomainMembership domain(names);
  static Platform platform{console,   system,   clock,   names,   environment, firmware,          locale, files,
                           processes, registry, winsock, netbios, ipHelper,    NativeSocketApi(), domain};
  return platform;
}

}  // namespace tolvaren::platform
