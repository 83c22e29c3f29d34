// Date-time values: days since 30 December 1899 with the time of day as the
// fraction, in local time, and their calendar parts.
#pragma once

#include <cstdint>

// Days since 30 December 1899, 00:00; the fraction is the time of day, in
// local time. Zero is that midnight.
using TDateTime = double;

struct TDateTimeParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  bool operator==(const TDateTimeParts&) const = default;
};

// Days and time of day to a date-time value (no range check beyond the calendar arithmetic).
TDateTime EncodeDateTime(const TDateTimeParts& Parts);
// The calendar date and the time of day, to the nearest millisecond and then
// rounded down to the second. Values that are not finite or lie outside the
// years 1 to 9999 give the zero date.
TDateTimeParts DecodeDateTime(TDateTime Value);

// A time in seconds since 1970 as a local date-time value (days since
// 1899-12-30), the seconds rounded down to even and fractions dropped. Times
// outside the years that DOS dates can hold are kept as they are; before
// 1899-12-30 the value is negative with the time of day as a positive
// fraction (-1.25 is 29 December 1899, 06:00). 0 when the time cannot be
// converted.
double UnixTimeToDateTime(int64_t Seconds);
