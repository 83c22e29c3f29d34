#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "base/IniFile.h"
#include "base/VmFileLib.h"
#include "support/TempDir.h"

// Each case: a text, and the value of "Key" in section "Sec" (empty: none).
TEST(IniFile, ReadsTheFirstMatchingKeyOfTheFirstMatchingSectionWithTheValueWhole) {
  const std::tuple<const char*, std::string, std::optional<std::string>> Cases[] = {
      {"names ignore case", "[sEC]\nkEY=a\n", "a"},
      {"blanks around names", "  [ Sec ]  \n  Key \t= b\n", " b"},
      {"value kept exactly", "[Sec]\nKey=  \"q\" ; x = y \t\n", "  \"q\" ; x = y \t"},
      {"CRs inside and at the end", "[Sec]\r\nKey=c\rd\r\r", "c\rd"},
      {"byte order mark", "\xEF\xBB\xBF[Sec]\nKey=e\n", "e"},
      {"first key wins", "[Sec]\nKey=1\nKEY=2\n", "1"},
      {"first section wins", "[Sec]\nOther=1\n[Sec]\nKey=2\n", std::nullopt},
      {"other section or none", "Key=1\n[Other]\nKey=1\n[Sec]\n", std::nullopt},
      {"comments are no keys", "[Sec]\n;Key=1\n#Key=2\n=Key\n", std::nullopt},
      {"'[' without ']' ends nothing", "[Sec]\n[broken\nKey=f\n", "f"},
      {"text after ']' ignored", "[Sec] x=y\nKey=g\n", "g"},
      {"prefixes of names", "[Section]\nKey=1\n[Sec]\nKeys=2\n", std::nullopt},
  };
  for (const auto& [What, Text, Expected] : Cases) {
    SCOPED_TRACE(What);
    EXPECT_EQ(TIniFile(Text).ReadValue("Sec", "Key"), Expected);
  }
  EXPECT_EQ(TIniFile("[Sec]\n").ReadString("Sec", "Key", "dflt"), "dflt");
}

// Each case: the text before and after setting "Key" in "Sec" to "v".
TEST(IniFile, WritingChangesOneValueOrAddsLinesAndKeepsEveryOtherByte) {
  const std::tuple<const char*, std::string, std::string> Cases[] = {
      {"empty text", "", "[Sec]\nKey=v\n"},
      {"value in place", "; c\r\n[a]\nKey=x\n\n[SEC] ; s\n kEY = old \r\nz=1\n",
       "; c\r\n[a]\nKey=x\n\n[SEC] ; s\n kEY =v\r\nz=1\n"},
      {"key behind the last non-blank line", "[Sec]\na=1\n;c\n\n\n[b]\n", "[Sec]\na=1\n;c\nKey=v\n\n\n[b]\n"},
      {"key behind a header at the end", "[Sec]", "[Sec]\nKey=v\n"},
      {"key only in the first section", "[Sec]\n[Sec]\nKey=1\n", "[Sec]\nKey=v\n[Sec]\nKey=1\n"},
      {"section appended after a blank line", "[a]\r\nb=1", "[a]\r\nb=1\r\n\r\n[Sec]\r\nKey=v\r\n"},
      {"no second blank line", "[a]\n\n", "[a]\n\n[Sec]\nKey=v\n"},
      {"a trailing CR is completed", "[Sec]\na=1\r", "[Sec]\na=1\r\nKey=v\n"},
  };
  for (const auto& [What, Before, After] : Cases) {
    SCOPED_TRACE(What);
    TIniFile Ini(Before);
    Ini.WriteString("Sec", "Key", "v");
    EXPECT_EQ(Ini.Text(), After);
  }
}

TEST(IniFile, NamesAndValuesThatWouldNotReadBackAreRefused) {
  const std::string Text = "[Sec]\nKey=1\n";
  const std::string_view Bad[][3] = {
      {"Sec", "Key", "a\nb"}, {"Sec", "Key", "a\r"}, {"", "Key", "v"},   {"S]", "Key", "v"},
      {" Sec", "Key", "v"},   {"Sec", "", "v"},      {"Sec", "K=", "v"}, {"Sec", ";K", "v"},
      {"Sec", "[K", "v"},     {"Sec", "#K", "v"},    {"Sec", "K ", "v"}, {"S\nx", "Key", "v"},
  };
  for (const auto& [Section, Key, Value] : Bad) {
    SCOPED_TRACE(std::string(Section) + "|" + std::string(Key) + "|" + std::string(Value));
    TIniFile Ini(Text);
    EXPECT_THROW(Ini.WriteString(Section, Key, Value), EIniValueError);
    EXPECT_EQ(Ini.Text(), Text);
  }
}

TEST(IniFile, FilesLoadMissingAsEmptyAndRefuseUnreadableHugeOrReadOnlyOnes) {
  TTempDir Dir;
  EXPECT_EQ(TIniFile::Load(Dir / "missing.ini").Text(), "");
  const std::string Bytes("[S]\nK=a\0b\n", 10);
  TIniFile(Bytes).Save(Dir / "f.ini");
  EXPECT_EQ(TIniFile::Load(Dir / "f.ini").Text(), Bytes);

  // Write protection holds although the file would be replaced, not written.
  ::chmod((Dir / "f.ini").c_str(), 0444);
  ExpectFileErrorNaming(Dir / "f.ini", [&] { TIniFile("x").Save(Dir / "f.ini"); });
  EXPECT_EQ(TIniFile::Load(Dir / "f.ini").Text(), Bytes);
  ::chmod((Dir / "f.ini").c_str(), 0644);

  std::filesystem::resize_file(Dir / "f.ini", MaxTextFileSize + 1);  // the limit is ReadWholeFile's, tested there
  ExpectFileErrorNaming(Dir / "f.ini", [&] { TIniFile::Load(Dir / "f.ini"); });
  ExpectFileErrorNaming(Dir.Path.string(), [&] { TIniFile::Load(Dir.Path.string()); });
}
