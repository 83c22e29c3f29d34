#include <gtest/gtest.h>

#include "rename/TextChecks.h"

TEST(CheckSearchText, RefusesTextsTheMatcherCannotUse) {
  const std::pair<const char*, std::string_view> Cases[] = {
      {"", NoLiteralMessage},                       {"*", NoLiteralMessage},
      {"<*>", NoLiteralMessage},                    {"\"", ""},
      {"ab\"c", QuoteMessage},                      {"<a><b><c><d><e><f><g><h><i><j>", BracketLimitMessage},
      {"<abc", BracketBalanceMessage},              {">abc<", ""}, {"<a<b>c>", ""},
      // The walk stops at the first quote or bracket limit failure; balance outranks literal.
      {"<\"*", QuoteMessage},                       {"<<<<<<<<<<\"", BracketLimitMessage},
      {"<<<", BracketBalanceMessage},
  };
  for (const auto& [Search, Expected] : Cases) {
    SCOPED_TRACE(Search);
    EXPECT_EQ(CheckSearchText(Search), Expected);
  }
}

TEST(CheckReplaceText, FindsTheFieldGroupsSetsTheCounterAndRefusesOverlappingFields) {
  const struct { const char* Replace; std::string_view Expected; TUsedFields Fields; int32_t Counter; } Cases[] = {
      {"<name>-<typ>", "", {ufNameType}, 99},       {"<zaehler>", "", {ufCounter}, -12},
      {"<zeit,d,ko>", "", {ufTime}, 99},            {"<datum,a,k>", "", {ufDate}, 99},
      {"<1>", "", {}, 99},                          {"a<b<c>>", FieldOverlapMessage, {}, 99},
      {"a>b", FieldOverlapMessage, {}, 99},         {"abc<name", "", {}, 99},
      {"<Name>", "", {}, 99},                       {"<>", "", {}, 99},
      // Classified by the first one or two characters only.
      {"<nix><dog>", "", {ufNameType, ufDate}, 99},
      // Fields read from the file by their whole key; photo fields keep the file date's group, their stand-in.
      {"<datum,f,e><zeit,f,m>", "", {ufDate, ufTime, ufPhotoDate, ufPhotoTime}, 99},
      {"<kamera><titel><genre>", "", {ufCamera, ufNameType, ufAudio}, 99},
      {"<datum,f,x><Kamera><jahr>", "", {ufDate, ufAudio}, 99},
      // Groups found before the failing character stay in the set.
      {"<name><zeit<", FieldOverlapMessage, {ufNameType}, 99},
  };
  TRenameSettings Settings;
  Settings.CounterStartValue = "-12";
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Replace);
    TUsedFields Used;
    int32_t Counter = 99;
    EXPECT_EQ(CheckReplaceText(C.Replace, Settings, Used, Counter), C.Expected);
    EXPECT_EQ(Used, C.Fields);
    EXPECT_EQ(Counter, C.Counter);
  }
}

TEST(CheckRenameSettings, ChecksTheTextsThenEveryCounterNumberThePassWillUse) {
  const struct { const char *What, *Search, *Replace, *Start, *Step; bool On, SameWidth; const char* Width;
                 std::string_view Expected; int32_t Counter; } Cases[] = {
      {"all numbers valid", "a", "<zaehler>", "1", "-1", true, true, "3", "", 1},
      {"bad step", "a", "<zaehler>", "1", "", true, false, "", InvalidNumberMessage, 1},
      {"bad start", "a", "<zaehler>", "2147483648", "1", true, false, "", InvalidNumberMessage, 99},
      {"bad width with same width on", "a", "<zaehler>", "1", "1", true, true, "3.0", InvalidNumberMessage, 1},
      {"bad width with same width off", "a", "<zaehler>", "1", "1", true, false, "x", "", 1},
      {"bad numbers but no counter field", "a", "<name>", "x", "y", true, true, "z", "", 99},
      {"search text is checked first", "*", "<zaehler>", "x", "1", true, false, "", NoLiteralMessage, 99},
      {"replacement text before numbers", "a", "<zaehler><<", "1", "x", true, false, "", FieldOverlapMessage, 1},
      {"nothing is checked while off", "\"a\"b", "<zaehler>", "x", "1", false, false, "", "", 99},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    TRenameSettings S;
    S.SearchAndReplace = C.On;
    S.SearchString = C.Search;
    S.ReplaceString = C.Replace;
    S.CounterStartValue = C.Start;
    S.CounterStepSize = C.Step;
    S.CounterSameWidth = C.SameWidth;
    S.CounterWidth = C.Width;
    TUsedFields Used{ufDate};
    int32_t Counter = 99;
    EXPECT_EQ(CheckRenameSettings(S, Used, Counter), C.Expected);
    EXPECT_FALSE(Used.Contains(ufDate));
    EXPECT_EQ(Counter, C.Counter);
  }
}
