#include <gtest/gtest.h>

#include "rename/TextChecks.h"

TEST(CheckSearchText, RefusesTextsTheMatcherCannotUse) {
  struct Case {
    const char* Search;
    std::string_view Expected;
  } Cases[] = {
      {"", NoLiteralMessage},
      {"*", NoLiteralMessage},
      {"?*?", NoLiteralMessage},
      {"<*>", NoLiteralMessage},
      {"\"", ""},
      {"\"*\"", ""},
      {"ab\"c", QuoteMessage},
      {"<a><b><c><d><e><f><g><h><i><j>", BracketLimitMessage},
      {"<abc", BracketBalanceMessage},
      {">abc<", ""},
      {"<a<b>c>", ""},
      // The walk stops at the first quote or bracket limit failure, which
      // outranks the balance and literal checks behind it.
      {"<\"*", QuoteMessage},
      {"<<<<<<<<<<\"", BracketLimitMessage},
      {"<*\"*>", QuoteMessage},
      {"<<<", BracketBalanceMessage},
      {"<<<*", BracketBalanceMessage},
      {"ü", ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Search);
    EXPECT_EQ(CheckSearchText(C.Search), C.Expected);
  }
}

TEST(CheckReplaceText, FindsTheFieldGroupsAndRefusesOverlappingFields) {
  struct Case {
    const char* Replace;
    std::string_view Expected;
    TUsedFields Fields;
  } Cases[] = {
      {"<name>-<typ>", "", {ufNameType}},
      {"<zaehler>", "", {ufCounter}},
      {"<zeit,d,ko>", "", {ufTime}},
      {"<datum,a,k>", "", {ufDate}},
      {"<1>", "", {}},
      {"a<b<c>>", FieldOverlapMessage, {}},
      {"a>b", FieldOverlapMessage, {}},
      {"abc<name", "", {}},
      {"<Name>", "", {}},
      {"<>", "", {}},
      {"<z>", "", {}},
      // Classified by the first one or two characters only.
      {"<nix><dog>", "", {ufNameType, ufDate}},
      // Groups found before the failing character stay in the set.
      {"<name><zeit<", FieldOverlapMessage, {ufNameType}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Replace);
    TUsedFields Used;
    int32_t Counter = 0;
    EXPECT_EQ(CheckReplaceText(C.Replace, TRenameSettings(), Used, Counter), C.Expected);
    EXPECT_EQ(Used, C.Fields);
  }
}

TEST(CheckReplaceText, ResetsTheCounterOnlyWhenTheTextHoldsACounterField) {
  TRenameSettings Settings;
  Settings.CounterStartValue = "-12";
  int32_t Counter = 99;
  TUsedFields Used;
  EXPECT_EQ(CheckReplaceText("<name>", Settings, Used, Counter), "");
  EXPECT_EQ(Counter, 99);
  EXPECT_EQ(CheckReplaceText("a<zaehler>b<zaehler>", Settings, Used, Counter), "");
  EXPECT_EQ(Counter, -12);
}

TEST(CheckRenameSettings, ChecksTheTextsThenEveryCounterNumberThePassWillUse) {
  struct Case {
    const char* What;
    const char* Search;
    const char* Replace;
    const char* Start;
    const char* Step;
    bool SameWidth;
    const char* Width;
    std::string_view Expected;
  } Cases[] = {
      {"all numbers valid", "a", "<zaehler>", "1", "-1", true, "3", ""},
      {"bad step", "a", "<zaehler>", "1", "", false, "", InvalidNumberMessage},
      {"bad start", "a", "<zaehler>", "2147483648", "1", false, "", InvalidNumberMessage},
      {"bad width with same width on", "a", "<zaehler>", "1", "1", true, "3.0", InvalidNumberMessage},
      {"bad width with same width off", "a", "<zaehler>", "1", "1", false, "x", ""},
      {"bad numbers but no counter field", "a", "<name>", "x", "y", true, "z", ""},
      {"search text is checked first", "*", "<zaehler>", "x", "1", false, "", NoLiteralMessage},
      {"replacement text before numbers", "a", "<zaehler><<", "1", "x", false, "", FieldOverlapMessage},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    TRenameSettings Settings;
    Settings.SearchAndReplace = true;
    Settings.SearchString = C.Search;
    Settings.ReplaceString = C.Replace;
    Settings.CounterStartValue = C.Start;
    Settings.CounterStepSize = C.Step;
    Settings.CounterSameWidth = C.SameWidth;
    Settings.CounterWidth = C.Width;
    TUsedFields Used{ufDate};
    int32_t Counter = 0;
    EXPECT_EQ(CheckRenameSettings(Settings, Used, Counter), C.Expected);
    EXPECT_FALSE(Used.Contains(ufDate));
  }
}

TEST(CheckRenameSettings, ChecksNothingWhileSearchAndReplaceIsOff) {
  TRenameSettings Settings;
  Settings.SearchString = "\"a\"b";
  Settings.ReplaceString = "<zaehler>";
  Settings.CounterStartValue = "x";
  TUsedFields Used{ufCounter};
  int32_t Counter = 4;
  EXPECT_EQ(CheckRenameSettings(Settings, Used, Counter), "");
  EXPECT_TRUE(Used.Empty());
  EXPECT_EQ(Counter, 4);
}
