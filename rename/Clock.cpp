#include "rename/Clock.h"

#include <ctime>

TDateTime TSystemClock::Now() const {
  timespec Ts{};
  clock_gettime(CLOCK_REALTIME, &Ts);
  tm Local{};
  localtime_r(&Ts.tv_sec, &Local);
  return EncodeDateTime({Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday, Local.tm_hour, Local.tm_min,
                         Local.tm_sec});
}

const TClock& SystemClock() {
  static const TSystemClock Clock;
  return Clock;
}
