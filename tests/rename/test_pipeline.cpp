#include <gtest/gtest.h>

#include "base/VmBaseClasses.h"
#include "rename/BuildName.h"
#include "rename/TextChecks.h"

namespace {

class TFixedClock : public TClock {
 public:
  explicit TFixedClock(TDateTime Value) : FValue(Value) {}
  TDateTime Now() const override { return FValue; }

 private:
  TDateTime FValue;
};

// Checks the settings as a pass does, then builds the names in order.
std::vector<std::string> BuildAll(const TRenameSettings& Settings, const std::vector<std::string>& Names,
                                  int32_t& Counter, TDateTime FileDate = 0) {
  TUsedFields Used;
  EXPECT_EQ(CheckRenameSettings(Settings, Used, Counter), "");
  const TFixedClock Clock(EncodeDateTime({2025, 12, 24, 14, 5, 33}));
  std::vector<std::string> Result;
  for (const std::string& Name : Names)
    Result.push_back(BuildNewFileName(Name, FileDate, Settings, Used, Counter, {&Clock, "."}));
  return Result;
}

std::string BuildOne(const TRenameSettings& Settings, const std::string& Name, TDateTime FileDate = 0) {
  int32_t Counter = 0;
  return BuildAll(Settings, {Name}, Counter, FileDate).front();
}

TRenameSettings SearchAndReplace(const char* Search, const char* Replace) {
  TRenameSettings S;
  S.SearchAndReplace = true;
  S.SearchString = Search;
  S.ReplaceString = Replace;
  return S;
}

}  // namespace

