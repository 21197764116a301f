#include "platform/win32/socket_library.h"

#include <cstdio>

#include "platform/net_exception.h"

namespace tolvaren::platform::win32_backend {
namespace {

constexpr WORD kWinsockVersion = MAKEWORD(2, 2);
constexpr DWORD kNotInitialised = 10093;  // WSANOTINITIALISED

std::string SystemMessage(DWORD code) {
  char buffer[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string WithName(const char* format, const char* name) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, name);
  return buffer;
}

}  // namespace

SocketLibrary::~SocketLibrary() {
  if (module_ == nullptr) return;
  if (started_) {
    static std::atomic<void*> cleanup{nullptr};
    Call<decltype(&::WSACleanup)>("WSACleanup", cleanup);
  }
  FreeLibrary(module_);
  module_ = nullptr;
  for (std::atomic<void*>* cache : resolved_) cache->store(nullptr);
}

bool SocketLibrary::StartUp() {
  std::lock_guard<std::mutex> guard(lock_);
  if (started_) return true;
  if (module_ == nullptr) {
    module_ = LoadLibraryA(kLibraryName);
    if (module_ == nullptr) {
      const DWORD error = GetLastError();
      throw ESocketLibraryError(WithName("Error on loading Winsock2 library (%s)", kLibraryName), error,
                                SystemMessage(error));
    }
  }
  using StartupFn = int(WINAPI*)(WORD, LPWSADATA);
  const auto startup = reinterpret_cast<StartupFn>(reinterpret_cast<void*>(GetProcAddress(module_, "WSAStartup")));
  if (startup == nullptr) {
    const DWORD error = GetLastError();
    throw ESocketLibraryError(WithName("Error on call Winsock2 library function %s", "WSAStartup"), error,
                              SystemMessage(error));
  }
  WSADATA data{};
  started_ = startup(kWinsockVersion, &data) == 0;
  return started_;
}

void* SocketLibrary::Function(const char* name, std::atomic<void*>& cache) {
  if (void* known = cache.load()) return known;
  std::lock_guard<std::mutex> guard(lock_);
  if (module_ == nullptr) {
    throw ESocketLibraryError(WithName("Error on call Winsock2 library function %s", name), kNotInitialised,
                              SystemMessage(kNotInitialised));
  }
  void* found = reinterpret_cast<void*>(GetProcAddress(module_, name));
  if (found == nullptr) {
    const DWORD error = GetLastError();
    throw ESocketLibraryError(WithName("Error on call Winsock2 library function %s", name), error,
                              SystemMessage(error));
  }
  cache.store(found);
  resolved_.push_back(&cache);
  return found;
}

SocketLibrary& Winsock() {
  static SocketLibrary library;
  return library;
}

}  // namespace tolvaren::platform::win32_backend
