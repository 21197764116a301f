#pragma once

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/domain_membership.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/firmware.h"
#include "platform/ip_helper.h"
#include "platform/locale.h"
#include "platform/name_store.h"
#include "platform/netbios.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/sockets.h"
#include "platform/system_info.h"
#include "platform/winsock.h"

namespace tolvaren::platform {

// The operating-system services the tool's logic reaches, one interface each.
// The real backends (win32/, linux/) and the scripted fake (fake/) fill it.
struct Platform {
  Console& console;
  SystemInfo& system;
  Clock& clock;
  NameStore& names;
  Environment& environment;
  Firmware& firmware;
  Locale& locale;
  FileSystem& files;
  ProcessRunner& processes;
  Registry& registry;
  Winsock& winsock;
  Netbios& netbios;
  IpHelper& ipHelper;
  SocketApi& sockets;
  DomainMembership& domain;
};

// The backend of the system this binary was built for.
Platform& NativePlatform();

}  // namespace tolvaren::platform
