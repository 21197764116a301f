#pragma once

#include "platform/fake/fake_files.h"
#include "platform/fake/fake_network.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_services.h"
#include "platform/fake/fake_sockets.h"

namespace tolvaren::platform::fake {

// A whole scripted machine for tests: set the public members of its services,
// then hand platform() to the code under test.
//
//   FakeMachine machine;
//   machine.system.version = kWindowsXp;
//   machine.names.accept = false;
class FakeMachine {
 public:
  FakeMachine() = default;
  FakeMachine(const FakeMachine&) = delete;
  FakeMachine& operator=(const FakeMachine&) = delete;

  Platform& platform() { return platform_; }

  FakeConsole console;
  FakeSystemInfo system;
  FakeClock clock;
  FakeNameStore names;
  FakeEnvironment environment;
  FakeFirmware firmware;
  FakeLocale locale;
  FakeFileSystem files;
  FakeProcessRunner processes;
  FakeRegistry registry;
  FakeWinsock winsock;
  FakeNetbios netbios;
  FakeIpHelper ipHelper;
  FakeSocketApi sockets;
  FakeDomainMembership domain;

 private:
  Platform platform_{console,   system,   clock,   names,   environment, firmware, locale, files,
                     processes, registry, winsock, netbios, ipHelper,    sockets,  domain};
};

// Version records of the systems tests like to play.
constexpr VersionRecord kWindows95{4, 0, 950, 1};
constexpr VersionRecord kWindows98{4, 10, 1998, 1};
constexpr VersionRecord kWindowsMe{4, 90, 3000, 1};
constexpr VersionRecord kWindowsNT4{4, 0, 1381, 2};
constexpr VersionRecord kWindows2000{5, 0, 2195, 2};
constexpr VersionRecord kWindowsXp{5, 1, 2600, 2};
constexpr VersionRecord kWindows7{6, 1, 7601, 2};
constexpr VersionRecord kWindows10{10, 0, 19045, 2};

}  // namespace tolvaren::platform::fake
