#include "platform/win32/win32_domain_membership.h"

#include <windows.h>

#include <lm.h>

#include <cwchar>

#include "platform/domain_join_information.h"
#include "platform/win32/module_entry.h"

namespace tolvaren::platform::win32_backend {
namespace {

static_assert(net_setup::kUnknownStatus == NetSetupUnknownStatus);
static_assert(net_setup::kUnjoined == NetSetupUnjoined);
static_assert(net_setup::kWorkgroupName == NetSetupWorkgroupName);
static_assert(net_setup::kDomainName == NetSetupDomainName);

using GetJoinInformationFn = NET_API_STATUS(WINAPI*)(LPCWSTR server, LPWSTR* name, PNETSETUP_JOIN_STATUS status);
using BufferFreeFn = NET_API_STATUS(WINAPI*)(LPVOID buffer);

// Longer than any domain name; a buffer without a terminator in reach is cut here.
constexpr std::size_t kLongestName = 1024;

// The name in the system's ANSI code page, the byte strings the tool works in.
std::string AnsiText(const wchar_t* text) {
  if (text == nullptr) return {};
  const int length = static_cast<int>(wcsnlen(text, kLongestName));
  if (length == 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

}  // namespace

std::optional<DomainJoin> Win32DomainMembership::CurrentDomain() {
  HMODULE module = LoadLibraryA("netapi32.dll");
  if (module == nullptr) return std::nullopt;
  const auto getJoinInformation = ModuleEntry<GetJoinInformationFn>(module, net_setup::kCall);
  const auto freeBuffer = ModuleEntry<BufferFreeFn>(module, "NetApiBufferFree");
  std::optional<DomainJoin> join;
  // The name comes in a buffer of the library's; without its release call
  // the buffer cannot be given back, so the call is not made at all.
  if (getJoinInformation != nullptr && freeBuffer != nullptr) {
    LPWSTR name = nullptr;
    NETSETUP_JOIN_STATUS status = NetSetupUnknownStatus;
    const NET_API_STATUS result = getJoinInformation(nullptr, &name, &status);
    join = DomainOfJoinInformation(result, static_cast<std::uint32_t>(status), result == 0 ? AnsiText(name) : "");
    if (name != nullptr) freeBuffer(name);
  }
  FreeLibrary(module);
  return join;
}

}  // namespace tolvaren::platform::win32_backend
