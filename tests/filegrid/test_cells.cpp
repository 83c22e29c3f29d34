// Cell texts: sizes in KB, attribute letters and dates.
#include <gtest/gtest.h>

#include "base/VmDateTime.h"
#include "filegrid/FileGridCells.h"

namespace {

const TFileGridCellFormat UsFormat{QLocale(QLocale::English, QLocale::UnitedStates)};

}  // namespace

TEST(FileGridCells, SizesAreWholeKilobytesRoundedUp) {
  const std::pair<uint64_t, const char*> Cases[] = {
      {0, "0 KB"}, {1, "1 KB"}, {1024, "1 KB"}, {1025, "2 KB"}, {2048, "2 KB"},
      {5ull << 30, "5242880 KB"},                  // beyond 32 bits, shown whole
      {UINT64_MAX, "18014398509481984 KB"}};       // the top KB rounds up without overflow
  for (const auto& [Size, Text] : Cases) EXPECT_EQ(UsFormat.SizeText(Size).toStdString(), Text) << Size;
}

TEST(FileGridCells, AttributesShowFourLettersInFixedPlaces) {
  const std::pair<uint32_t, const char*> Cases[] = {
      {0, "----"}, {faReadOnly | faArchive, "r--a"}, {faHidden, "-h--"}, {faSystem, "--s-"},
      {faReadOnly | faHidden | faSystem | faArchive | faDirectory, "rhsa"}, {faDirectory, "----"}};
  for (const auto& [Attributes, Text] : Cases) EXPECT_EQ(UsFormat.AttributeText(Attributes).toStdString(), Text);
}

TEST(FileGridCells, DatesUseTheShortDateAndLongTimeWithoutMidnightOrZone) {
  const auto Date = [](int Y, int M, int D, int H, int Min, int S) { return EncodeDateTime({Y, M, D, H, Min, S}); };
  const std::pair<double, const char*> Cases[] = {
      {0, ""},
      {Date(2021, 1, 2, 0, 0, 0), "1/2/21"},
      {Date(2021, 1, 2, 15, 4, 6), "1/2/21 3:04:06\u202fPM"},
      {Date(1975, 12, 31, 0, 0, 2), "12/31/75 12:00:02\u202fAM"}};
  for (const auto& [Value, Text] : Cases) {
    // Qt's English time format has used both a plain and a narrow blank before AM/PM.
    const std::string Got = UsFormat.DateText(Value).replace(QChar(0x202F), u' ').toStdString();
    EXPECT_EQ(Got, QString::fromUtf8(Text).replace(QChar(0x202F), u' ').toStdString());
  }
}
