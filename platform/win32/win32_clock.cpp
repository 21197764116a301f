#include <windows.h>

#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {
namespace {

DateTime FromSystemTime(const SYSTEMTIME& st) {
  return DateTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace

DateTime Win32Clock::LocalNow() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return FromSystemTime(st);
}

DateTime Win32Clock::UtcNow() {
  SYSTEMTIME st{};
  GetSystemTime(&st);
  return FromSystemTime(st);
}

}  // namespace tolvaren::platform::win32_backend
