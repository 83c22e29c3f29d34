#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "base/IniFile.h"
#include "support/TempDir.h"

namespace {

struct TReadCase {
  const char* What;
  std::string Text;
  std::optional<std::string> Expected;  // the value of key "Key" in section "Sec"
};

struct TWriteCase {
  const char* What;
  std::string Before;
  std::string After;  // after setting "Key" in "Sec" to "v"
};

}  // namespace

TEST(IniFile, ReadsTheFirstMatchingKeyOfTheFirstMatchingSectionWithTheValueWhole) {
  const std::string Long(3000, 'x');
  const TReadCase Cases[] = {
      {"names ignore case", "[sEC]\nkEY=a\n", "a"},
      {"blanks around names", "  [ Sec ]  \n  Key \t= b\n", " b"},
      {"value kept exactly", "[Sec]\nKey=  \"q\" ; x = y \t\n", "  \"q\" ; x = y \t"},
      {"empty value", "[Sec]\nKey=\n", ""},
      {"CR LF and a CR at the end", "[Sec]\r\nKey=c\r", "c"},
      {"no line ending", "[Sec]\nKey=d", "d"},
      {"long value", "[Sec]\nKey=" + Long + "\n", Long},
      {"byte order mark", "\xEF\xBB\xBF[Sec]\nKey=e\n", "e"},
      {"first key wins", "[Sec]\nKey=1\nKEY=2\n", "1"},
      {"first section wins", "[Sec]\nOther=1\n[Sec]\nKey=2\n", std::nullopt},
      {"other section", "[Other]\nKey=1\n[Sec]\n", std::nullopt},
      {"before any section", "Key=1\n[Sec]\n", std::nullopt},
      {"comments are no keys", "[Sec]\n;Key=1\n#Key=2\n", std::nullopt},
      {"'[' without ']' ends nothing", "[Sec]\n[broken\nKey=f\n", "f"},
      {"text after ']' ignored", "[Sec] x=y\nKey=g\n", "g"},
      {"empty key name", "[Sec]\n=Key\n", std::nullopt},
      {"prefix of a name", "[Section]\nKey=1\n[Sec]\nKeys=2\n", std::nullopt},
  };
  for (const TReadCase& C : Cases) {
    SCOPED_TRACE(C.What);
    EXPECT_EQ(TIniFile(C.Text).ReadValue("Sec", "Key"), C.Expected);
  }
  EXPECT_EQ(TIniFile("[Sec]\n").ReadString("Sec", "Key", "dflt"), "dflt");
}

TEST(IniFile, WritingChangesOneValueOrAddsLinesAndKeepsEveryOtherByte) {
  const TWriteCase Cases[] = {
      {"empty text", "", "[Sec]\nKey=v\n"},
      {"value in place", "; c\r\n[a]\nKey=x\n\n[SEC] ; s\n kEY = old \r\nz=1\n", "; c\r\n[a]\nKey=x\n\n[SEC] ; s\n kEY =v\r\nz=1\n"},
      {"key behind the last non-blank line", "[Sec]\na=1\n;c\n\n\n[b]\n", "[Sec]\na=1\n;c\nKey=v\n\n\n[b]\n"},
      {"key behind a header at the end", "[Sec]", "[Sec]\nKey=v\n"},
      {"key only in the first section", "[Sec]\n[Sec]\nKey=1\n", "[Sec]\nKey=v\n[Sec]\nKey=1\n"},
      {"section appended after a blank line", "[a]\r\nb=1", "[a]\r\nb=1\r\n\r\n[Sec]\r\nKey=v\r\n"},
      {"no second blank line", "[a]\n\n", "[a]\n\n[Sec]\nKey=v\n"},
      {"a trailing CR is completed", "[Sec]\na=1\r", "[Sec]\na=1\r\nKey=v\n"},
  };
  for (const TWriteCase& C : Cases) {
    SCOPED_TRACE(C.What);
    TIniFile Ini(C.Before);
    EXPECT_TRUE(Ini.WriteString("Sec", "Key", "v"));
    EXPECT_EQ(Ini.Text(), C.After);
    EXPECT_EQ(Ini.ReadValue("Sec", "Key"), "v");
  }
}

TEST(IniFile, NamesAndValuesThatWouldNotReadBackAreRefused) {
  const std::string Text = "[Sec]\nKey=1\n";
  const std::string_view Bad[][3] = {
      {"Sec", "Key", "a\nb"}, {"Sec", "Key", "a\r"},  {"", "Key", "v"},   {"S]", "Key", "v"},
      {" Sec", "Key", "v"},   {"Sec", "", "v"},       {"Sec", "K=", "v"}, {"Sec", ";K", "v"},
      {"Sec", "[K", "v"},     {"Sec", "#K", "v"},     {"Sec", "K ", "v"}, {"S\nx", "Key", "v"},
  };
  for (const auto& [Section, Key, Value] : Bad) {
    SCOPED_TRACE(std::string(Section) + "|" + std::string(Key) + "|" + std::string(Value));
    TIniFile Ini(Text);
    EXPECT_FALSE(Ini.WriteString(Section, Key, Value));
    EXPECT_EQ(Ini.Text(), Text);
  }
}

TEST(IniFile, FilesLoadMissingAsEmptyAndRefuseUnreadableOrHugeOnes) {
  TTempDir Dir;
  EXPECT_EQ(TIniFile::Load(Dir / "missing.ini").Text(), "");
  EXPECT_EQ(TIniFile::Load(Dir / "no/folder.ini").Text(), "");
  TIniFile Ini;
  Ini.WriteString("Sec", "Key", std::string("a\0b", 3));
  Ini.Save(Dir / "f.ini");
  EXPECT_EQ(TIniFile::Load(Dir / "f.ini").ReadValue("Sec", "Key"), std::string("a\0b", 3));

  std::filesystem::resize_file(Dir / "f.ini", TIniFile::MaxFileSize + 1);
  ExpectFileErrorNaming(Dir / "f.ini", [&] { TIniFile::Load(Dir / "f.ini"); });
  ExpectFileErrorNaming(Dir.Path.string(), [&] { TIniFile::Load(Dir.Path.string()); });
  if (::geteuid() != 0) {
    ::chmod((Dir / "f.ini").c_str(), 0);
    ExpectFileErrorNaming(Dir / "f.ini", [&] { TIniFile::Load(Dir / "f.ini"); });
  }
}
