#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {
namespace {

// The native-API records of the section call, laid out as ntdll expects them.
struct CountedUnicodeString {
  USHORT length;
  USHORT maximumLength;
  const wchar_t* buffer;
};

struct ObjectAttributes {
  ULONG length;
  HANDLE rootDirectory;
  const CountedUnicodeString* objectName;
  ULONG attributes;
  void* securityDescriptor;
  void* securityQualityOfService;
};

#ifndef _WIN64
static_assert(sizeof(ObjectAttributes) == 24);
#endif

using ZwOpenSectionProc = LONG(WINAPI*)(HANDLE* section, ACCESS_MASK access, const ObjectAttributes* attributes);
using ZwCloseProc = LONG(WINAPI*)(HANDLE handle);
using GetSystemFirmwareTableProc = UINT(WINAPI*)(DWORD provider, DWORD tableId, void* buffer, DWORD size);

constexpr ACCESS_MASK kSectionMapRead = 4;
constexpr ULONG kObjCaseInsensitive = 0x40;
constexpr LONG kStatusNotImplemented = static_cast<LONG>(0xC0000002);

const wchar_t kPhysicalMemoryName[] = L"\\Device\\PhysicalMemory";
const CountedUnicodeString kPhysicalMemory{44, 46, kPhysicalMemoryName};
const ObjectAttributes kPhysicalMemoryAttributes{sizeof(ObjectAttributes), nullptr, &kPhysicalMemory,
                                                 kObjCaseInsensitive,      nullptr, nullptr};

// Bound once at start-up on the NT platform; the module handle is only
// obtained, never loaded or freed.
struct NativeApi {
  HMODULE ntdll = nullptr;
  ZwOpenSectionProc zwOpenSection = nullptr;
  ZwCloseProc zwClose = nullptr;
};

NativeApi nativeApi;

template <typename Proc>
Proc Bind(HMODULE module, const char* name) {
  // GetProcAddress returns a generic function pointer; the cast goes through
  // void* so that the compiler accepts the change of signature.
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool OnNtPlatform() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return false;
#pragma GCC diagnostic pop
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

Win32Firmware::Win32Firmware() {
  if (!OnNtPlatform()) return;
  nativeApi.ntdll = GetModuleHandleA("NTDLL.DLL");
  if (nativeApi.ntdll == nullptr) return;
  nativeApi.zwOpenSection = Bind<ZwOpenSectionProc>(nativeApi.ntdll, "ZwOpenSection");
  nativeApi.zwClose = Bind<ZwCloseProc>(nativeApi.ntdll, "ZwClose");
}

// ReadProcessMemory on the own process fails cleanly on unmapped pages instead
// of faulting, so the copy goes page by page and stops at the first failure.
std::size_t Win32Firmware::ReadMappedBiosArea(std::uint32_t address, std::uint8_t* buffer, std::size_t size) {
  constexpr std::size_t kPage = 4096;
  std::size_t copied = 0;
  while (copied < size) {
    const std::uintptr_t at = static_cast<std::uintptr_t>(address) + copied;
    const std::size_t chunk = std::min<std::size_t>(size - copied, kPage - at % kPage);
    SIZE_T read = 0;
    if (!ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(at), buffer + copied, chunk, &read))
      break;
    copied += read;
    if (read != chunk) break;
  }
  return copied;
}

SectionRead Win32Firmware::ReadPhysicalMemorySection(std::uint32_t address, std::uint8_t* buffer, std::size_t size) {
  if (nativeApi.zwOpenSection == nullptr || nativeApi.zwClose == nullptr) {
    return {SectionRead::srRefused, static_cast<std::uint32_t>(kStatusNotImplemented)};
  }
  HANDLE section = nullptr;
  const LONG status = nativeApi.zwOpenSection(&section, kSectionMapRead, &kPhysicalMemoryAttributes);
  if (status != 0) return {SectionRead::srRefused, static_cast<std::uint32_t>(status)};
  SectionRead result{SectionRead::srNoView, 0};
  if (const void* view = MapViewOfFile(section, FILE_MAP_READ, 0, address, size)) {
    std::memcpy(buffer, view, size);
    UnmapViewOfFile(view);
    result.status = SectionRead::srCopied;
  }
  nativeApi.zwClose(section);
  return result;
}

// GetSystemFirmwareTable exists from Windows XP x64 and Vista on; it is looked
// up at run time so the 32-bit binary still starts on older systems.
std::optional<std::vector<std::uint8_t>> Win32Firmware::ReadFirmwareTable(std::uint32_t provider) {
  const HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  if (kernel == nullptr) return std::nullopt;
  const auto getTable = Bind<GetSystemFirmwareTableProc>(kernel, "GetSystemFirmwareTable");
  if (getTable == nullptr) return std::nullopt;
  const UINT needed = getTable(provider, 0, nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::vector<std::uint8_t> table(needed);
  const UINT got = getTable(provider, 0, table.data(), needed);
  if (got == 0 || got > needed) return std::nullopt;
  table.resize(got);
  return table;
}

}  // namespace tolvaren::platform::win32_backend
