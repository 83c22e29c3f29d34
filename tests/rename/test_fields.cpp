#include <gtest/gtest.h>

#include <QString>

#include "rename/Fields.h"

namespace {

// A clock that moves on by one second each time it is read.
class TTickingClock : public TClock {
 public:
  explicit TTickingClock(TDateTime Start) : FNext(Start) {}
  TDateTime Now() const override {
    const TDateTime Now = FNext;
    FNext += 1.0 / 86400;
    return Now;
  }

 private:
  mutable TDateTime FNext;
};

}  // namespace

TEST(CounterText, BringsTheNumberToTheWidthAsked) {
  struct Case {
    int32_t Value;
    bool SameWidth;
    int32_t Width;
    bool FillZeros;
    const char* Expected;
  } Cases[] = {
      {7, false, 3, true, "7"},
      {7, true, 3, true, "007"},
      {7, true, 3, false, "  7"},
      {123, true, 3, true, "123"},
      {1234, true, 2, true, "34"},
      {7, true, 15, true, "00000000007"},
      {7, true, 11, false, "          7"},
      {-5, true, 4, true, "00-5"},
      {-5, false, 0, true, "-5"},
      {42, true, 0, true, ""},
      {42, true, -3, true, ""},
      {INT32_MIN, true, 3, true, "648"},
      {INT32_MIN, true, INT32_MAX, true, "0000000000-2147483648"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Value) + " width " + std::to_string(C.Width));
    EXPECT_EQ(CounterText(C.Value, C.SameWidth, C.Width, C.FillZeros), C.Expected);
  }
}

TEST(DateTime, EncodesAndDecodesCalendarDatesAndTimes) {
  const TDateTimeParts Cases[] = {
      {1899, 12, 30, 0, 0, 0}, {2024, 3, 5, 9, 7, 42}, {2000, 2, 29, 23, 59, 58},
      {1980, 1, 1, 0, 0, 0},   {2107, 12, 31, 23, 59, 59}, {1899, 12, 29, 6, 0, 0},
      {1, 1, 1, 0, 0, 0},      {9999, 12, 31, 23, 59, 59},
  };
  for (const TDateTimeParts& P : Cases) {
    SCOPED_TRACE(std::to_string(P.Year) + "-" + std::to_string(P.Month) + "-" + std::to_string(P.Day));
    EXPECT_EQ(DecodeDateTime(EncodeDateTime(P)), P);
  }
  EXPECT_EQ(EncodeDateTime({1899, 12, 30, 0, 0, 0}), 0.0);
  EXPECT_EQ(EncodeDateTime({1900, 1, 1, 12, 0, 0}), 2.5);
  EXPECT_EQ(DecodeDateTime(1e12), TDateTimeParts());
  EXPECT_EQ(DecodeDateTime(std::numeric_limits<double>::quiet_NaN()), TDateTimeParts());
}

TEST(DateFields, FormatTheFileDateAndTheClockWithTheSeparator) {
  const TDateTime File = EncodeDateTime({2024, 3, 5, 9, 7, 42});
  const TTickingClock Clock(EncodeDateTime({2025, 12, 24, 14, 5, 30}));
  TItemList Items;
  AddDateFields(Items, File, {&Clock, "."});
  AddTimeFields(Items, File, {&Clock, "."});
  ASSERT_EQ(Items.Count(), 20u);
  const std::pair<const char*, const char*> Expected[] = {
      {"<datum,a,k>", "24.12.2025"}, {"<datum,a,e>", "2025.12.24"}, {"<datum,a,t>", "24"},
      {"<datum,a,m>", "12"},         {"<datum,a,j>", "2025"},       {"<datum,d,k>", "05.03.2024"},
      {"<datum,d,e>", "2024.03.05"}, {"<datum,d,t>", "05"},         {"<datum,d,m>", "03"},
      {"<datum,d,j>", "2024"},
      // The clock is read anew for every field, so the seconds move on.
      {"<zeit,a,ko>", "14.05.35"},   {"<zeit,a,ku>", "14.05"},      {"<zeit,a,se>", "37"},
      {"<zeit,a,m>", "05"},          {"<zeit,a,st>", "14"},         {"<zeit,d,ko>", "09.07.42"},
      {"<zeit,d,ku>", "09.07"},      {"<zeit,d,se>", "42"},         {"<zeit,d,m>", "07"},
      {"<zeit,d,st>", "09"},
  };
  for (size_t I = 0; I < std::size(Expected); ++I) {
    SCOPED_TRACE(Expected[I].first);
    EXPECT_EQ(Items.Items()[I].Key, Expected[I].first);
    EXPECT_EQ(Items.Items()[I].Value, Expected[I].second);
  }
}

TEST(DateSeparatorFromFormat, TakesTheLocaleSeparatorWhenANameMayHoldIt) {
  const std::pair<const char*, const char*> Cases[] = {
      {"dd.MM.yyyy", "."}, {"M/d/yy", "."},  {"yyyy-MM-dd", "-"}, {"d MMM yyyy", " "},
      {"yy. M. d.", "."},  {"ddMMyyyy", "."}, {"", "."},           {"d'x'M", "."},
  };
  for (const auto& [Format, Separator] : Cases) {
    SCOPED_TRACE(Format);
    EXPECT_EQ(DateSeparatorFromFormat(QString::fromUtf8(Format)), Separator);
  }
  const std::string System = SystemDateSeparator();
  EXPECT_EQ(System.find_first_of(std::string_view("/\0", 2)), std::string::npos);
  EXPECT_FALSE(System.empty());
}
