#include <sys/time.h>

#include <ctime>

#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {
namespace {

DateTime FromTm(const std::tm& tm, long microseconds) {
  return DateTime{tm.tm_year + 1900,
                  tm.tm_mon + 1,
                  tm.tm_mday,
                  tm.tm_hour,
                  tm.tm_min,
                  tm.tm_sec,
                  static_cast<int>(microseconds / 1000)};
}

}  // namespace

DateTime LinuxClock::LocalNow() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  std::tm tm{};
  localtime_r(&tv.tv_sec, &tm);
  return FromTm(tm, tv.tv_usec);
}

DateTime LinuxClock::UtcNow() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  std::tm tm{};
  gmtime_r(&tv.tv_sec, &tm);
  return FromTm(tm, tv.tv_usec);
}

}  // namespace tolvaren::platform::linux_backend
