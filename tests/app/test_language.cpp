// The message catalogue the locale variables ask for.
#include <gtest/gtest.h>

#include "app/Language.h"

TEST(Language, FirstSetVariableDecidesAndOnlyGermanAndCKeepTheTextsAsWritten) {
  struct TCase {
    const char* LcAll;
    const char* LcMessages;
    const char* Lang;
    const char* Expected;
  };
  const TCase Cases[] = {
      {"", "", "", ""},
      {"", "", "C", ""},
      {"", "", "C.UTF-8", ""},
      {"POSIX", "", "en_US.UTF-8", ""},
      {"", "", "de_DE.UTF-8", ""},
      {"", "", "de_AT@euro", ""},
      {"", "", "en_US.UTF-8", "en"},
      {"", "", "fr_FR", "en"},
      {"", "", "dea_XX", "en"},                 // another language, not German
      {"", "fr_FR.UTF-8", "de_DE.UTF-8", "en"},  // LC_MESSAGES before LANG
      {"", "de_DE.UTF-8", "en_US.UTF-8", ""},
      {"en_GB.UTF-8", "de_DE.UTF-8", "C", "en"},  // LC_ALL before both
      {"C", "en_US.UTF-8", "en_US.UTF-8", ""},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(std::string(Case.LcAll) + "|" + Case.LcMessages + "|" + Case.Lang);
    EXPECT_EQ(CatalogueLanguage(Case.LcAll, Case.LcMessages, Case.Lang), Case.Expected);
  }
}
