#include <windows.h>

#include <cstring>

#include "platform/host_name_rules.h"
#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {
namespace {

// ComputerNamePhysicalDnsHostname: Windows keeps the whole name as the DNS host
// name and derives the NetBIOS name from it.
constexpr int kPhysicalDnsHostname = 5;

// Windows' own code for a name it cannot take; the tool gives it for names
// that break the DNS host name's rules before the system is asked, so that
// /c refuses exactly what /j lists.
constexpr std::uint32_t kInvalidComputerName = 1210;  // ERROR_INVALID_COMPUTERNAME
static_assert(kInvalidComputerName == ERROR_INVALID_COMPUTERNAME);

using SetComputerNameExAFn = BOOL(WINAPI*)(int, LPCSTR);

// Windows NT 4 and the 95 family lack SetComputerNameExA, so it is looked up
// at run time. kernel32 stays loaded for the life of the process.
SetComputerNameExAFn FindSetComputerNameEx() {
  HMODULE kernel = LoadLibraryA("kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<SetComputerNameExAFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetComputerNameExA")));
}

}  // namespace

NameWriteResult Win32NameStore::WriteComputerName(const std::string& name) {
  if (const std::vector<NameProblem> problems = NameProblems(name); !problems.empty()) {
    return {false, kInvalidComputerName, {}, ProblemLines(problems)};
  }
  const SetComputerNameExAFn setEx = FindSetComputerNameEx();
  const BOOL ok = setEx != nullptr ? setEx(kPhysicalDnsHostname, name.c_str()) : ::SetComputerNameA(name.c_str());
  if (ok) return {true, 0, {}, {}};
  const DWORD error = GetLastError();
  return {false, static_cast<std::uint32_t>(error), {}, {}};
}

std::vector<NameProblem> Win32NameStore::NameProblems(const std::string& name) { return WindowsHostNameProblems(name); }

std::string Win32NameStore::StaticName() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", 0, KEY_QUERY_VALUE,
                    &key) != ERROR_SUCCESS) {
    return {};
  }
  std::string name;
  for (const char* value : {"NV Hostname", "Hostname"}) {
    char buffer[256] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer - 1;  // room for a terminator the value may lack
    if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
        type == REG_SZ && size > 0) {
      name.assign(buffer, strnlen(buffer, size));
      if (!name.empty()) break;
    }
  }
  RegCloseKey(key);
  return name;
}

}  // namespace tolvaren::platform::win32_backend
