#include "platform/win32/win32_domain_membership.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_network.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"

namespace tolvaren::platform {

Platform& NativePlatform() {
  static win32_backend::Win32Console console;
  static win32_backend::Win32SystemInfo system;
  static win32_backend::Win32Clock clock;
  static win32_backend::Win32NameStore names;
  static win32_backend::Win32Environment environment;
  static win32_backend::Win32Firmware firmware;
  static win32_backend::Win32Locale locale;
  static win32_backend::Win32FileSystem files;
  static win32_backend::Win32ProcessRunner processes;
  static win32_backend::Win32Registry registry;
  static win32_backend::Win32Winsock winsock;
  static win32_backend::Win32Netbios netbios;
  static win32_backend::Win32IpHelper ipHelper;
  static win32_backend::Win32DomainMembership domain;
  static Platform platform{console,   system,   clock,   names,   environment, firmware,          locale, files,
                           processes, registry, winsock, netbios, ipHelper,    NativeSocketApi(), domain};
  return platform;
}

}  // namespace tolvaren::platform