TEST(ExtensionFunctions, SplitAtTheLastDotAfterTheLastSlash) {
  struct Case {
    const char* Name;
    const char* WithoutExt;
    const char* Ext;
  } Cases[] = {
      {"archive.tar.gz", "archive.tar", "gz"},
      {"README", "README", ""},
      {".profile", "", "profile"},
      {"name.", "name", ""},
      {"dir.d/file", "dir.d/file", ""},
      {"a.b\\c", "a", "b\\c"},
      {"a.b:c", "a", "b:c"},
      {"Grüße.tär", "Grüße", "tär"},
      {"", "", ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(RemoveFileExt(C.Name), C.WithoutExt);
    EXPECT_EQ(GetFileExt(C.Name), C.Ext);
  }
  EXPECT_EQ(NamePart("/home/u/a\\b:c.txt"), "a\\b:c.txt");
  EXPECT_EQ(NamePart("plain"), "plain");
}

TEST(BuildNewFileName, RunsCaseAndExtensionRulesInOrder) {
  struct Case {
    const char* Name;
    bool Upper, Lower, Del, Add;
    const char* Ext;
    const char* Expected;
  } Cases[] = {
      {"Report.TXT", true, true, false, false, "", "report.txt"},
      {"a.txt", false, false, true, true, "bak", "a.bak"},
      {"a.txt", false, false, true, true, ".bak", "a.bak"},
      {"a.txt", false, false, true, true, "", "a."},
      {"archive.tar.gz", false, false, true, false, "", "archive.tar"},
      {"README", false, false, true, false, "", "README"},
      {".profile", false, false, true, false, "", ""},
      {"readme", true, false, false, true, "txt", "README.txt"},
      // Simple case mapping keeps the length: no "SS" for "ß".
      {"straße.txt", true, false, false, false, "", "STRAßE.TXT"},
      {"ÄÖÜ É.TXT", false, true, false, false, "", "äöü é.txt"},
      {"😀 smile.png", true, false, false, false, "", "😀 SMILE.PNG"},
      {"caf\xe9.txt", true, false, false, false, "", "CAF\xe9.TXT"},
      {"\xed\xa0\x80x", true, false, false, false, "", "\xed\xa0\x80X"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TRenameSettings S;
    S.UpperCase = C.Upper;
    S.LowerCase = C.Lower;
    S.DelExtension = C.Del;
    S.AddExtension = C.Add;
    S.FileExtension = C.Ext;
    EXPECT_EQ(BuildOne(S, C.Name), C.Expected);
  }
}

TEST(BuildNewFileName, TakesNameAndTypeFieldsFromTheNameAfterTheExtensionRules) {
  TRenameSettings S = SearchAndReplace("\"*\"", "<name>|<typ>");
  S.DelExtension = true;
  EXPECT_EQ(BuildOne(S, "archive.tar.gz"), "archive|tar");
  S.DelExtension = false;
  S.AddExtension = true;
  S.FileExtension = "bak";
  EXPECT_EQ(BuildOne(S, "a.txt"), "a.txt|bak");
}

TEST(BuildNewFileName, NumbersTheNamesWithTheCounter) {
  struct Case {
    const char* Start;
    const char* Step;
    std::vector<std::string> Expected;
  } Cases[] = {
      {"1", "1", {"1", "2", "3"}},
      {"10", "-5", {"10", "5", "0"}},
      {"1", "0", {"1", "1", "1"}},
      {"2147483646", "1", {"2147483646", "2147483647", "-2147483648"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Start) + " step " + C.Step);
    TRenameSettings S = SearchAndReplace("\"*\"", "<zaehler>");
    S.CounterStartValue = C.Start;
    S.CounterStepSize = C.Step;
    int32_t Counter = 0;
    EXPECT_EQ(BuildAll(S, {"a", "b", "c"}, Counter), C.Expected);
  }
}

TEST(BuildNewFileName, AdvancesTheCounterAlsoForNamesThatDoNotMatch) {
  TRenameSettings S = SearchAndReplace("IMG_<*>.JPG", "Photo <zaehler>.jpg");
  S.CounterSameWidth = true;
  S.CounterWidth = "5";
  int32_t Counter = 0;
  EXPECT_EQ(BuildAll(S, {"IMG_1.JPG", "notes.txt", "IMG_2.JPG", "IMG_3.JPGIMG_4.JPG"}, Counter),
            (std::vector<std::string>{"Photo 00001.jpg", "notes.txt", "Photo 00003.jpg",
                                      "Photo 00004.jpgPhoto 00004.jpg"}));
  EXPECT_EQ(Counter, 5);
}

TEST(BuildNewFileName, FillsDateAndTimeFieldsFromTheFileDateAndTheClock) {
  const TDateTime File = EncodeDateTime({2024, 3, 5, 9, 7, 42});
  TRenameSettings S = SearchAndReplace("\"<*>.jpg\"", "<datum,d,e> <zeit,d,ku>-<zeit,d,se> <datum,a,k> <1>.jpg");
  EXPECT_EQ(BuildOne(S, "x.jpg", File), "2024.03.05 09.07-42 24.12.2025 x.jpg");
  // Fields that fit no group, or whose group is not computed, expand to nothing.
  S = SearchAndReplace("x", "<nix><dog><zeit><datum><z>|");
  EXPECT_EQ(BuildOne(S, "axb", File), "a|b");
}

TEST(BuildNewFileName, LeavesTheCounterAloneWithoutSearchAndReplace) {
  TRenameSettings S;
  S.ReplaceString = "<zaehler>";
  S.CounterStepSize = "x";
  int32_t Counter = 41;
  EXPECT_EQ(BuildNewFileName("a", 0, S, TUsedFields{ufCounter}, Counter), "a");
  EXPECT_EQ(Counter, 41);
}

TEST(BuildNewFileName, RefusesToCountWithAStepThatIsNoNumber) {
  TRenameSettings S = SearchAndReplace("a", "<zaehler>");
  S.CounterStepSize = "one";
  int32_t Counter = 1;
  EXPECT_THROW(BuildNewFileName("a", 0, S, TUsedFields{ufCounter}, Counter), EConvertError);
  EXPECT_EQ(Counter, 1);
}

TEST(BuildNewFileName, KeepsUndecodableBytesAndQuotesOfLinuxNames) {
  struct Case {
    const char* Name;
    const char* Search;
    const char* Replace;
    const char* Expected;
  } Cases[] = {
      {"\xff\xfe photo.JPG", "\"<*> photo.JPG\"", "<1>-img.jpg", "\xff\xfe-img.jpg"},
      {"say \"hi\".txt", "\"<*>.txt\"", "<1>.md", "say \"hi\".md"},
      {"a:b\\c.txt", ":<*>\\", "-<1>-", "a-b-c.txt"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(BuildOne(SearchAndReplace(C.Search, C.Replace), C.Name), C.Expected);
  }
}
