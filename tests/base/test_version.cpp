#include <gtest/gtest.h>

#include "base/VmBaseClasses.h"

TEST(VersionNumber, ParsesAndFormatsFourParts) {
  for (auto [Text, Formatted] : {std::pair{"1.9.0.0", "1.9.0.0"}, {"01.002.0.0", "1.2.0.0"},
                                 {"-1.+2.2147483647.-2147483648", "-1.2.2147483647.-2147483648"}}) {
    SCOPED_TRACE(Text);
    EXPECT_EQ(TVersionNumber(Text).ToString(), Formatted);
  }
}

TEST(VersionNumber, RefusesBadTextsWithTheirMessages) {
  const char* const Format = "Invalid format of version number! Expected: X.X.X.X";
  for (auto [Text, Message] : {std::pair{"1.9.0", Format}, {"1.9.0.0.0", Format}, {"", Format},
                               {"x.2.3.4", "First part of Version Number is not a valid number!"},
                               {"1..0.0", "Second part of Version Number is not a valid number!"},
                               {"1.2. 3.4", "Third part of Version Number is not a valid number!"},
                               {"1.2.3.", "Fourth part of Version Number is not a valid number!"},
                               {"1.2.3.2147483648", "Fourth part of Version Number is not a valid number!"}}) {
    SCOPED_TRACE(Text);
    try {
      TVersionNumber Version(Text);
      ADD_FAILURE() << "accepted";
    } catch (const EInvalidVersionNumberException& E) {
      EXPECT_STREQ(E.what(), Message);
    }
  }
}

TEST(VersionNumber, PartsBeforeAFailingPartKeepTheirValues) {
  TVersionNumber Version;
  EXPECT_THROW(Version.Parse("1.a.0.0"), EInvalidVersionNumberException);
  EXPECT_EQ(Version.Major, 1);
}
