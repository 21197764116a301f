#include <windows.h>

#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {
namespace {

constexpr DWORD kVersionRecordSize = 148;
static_assert(sizeof(OSVERSIONINFOA) == kVersionRecordSize);

// The NetBIOS name has at most 15 bytes; the buffer leaves room to spare.
constexpr DWORD kNetBiosBufferSize = 22;
constexpr DWORD kNetBiosCapacity = 20;
constexpr DWORD kLongNameSize = 255;

}  // namespace

VersionRecord Win32SystemInfo::QueryVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = kVersionRecordSize;
  if (!GetVersionExA(&info)) return {};
  return VersionRecord{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
}

std::string Win32SystemInfo::NetBiosName() {
  char buffer[kNetBiosBufferSize] = {};
  DWORD capacity = kNetBiosCapacity;
  if (!GetComputerNameA(buffer, &capacity)) return {};
  return buffer;
}

std::string Win32SystemInfo::ComputerName() {
  char buffer[kLongNameSize + 1] = {};
  DWORD capacity = kLongNameSize;
  if (!GetComputerNameA(buffer, &capacity)) return {};
  return buffer;
}

std::string Win32SystemInfo::UserName() {
  char buffer[kLongNameSize + 1] = {};
  DWORD capacity = kLongNameSize;
  if (!GetUserNameA(buffer, &capacity)) return {};
  return buffer;
}

std::uint32_t Win32SystemInfo::TickCount() { return GetTickCount(); }

KeyboardState Win32SystemInfo::KeyboardStates() {
  KeyboardState state{};
  BYTE table[256] = {};
  if (GetKeyboardState(table)) {
    for (std::size_t i = 0; i < state.size(); ++i) state[i] = table[i];
  }
  return state;
}

}  // namespace tolvaren::platform::win32_backend
