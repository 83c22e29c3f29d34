#include <gtest/gtest.h>

#include "base/VmBaseClasses.h"
#include "base/VmStringLib.h"

// Each case: a text and its value; none where the text is refused.
TEST(HexToInt, ConvertsWrapsAt32BitsAndRefusesPrefixesSignsAndOtherCharacters) {
  const std::pair<const char*, std::optional<uint32_t>> Cases[] = {
      {"41", 65}, {"ff", 255}, {"FF", 255}, {"", 0}, {"100000000", 0}, {"123456789", 0x23456789},
      {"0x41", {}}, {"$41", {}}, {"-1", {}}, {" 1", {}}, {"g", {}}};
  for (const auto& [Text, Value] : Cases) {
    SCOPED_TRACE(Text);
    try {
      const uint32_t Got = HexToInt(Text);
      EXPECT_EQ(Got, Value.value_or(Got + 1));
    } catch (const EConvertError& E) {
      EXPECT_FALSE(Value);
      EXPECT_STREQ(E.what(), "HexString contains invalid characters!");
    }
  }
}

TEST(Split, GivesOnePieceMoreThanSeparators) {
  using Pieces = std::vector<std::string>;
  for (const auto& [Text, Expected] : {std::pair<const char*, Pieces>{"1.9.0.0", {"1", "9", "0", "0"}},
                                       {"..", {"", "", ""}}, {"", {""}}, {"a.", {"a", ""}}}) {
    SCOPED_TRACE(Text);
    EXPECT_EQ(Split(Text, '.'), Expected);
  }
}

TEST(TryStrToInt, AcceptsOnlySignAndDigitsWithin32Bits) {
  const std::pair<const char*, std::optional<int32_t>> Cases[] = {
      {"-0", 0}, {"+7", 7}, {"0042", 42}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt}, {"-2147483649", std::nullopt}, {"99999999999999999999", std::nullopt},
      {"", std::nullopt}, {"-", std::nullopt}, {" 1", std::nullopt}, {"1 ", std::nullopt},
      {"$10", std::nullopt}, {"1e3", std::nullopt}, {"\xd9\xa3", std::nullopt},
  };
  for (const auto& [Text, Value] : Cases) {
    SCOPED_TRACE(Text);
    EXPECT_EQ(TryStrToInt(Text), Value);
  }
}
