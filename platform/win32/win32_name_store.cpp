#include <windows.h>

#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {
namespace {

// ComputerNamePhysicalDnsHostname: Windows keeps the whole name as the DNS host
// name and derives the NetBIOS name from it.
constexpr int kPhysicalDnsHostname = 5;

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
  const SetComputerNameExAFn setEx = FindSetComputerNameEx();
  const BOOL ok = setEx != nullptr ? setEx(kPhysicalDnsHostname, name.c_str()) : ::SetComputerNameA(name.c_str());
  if (ok) return {true, 0};
  const DWORD error = GetLastError();
  return {false, static_cast<std::uint32_t>(error)};
}

}  // namespace tolvaren::platform::win32_backend
