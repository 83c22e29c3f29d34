#include <gtest/gtest.h>

#include <QString>
#include <utility>

#include "rename/Fields.h"

TEST(CounterText, BringsTheNumberToTheWidthAsked) {
  const struct { int32_t Value; bool SameWidth; int32_t Width; bool FillZeros; const char* Expected; } Cases[] = {
      {7, false, 3, true, "7"},                     {7, true, 3, true, "007"},
      {7, true, 3, false, "  7"},                   {123, true, 3, true, "123"},
      {1234, true, 2, true, "34"},                  {7, true, 15, true, "00000000007"},
      {-5, true, 4, true, "00-5"},                  {42, true, -3, true, ""},
      {INT32_MIN, true, 3, true, "648"},            {INT32_MIN, true, INT32_MAX, true, "0000000000-2147483648"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Value) + " width " + std::to_string(C.Width));
    EXPECT_EQ(CounterText(C.Value, C.SameWidth, C.Width, C.FillZeros), C.Expected);
  }
}

// The clock is read anew for every field, so the current seconds move on.
TEST(DateFields, FormatTheFileDateAndTheClockWithTheSeparator) {
  struct : TClock {  // moves on by one second each time it is read
    TDateTime Now() const override { return std::exchange(Next, Next + 1.0 / 86400); }
    mutable TDateTime Next = EncodeDateTime({2025, 12, 24, 14, 5, 30});
  } Clock;
  const TDateTime File = EncodeDateTime({2024, 3, 5, 9, 7, 42});
  TItemList Items;
  AddDateFields(Items, File, {&Clock, "."});
  AddTimeFields(Items, File, {&Clock, "."});
  std::string All;
  for (const TItemListObject& Item : Items.Items()) All += Item.Key + "=" + Item.Value + " ";
  EXPECT_EQ(All,
            "<datum,a,k>=24.12.2025 <datum,a,e>=2025.12.24 <datum,a,t>=24 <datum,a,m>=12 <datum,a,j>=2025 "
            "<datum,d,k>=05.03.2024 <datum,d,e>=2024.03.05 <datum,d,t>=05 <datum,d,m>=03 <datum,d,j>=2024 "
            "<zeit,a,ko>=14.05.35 <zeit,a,ku>=14.05 <zeit,a,se>=37 <zeit,a,m>=05 <zeit,a,st>=14 "
            "<zeit,d,ko>=09.07.42 <zeit,d,ku>=09.07 <zeit,d,se>=42 <zeit,d,m>=07 <zeit,d,st>=09 ");
}

TEST(DateSeparatorFromFormat, TakesTheLocaleSeparatorWhenItIsAPunctuationMarkANameMayHold) {
  const std::pair<const char*, const char*> Cases[] = {
      {"dd.MM.yyyy", "."}, {"M/d/yy", "."},   {"yyyy-MM-dd", "-"}, {"d MMM yyyy", "."},
      {"yy. M. d.", "."},  {"ddMMyyyy", "."}, {"", "."},           {"d'x'M", "."},
  };
  for (const auto& [Format, Separator] : Cases) {
    SCOPED_TRACE(Format);
    EXPECT_EQ(DateSeparatorFromFormat(QString::fromUtf8(Format)), Separator);
  }
  const std::string System = SystemDateSeparator();
  EXPECT_FALSE(System.empty());
  EXPECT_EQ(System.find_first_of(std::string_view("/\0", 2)), std::string::npos);
}

TEST(MetadataFields, TagValuesNeverAddAFolderOrAControlCharacter) {
  const std::pair<std::string_view, const char*> Tags[] = {{"AC/DC", "AC.DC"}, {"../..", "....."}, {"  x y ", "x y"},
      {std::string_view("a\0b\nc\x7F\x1F", 8), "abc"}, {"Grüße\t", "Grüße"}, {"", ""}};
  for (const auto& [Value, Expected] : Tags) EXPECT_EQ(TagFieldText(Value), Expected) << Value;
  const std::pair<const char*, const char*> Tracks[] = {{"3/13", "03"}, {"3", "03"}, {"007/9", "07"}, {"0", "00"},
      {"123", "123"}, {" 4 /12", "04"}, {"A1", "A1"}, {"/5", ""}, {"2/", "02"}, {"", ""}};
  for (const auto& [Value, Expected] : Tracks) EXPECT_EQ(TrackFieldText(Value), Expected) << Value;
}
