#include <gtest/gtest.h>

#include "rename/NameText.h"

TEST(CaseMapping, MapsEachCodePointToOne) {
  EXPECT_EQ(UpperCaseName("ä-ß-ǆ-ﬃ-ÿ"), "Ä-ß-Ǆ-ﬃ-Ÿ");
  EXPECT_EQ(LowerCaseName("ŒUVRE ǄA"), "œuvre ǆa");
  EXPECT_EQ(LowerCaseName("ÀÉ\xff"), "àé\xff");
}
