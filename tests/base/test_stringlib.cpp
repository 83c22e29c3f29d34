#include <gtest/gtest.h>

#include "base/VmBaseClasses.h"
#include "base/VmStringLib.h"

TEST(HexToInt, ConvertsAndWrapsAt32Bits) {
  struct Case {
    const char* Text;
    uint32_t Value;
  } Cases[] = {
      {"41", 65}, {"ff", 255}, {"FF", 255}, {"", 0}, {"100000000", 0}, {"123456789", 0x23456789}, {"FFFFFFFF", 0xFFFFFFFF},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(HexToInt(C.Text), C.Value);
  }
}

TEST(HexToInt, RefusesPrefixesSignsAndOtherCharacters) {
  for (const char* Text : {"0x41", "$41", "-1", "+1", " 1", "g", "1 "}) {
    SCOPED_TRACE(Text);
    try {
      HexToInt(Text);
      ADD_FAILURE() << "accepted";
    } catch (const EConvertError& E) {
      EXPECT_STREQ(E.what(), "HexString contains invalid characters!");
    }
  }
}

TEST(Split, GivesOnePieceMoreThanSeparators) {
  using Pieces = std::vector<std::string>;
  struct Case {
    const char* Text;
    Pieces Expected;
  } Cases[] = {
      {"1.9.0.0", {"1", "9", "0", "0"}},
      {"..", {"", "", ""}},
      {"", {""}},
      {"a.", {"a", ""}},
      {".a", {"", "a"}},
      {"abc", {"abc"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(Split(C.Text, '.'), C.Expected);
  }
}

TEST(TryStrToInt, AcceptsOnlySignAndDigitsWithin32Bits) {
  struct Case {
    const char* Text;
    std::optional<int32_t> Value;
  } Cases[] = {
      {"0", 0},          {"-0", 0},         {"+7", 7},          {"0042", 42},
      {"2147483647", INT32_MAX},            {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},         {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt}, {"-", std::nullopt}, {" 1", std::nullopt}, {"1 ", std::nullopt},
      {"$10", std::nullopt}, {"0x10", std::nullopt}, {"1e3", std::nullopt}, {"\xd9\xa3", std::nullopt},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(TryStrToInt(C.Text), C.Value);
  }
}
