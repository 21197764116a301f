#include <windows.h>

#include <vector>

#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {

std::optional<std::string> Win32Environment::Get(const std::string& name) {
  std::vector<char> buffer(260);
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableA(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length);
  }
}

}  // namespace tolvaren::platform::win32_backend
