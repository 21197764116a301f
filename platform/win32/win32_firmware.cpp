#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {

// ReadProcessMemory on the own process fails cleanly on unmapped pages instead
// of faulting, so the copy goes page by page and stops at the first failure.
std::size_t Win32Firmware::ReadMappedBiosArea(std::uint32_t address, std::uint8_t* buffer, std::size_t size) {
  constexpr std::size_t kPage = 4096;
  std::size_t copied = 0;
  while (copied < size) {
    const std::uintptr_t at = static_cast<std::uintptr_t>(address) + copied;
    const std::size_t chunk = std::min<std::size_t>(size - copied, kPage - at % kPage);
    SIZE_T read = 0;
    if (!ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(at), buffer + copied, chunk, &read)) break;
    copied += read;
    if (read != chunk) break;
  }
  return copied;
}

}  // namespace tolvaren::platform::win32_backend
