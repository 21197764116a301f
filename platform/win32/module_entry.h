#pragma once

#include <windows.h>

namespace tolvaren::platform::win32_backend {

// The entry `name` of a loaded module as a function of type Fn, or null when
// the module lacks it. GetProcAddress returns a generic function pointer; the
// cast goes through void* to the entry's real type.
template <typename Fn>
Fn ModuleEntry(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace tolvaren::platform::win32_backend
