#include "base/VmDateTime.h"

#include <cmath>
#include <cstdint>
#include <ctime>

namespace {

constexpr int64_t MsPerDay = 86400000;
// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
constexpr int64_t DaysFromCivil(int64_t Y, unsigned M, unsigned D) {
  Y -= M <= 2;
  const int64_t Era = (Y >= 0 ? Y : Y - 399) / 400;
  const unsigned Yoe = static_cast<unsigned>(Y - Era * 400);
  const unsigned Doy = (153 * (M > 2 ? M - 3 : M + 9) + 2) / 5 + D - 1;
  const unsigned Doe = Yoe * 365 + Yoe / 4 - Yoe / 100 + Doy;
  return Era * 146097 + static_cast<int64_t>(Doe) - 719468;
}
constexpr int64_t EpochDays = DaysFromCivil(1899, 12, 30);
constexpr int64_t FirstDay = DaysFromCivil(1, 1, 1) - EpochDays;
constexpr int64_t LastDay = DaysFromCivil(9999, 12, 31) - EpochDays;

void CivilFromDays(int64_t Z, int& Year, int& Month, int& Day) {
  Z += 719468;
  const int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const unsigned Doe = static_cast<unsigned>(Z - Era * 146097);
  const unsigned Yoe = (Doe - Doe / 1460 + Doe / 36524 - Doe / 146096) / 365;
  const unsigned Doy = Doe - (365 * Yoe + Yoe / 4 - Yoe / 100);
  const unsigned Mp = (5 * Doy + 2) / 153;
  Day = static_cast<int>(Doy - (153 * Mp + 2) / 5 + 1);
  Month = static_cast<int>(Mp < 10 ? Mp + 3 : Mp - 9);
  Year = static_cast<int>(static_cast<int64_t>(Yoe) + Era * 400 + (Month <= 2));
}

}  // namespace

TDateTime EncodeDateTime(const TDateTimeParts& P) {
  const int64_t Days = DaysFromCivil(P.Year, static_cast<unsigned>(P.Month), static_cast<unsigned>(P.Day)) - EpochDays;
  const double Time = (P.Hour * 3600.0 + P.Minute * 60.0 + P.Second) / 86400.0;
  // Before the epoch the integer part counts the day and the fraction still
  // runs forward through it.
  return Days >= 0 ? double(Days) + Time : double(Days) - Time;
}

TDateTimeParts DecodeDateTime(TDateTime Value) {
  TDateTimeParts P;
  if (!std::isfinite(Value) || Value < double(FirstDay) - 1 || Value > double(LastDay) + 1) return P;
  int64_t Days = static_cast<int64_t>(std::trunc(Value));
  int64_t Ms = std::llround(std::fabs(Value - double(Days)) * double(MsPerDay));
  if (Ms >= MsPerDay) {
    Ms -= MsPerDay;
    Days += Value >= 0 ? 1 : -1;
  }
  if (Days < FirstDay || Days > LastDay) return P;
  CivilFromDays(Days + EpochDays, P.Year, P.Month, P.Day);
  const int64_t Seconds = Ms / 1000;
  P.Hour = static_cast<int>(Seconds / 3600);
  P.Minute = static_cast<int>(Seconds / 60 % 60);
  P.Second = static_cast<int>(Seconds % 60);
  return P;
}

double UnixTimeToDateTime(int64_t Seconds) {
  // Files read together mostly share their times, and localtime_r takes a
  // lock that threads reading files at once would queue on: each thread
  // keeps its last answer, with the zone it was given in (which changes only
  // when tzset reads TZ again).
  thread_local struct {
    int64_t Seconds = 0;
    long Zone = 0;
    double Value = 0;
    bool Kept = false;
  } Last;
  if (Last.Kept && Seconds == Last.Seconds && ::timezone == Last.Zone) return Last.Value;
  const time_t T = static_cast<time_t>(Seconds);
  struct tm Local {};
  if (localtime_r(&T, &Local) == nullptr) return 0;
  // File times keep seconds in steps of two.
  Last.Value = EncodeDateTime({Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday, Local.tm_hour, Local.tm_min,
                               Local.tm_sec & ~1});
  Last.Seconds = Seconds;
  Last.Zone = ::timezone;
  Last.Kept = true;
  return Last.Value;
}
