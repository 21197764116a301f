#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {
namespace {

constexpr char kDefaultZoneFile[] = "/etc/localtime";
constexpr char kDefaultZoneFolder[] = "/usr/share/zoneinfo";
// The rules the C library takes for a POSIX zone text that names daylight
// time without saying when it starts.
constexpr char kPosixRulesFile[] = "posixrules";
constexpr long long kSecondsPerDay = 86400;

struct Now {
  std::time_t seconds = 0;
  long nanoseconds = 0;
};

Now RealTime() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return Now{ts.tv_sec, ts.tv_nsec};
}

DateTime FromTm(const std::tm& tm, long nanoseconds) {
  return DateTime{tm.tm_year + 1900,
                  tm.tm_mon + 1,
                  tm.tm_mday,
                  tm.tm_hour,
                  tm.tm_min,
                  tm.tm_sec,
                  static_cast<int>(nanoseconds / 1000000)};
}

// UTC fields of a moment, computed here: the C library's gmtime loads the
// local zone on its first call, and UTC needs none.
DateTime UtcOf(const Now& now) {
  long long days = now.seconds / kSecondsPerDay;
  long long rest = now.seconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  // Days since 1970-01-01 to a civil date (proleptic Gregorian), by eras of
  // 400 years that begin on 1 March.
  const long long z = days + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long dayOfEra = z - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long monthIndex = (5 * dayOfYear + 2) / 153;  // 0 is March
  const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return DateTime{year,
                  month,
                  day,
                  static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60),
                  static_cast<int>(now.nanoseconds / 1000000)};
}

std::string ZoneFolder() {
  const char* folder = std::getenv("TZDIR");
  return folder != nullptr && *folder != '\0' ? folder : kDefaultZoneFolder;
}

// False when a file the C library would open for the zone exists but is no
// regular file: a FIFO there blocks the open until a writer comes, and a
// device may feed it without end. The library reads TZ (a leading ":"
// dropped; empty means UTC) as a file, relative to TZDIR or the zoneinfo
// folder, else as a POSIX zone text, which may take its daylight rules from
// "posixrules" there; without TZ it reads /etc/localtime.
bool ZoneFilesAreRegular() {
  const auto usable = [](const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode);
  };
  const char* tz = std::getenv("TZ");
  if (tz == nullptr) return usable(kDefaultZoneFile);
  std::string_view name = tz;
  if (name.empty()) name = "Universal";
  if (name.front() == ':') name.remove_prefix(1);
  if (name.empty()) return true;  // UTC, read from no file
  const std::string path = name.front() == '/' ? std::string(name) : ZoneFolder() + "/" + std::string(name);
  return usable(path) && usable(ZoneFolder() + "/" + kPosixRulesFile);
}

}  // namespace

DateTime LinuxClock::LocalNow() {
  const Now now = RealTime();
  // A zone that cannot be read safely counts as UTC.
  if (!ZoneFilesAreRegular()) return UtcOf(now);
  std::tm tm{};
  if (localtime_r(&now.seconds, &tm) == nullptr) return UtcOf(now);
  return FromTm(tm, now.nanoseconds);
}

DateTime LinuxClock::UtcNow() { return UtcOf(RealTime()); }

}  // namespace tolvaren::platform::linux_backend
