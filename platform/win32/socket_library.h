#pragma once

#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace tolvaren::platform::win32_backend {

// The run-time binding of Winsock 2. StartUp loads "WS2_32.DLL" and calls its
// WSAStartup for version 2.2; every other function is looked up by name on its
// first call and kept. At process end the library is cleaned up and released.
class SocketLibrary {
 public:
  static constexpr const char* kLibraryName = "WS2_32.DLL";

  SocketLibrary() = default;
  SocketLibrary(const SocketLibrary&) = delete;
  SocketLibrary& operator=(const SocketLibrary&) = delete;
  ~SocketLibrary();

  // True once WSAStartup succeeded; raises ESocketLibraryError when the
  // library cannot be loaded or has no WSAStartup.
  bool StartUp();

  // The address of a library function, looked up on first use; raises
  // ESocketLibraryError when the library is not loaded or lacks the function.
  void* Function(const char* name, std::atomic<void*>& cache);

  // Calls a function of the library by name, e.g.
  //   Call<decltype(&::sendto)>("sendto", cache, socket, ...)
  template <typename Fn, typename... Args>
  auto Call(const char* name, std::atomic<void*>& cache, Args... args) {
    return reinterpret_cast<Fn>(Function(name, cache))(args...);
  }

 private:
  std::mutex lock_;
  HMODULE module_ = nullptr;
  bool started_ = false;
  std::vector<std::atomic<void*>*> resolved_;  // reset when the library goes
};

// The process-wide binding.
SocketLibrary& Winsock();

}  // namespace tolvaren::platform::win32_backend
