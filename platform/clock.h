#pragma once

namespace tolvaren::platform {

struct DateTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime LocalNow() = 0;
  virtual DateTime UtcNow() = 0;
};

}  // namespace tolvaren::platform
