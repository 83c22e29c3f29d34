#include <gtest/gtest.h>

#include "rename/NameText.h"

TEST(Utf8Names, DecodeUndecodableBytesToLowSurrogatesAndBack) {
  const struct { const char* What; std::string Bytes; std::u32string CodePoints; bool Valid; } Cases[] = {
      {"umlaut and emoji", "ä😀", U"ä😀", true},
      {"lone byte", "a\xff", U"a\xdcff", false},
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

TEST(CaseMapping, MapsEachCodePointToOne) {
  EXPECT_EQ(UpperCaseName("ä-ß-ǆ-ﬃ-ÿ"), "Ä-ß-Ǆ-ﬃ-Ÿ");
  EXPECT_EQ(LowerCaseName("ŒUVRE ǄA"), "œuvre ǆa");
  EXPECT_EQ(LowerCaseName("ÀÉ\xff"), "àé\xff");
}
