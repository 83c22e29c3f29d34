#include <gtest/gtest.h>

#include "base/VmBaseClasses.h"

TEST(VersionNumber, ParsesAndFormatsFourParts) {
  struct Case {
    const char* Text;
    const char* Formatted;
  } Cases[] = {
      {"1.9.0.0", "1.9.0.0"},
      {"01.002.0.0", "1.2.0.0"},
      {"-1.+2.2147483647.-2147483648", "-1.2.2147483647.-2147483648"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(TVersionNumber(C.Text).ToString(), C.Formatted);
  }
  const TVersionNumber Version("1.9.3.4");
  EXPECT_EQ(Version.Major, 1);
  EXPECT_EQ(Version.Minor, 9);
  EXPECT_EQ(Version.Release, 3);
  EXPECT_EQ(Version.Build, 4);
}

TEST(VersionNumber, RefusesBadTextsWithTheirMessages) {
  const char* const Format = "Invalid format of version number! Expected: X.X.X.X";
  struct Case {
    const char* Text;
    const char* Message;
  } Cases[] = {
      {"1.9.0", Format},
      {"1.9.0.0.0", Format},
      {"", Format},
      {"1..0.0", "Second part of Version Number is not a valid number!"},
      {"1.2.3.", "Fourth part of Version Number is not a valid number!"},
      {"x.2.3.4", "First part of Version Number is not a valid number!"},
      {"1.2. 3.4", "Third part of Version Number is not a valid number!"},
      {"1.2.3.2147483648", "Fourth part of Version Number is not a valid number!"},
      {"1.+.3.4", "Second part of Version Number is not a valid number!"},
      {"1.$A.3.4", "Second part of Version Number is not a valid number!"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    try {
      TVersionNumber Version(C.Text);
      ADD_FAILURE() << "accepted";
    } catch (const EInvalidVersionNumberException& E) {
      EXPECT_STREQ(E.what(), C.Message);
    }
  }
}

TEST(VersionNumber, PartsBeforeAFailingPartKeepTheirValues) {
  TVersionNumber Version;
  EXPECT_THROW(Version.Parse("1.a.0.0"), EInvalidVersionNumberException);
  EXPECT_EQ(Version.Major, 1);
  EXPECT_EQ(Version.Minor, 0);
}
