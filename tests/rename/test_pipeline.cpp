#include <gtest/gtest.h>

#include "base/VmBaseClasses.h"
#include "rename/BuildName.h"
#include "rename/NameText.h"
#include "rename/TextChecks.h"

static TRenameSettings SearchReplace(const char* Search, const char* Replace) {
  TRenameSettings S;
  S.SearchAndReplace = true;
  S.SearchString = Search;
  S.ReplaceString = Replace;
  return S;
}

// Checks the settings as a pass does, then builds the names in order.
static std::vector<std::string> BuildAll(const TRenameSettings& S, std::vector<std::string> Names, int32_t& Counter) {
  struct : TClock {
    TDateTime Now() const override { return EncodeDateTime({2025, 12, 24, 14, 5, 33}); }
  } Clock;
  TUsedFields Used;
  EXPECT_EQ(CheckRenameSettings(S, Used, Counter), "");
  const TDateTime Date = EncodeDateTime({2024, 3, 5, 9, 7, 42});
  std::vector<std::string> Result;
  for (const std::string& Name : Names) Result.push_back(BuildNewFileName(Name, Date, S, Used, Counter, {&Clock, "."}));
  return Result;
}

// Search and replace is on when the row has a search text.
TEST(BuildNewFileName, RunsTheRulesInOrder) {
  const struct { const char* Name; bool Upper, Lower, Del, Add; const char *Ext, *Search, *Replace, *Expected; }
  Cases[] = {
      {"a.txt", false, false, true, true, "bak", nullptr, nullptr, "a.bak"},
      {"a.txt", false, false, true, true, ".bak", nullptr, nullptr, "a.bak"},
      {"a.txt", false, false, true, true, "", nullptr, nullptr, "a."},
      // Simple case mapping keeps the length: no "SS" for "ß".
      {"straße.txt", true, false, false, false, "", nullptr, nullptr, "STRAßE.TXT"},
      {"😀 smile.png", true, false, false, false, "", nullptr, nullptr, "😀 SMILE.PNG"},
      {"\xed\xa0\x80x", true, false, false, false, "", nullptr, nullptr, "\xed\xa0\x80X"},
      // Name and type are taken after the extension rules.
      {"archive.tar.gz", false, false, true, false, "", "\"*\"", "<name>|<typ>", "archive|tar"},
      {"a.txt", false, false, false, true, "bak", "\"*\"", "<name>|<typ>", "a.txt|bak"},
      {"x", false, false, false, false, "", "x", "<datum,d,e> <zeit,d,se> <datum,a,k>", "2024.03.05 42 24.12.2025"},
      // Fields that fit no group, or whose group is not computed, expand to nothing.
      {"axb", false, false, false, false, "", "x", "<nix><dog><zeit><datum><z>|", "a|b"},
      // Quotes, "\", ":" and undecodable bytes are ordinary parts of a Linux name.
      {"\xff \"hi\":\\.txt", false, false, false, false, "", "\"<*>.txt\"", "<1>.md", "\xff \"hi\":\\.md"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TRenameSettings S = C.Search ? SearchReplace(C.Search, C.Replace) : TRenameSettings();
    S.UpperCase = C.Upper;
    S.LowerCase = C.Lower;
    S.DelExtension = C.Del;
    S.AddExtension = C.Add;
    S.FileExtension = C.Ext;
    int32_t Counter = 0;
    EXPECT_EQ(BuildAll(S, {C.Name}, Counter).front(), C.Expected);
  }
}

TEST(BuildNewFileName, NumbersEachNameOnceWhetherItMatchesTwiceOrNot) {
  const struct { const char *Start, *Step; std::vector<std::string> Expected; int32_t After; } Cases[] = {
      {"1", "1", {"1", "2", "33", "b"}, 5},
      {"10", "-5", {"10", "5", "00", "b"}, -10},
      {"1", "0", {"1", "1", "11", "b"}, 1},
      {"2147483646", "1", {"2147483646", "2147483647", "-2147483648-2147483648", "b"}, -2147483646},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.Start) + " step " + C.Step);
    TRenameSettings S = SearchReplace("a", "<zaehler>");
    S.CounterStartValue = C.Start;
    S.CounterStepSize = C.Step;
    int32_t Counter = 0;
    EXPECT_EQ(BuildAll(S, {"a", "a", "aa", "b"}, Counter), C.Expected);
    EXPECT_EQ(Counter, C.After);
  }
}

// On, a step that is no number throws before the counter moves; off, nothing is counted.
TEST(BuildNewFileName, LeavesTheCounterAloneWhenItCannotCount) {
  TRenameSettings S = SearchReplace("a", "<zaehler>");
  S.CounterStepSize = "x";
  int32_t Counter = 41;
  EXPECT_THROW(BuildNewFileName("a", 0, S, TUsedFields{ufCounter}, Counter), EConvertError);
  EXPECT_EQ(Counter, 41);
  S.SearchAndReplace = false;
  EXPECT_EQ(BuildNewFileName("a", 0, S, TUsedFields{ufCounter}, Counter), "a");
  EXPECT_EQ(Counter, 41);
}

TEST(CaseMapping, MapsEachCodePointToOne) {
  EXPECT_EQ(UpperCaseName("ä-ß-ǆ-ﬃ-ÿ"), "Ä-ß-Ǆ-ﬃ-Ÿ");
  EXPECT_EQ(LowerCaseName("ŒUVRE ǄA"), "œuvre ǆa");
  EXPECT_EQ(LowerCaseName("ÀÉ\xff"), "àé\xff");
}
