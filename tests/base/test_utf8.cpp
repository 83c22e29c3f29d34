#include <gtest/gtest.h>

#include "base/FileNames.h"
#include "base/Utf8.h"

TEST(Utf8, DecodesUndecodableBytesToLowSurrogatesAndBack) {
  const struct { const char* What; std::string Bytes; std::u32string CodePoints; bool Valid; } Cases[] = {
      {"umlaut and emoji", "ä😀", U"ä😀", true},      {"lone byte", "a\xff", U"a\xdcff", false},
      {"truncated sequence", "\xe2\x82", U"\xdce2\xdc82", false},
      {"overlong slash", "\xc0\xaf", U"\xdcc0\xdcaf", false},
      {"encoded surrogate", "\xed\xb3\xbf", U"\xdced\xdcb3\xdcbf", false},
      {"above U+10FFFF", "\xf4\x90\x80\x80", U"\xdcf4\xdc90\xdc80\xdc80", false},
      {"stray continuation", "\x80" "a", U"\xdc80" "a", false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    EXPECT_EQ(DecodeUtf8(C.Bytes), C.CodePoints);
    EXPECT_EQ(EncodeUtf8(C.CodePoints), C.Bytes);
    EXPECT_EQ(IsValidUtf8(C.Bytes), C.Valid);
  }
}

TEST(Utf8, TruncatesWholeCharactersOnly) {
  EXPECT_EQ(TruncateUtf8("abc", 80), "abc");
  EXPECT_EQ(TruncateUtf8("\xC3\xA4\xC3\xB6\xC3\xBC", 2), "\xC3\xA4\xC3\xB6");
  EXPECT_EQ(TruncateUtf8("a\xF0\x9F\x98\x80z", 2), "a\xF0\x9F\x98\x80");
}

TEST(FileNames, SplitAtTheLastDotAfterTheLastSlash) {
  const struct { const char *Name, *WithoutExt, *Ext; } Cases[] = {
      {"archive.tar.gz", "archive.tar", "gz"},      {"README", "README", ""},
      {".profile", "", "profile"},                  {"name.", "name", ""},
      {"dir.d/file", "dir.d/file", ""},             {"a.b\\c:d", "a", "b\\c:d"},
      {"Grüße.tär", "Grüße", "tär"},                {"", "", ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(RemoveFileExt(C.Name), C.WithoutExt);
    EXPECT_EQ(GetFileExt(C.Name), C.Ext);
  }
}
