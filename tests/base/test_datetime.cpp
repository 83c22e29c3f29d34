#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "base/VmDateTime.h"

TEST(DateTime, EncodesAndDecodesCalendarDatesAndTimes) {
  const TDateTimeParts Cases[] = {{1899, 12, 30, 0, 0, 0}, {2024, 3, 5, 9, 7, 42}, {2000, 2, 29, 23, 59, 58},
                                  {1899, 12, 29, 6, 0, 0},  {1, 1, 1, 0, 0, 0},     {9999, 12, 31, 23, 59, 59}};
  for (const TDateTimeParts& P : Cases) {
    SCOPED_TRACE(std::to_string(P.Year) + "-" + std::to_string(P.Month) + "-" + std::to_string(P.Day));
    EXPECT_EQ(DecodeDateTime(EncodeDateTime(P)), P);
  }
  EXPECT_EQ(EncodeDateTime({1900, 1, 1, 12, 0, 0}), 2.5);
  EXPECT_EQ(DecodeDateTime(1e12), TDateTimeParts());
  EXPECT_EQ(DecodeDateTime(std::numeric_limits<double>::quiet_NaN()), TDateTimeParts());
}
