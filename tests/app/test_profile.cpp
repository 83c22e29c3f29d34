#include <gtest/gtest.h>

#include "app/Profile.h"
#include "support/TempDir.h"

namespace {

const std::string kDefaultProfile =
    "[Quorvane-Profile]\nUpperCase=0\nLowerCase=0\nDelExtension=0\nAddExtension=0\nFileExtension=\n"
    "SearchAndReplace=0\nSearchString=\nReplaceString=\nCounterStartValue=1\nCounterStepSize=1\n"
    "CounterSameWidth=0\nCounterWidth=\nCounterFillZeros=1\n";

}  // namespace

TEST(Profile, DefaultsAreWrittenInTheFixedLayoutAndEveryKeyRoundTrips) {
  TTempDir Dir;
  WriteProfileSettings(Dir / "a.prf", TRenameSettings());
  EXPECT_EQ(ReadFile(Dir / "a.prf"), kDefaultProfile);
  TRenameSettings S;
  S.UpperCase = S.DelExtension = S.SearchAndReplace = S.CounterSameWidth = true;
  S.CounterFillZeros = false;
  S.FileExtension = "t=[x]";
  S.SearchString = " \"*\" " + std::string(3000, 's');  // blanks and quotes are kept
  S.ReplaceString = "Grüße €";
  S.CounterStartValue = "";
  S.CounterStepSize = "zwei";
  WriteProfileSettings(Dir / "a.prf", S);
  EXPECT_EQ(ReadProfileSettings(Dir / "a.prf"), S);
  EXPECT_EQ(ReadProfileSettings(Dir / "missing.prf"), TRenameSettings());
}

// Each case: a boolean's text and what it reads as (empty: the key's default).
TEST(Profile, BooleansReadAsIntegersAndFallBackToTheirDefaults) {
  const std::pair<std::string, std::optional<bool>> Cases[] = {
      {"1", true},     {"0", false},       {"-1", true},   {"0x10", true},       {"0X0", false},
      {"$1F", true},   {" 1\t", true},     {"yes", {}},    {"$FFFFFFFF", true},  {"$100000000", {}},
      {"", {}},        {"0x", {}},         {"1x", {}},     {"2147483648", {}},   {"$-1", {}},
  };
  for (const auto& [Value, Expected] : Cases) {
    SCOPED_TRACE(Value);
    const TRenameSettings S =
        ReadProfileSettings(TIniFile("[quorvane-profile]\nUPPERCASE=" + Value + "\nCounterFillZeros=" + Value));
    EXPECT_EQ(S.UpperCase, Expected.value_or(false));
    EXPECT_EQ(S.CounterFillZeros, Expected.value_or(true));
  }
}

TEST(Profile, SavingKeepsOtherSectionsCommentsAndTheFilesLineEndings) {
  TTempDir Dir;
  const std::string Kept = "; mine\r\n[Other]\r\nUpperCase=1\r\n\r\n[Quorvane-Profile]\r\nCounterWidth=";
  Dir.Make("p.prf", Kept + "3\r\n");
  TRenameSettings S;
  S.CounterWidth = "4";
  WriteProfileSettings(Dir / "p.prf", S);
  const std::string After = ReadFile(Dir / "p.prf");
  EXPECT_TRUE(After.starts_with(Kept + "4\r\nUpperCase=0\r\nLowerCase=0\r\n")) << After;
  EXPECT_TRUE(After.ends_with("\r\nCounterSameWidth=0\r\nCounterFillZeros=1\r\n")) << After;
}

TEST(Profile, Windows1252FilesAreReadAsSuchAndRewrittenInUtf8) {
  EXPECT_EQ(Windows1252ToUtf8("a\xe4\x80\x81\x9f\xff"), "aä€\u0081Ÿÿ");
  TTempDir Dir;
  Dir.Make("w.prf", "[Other]\r\nk=\xe4\r\n[Quorvane-Profile]\r\nSearchString=\xe4\x96\r\n");
  EXPECT_EQ(ReadProfileSettings(Dir / "w.prf").SearchString, "ä–");
  TRenameSettings S;
  S.ReplaceString = "ö";
  WriteProfileSettings(Dir / "w.prf", S);
  const TIniFile Saved(ReadFile(Dir / "w.prf"));
  EXPECT_EQ(Saved.ReadValue("Other", "k"), "ä");
  EXPECT_EQ(ReadProfileSettings(Saved), S);
}

TEST(Profile, FailedSavesLeaveTheFileAsItWas) {
  TTempDir Dir;
  Dir.Make("p.prf", kDefaultProfile);
  TRenameSettings Changed;
  for (const char* Unstorable : {"two\nlines", "cr\r", "\xe4"}) {  // not one line; not UTF-8
    Changed.SearchString = Unstorable;
    EXPECT_THROW(WriteProfileSettings(Dir / "p.prf", Changed), EIniValueError);
  }
  EXPECT_EQ(ReadFile(Dir / "p.prf"), kDefaultProfile);
  ExpectFileErrorNaming(Dir.Path, [&] { ReadProfileSettings(Dir.Path); });  // unreadable: the cause reaches the caller
  EXPECT_EQ(ProfileWriteErrorText("/tmp/ä.prf"),
            "Kann Profil nicht in Datei \"/tmp/ä.prf\" speichern!\n\r( Datei schreibgeschützt? )");
}
