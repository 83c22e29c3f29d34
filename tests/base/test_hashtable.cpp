#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/VmBaseClasses.h"

namespace {

std::vector<std::string> Keys(const TVmHashtable& Table) {
  std::vector<std::string> Result;
  for (const THashtableItem* Item = Table.First(); Item; Item = Item->Next.get()) Result.push_back(Item->Key);
  return Result;
}

}  // namespace

TEST(Hashtable, KeepsDuplicateKeysInOrderFindsTheFirstExactlyAndAppendsAfterRemovals) {
  TVmHashtable Table;
  EXPECT_EQ(Table.GetValue("a"), "");
  for (auto [Key, Value] : {std::pair{"c", "0"}, {"a", "1"}, {"b", ""}, {"a", "2"}}) Table.Add(Key, Value);
  EXPECT_EQ(Keys(Table), (std::vector<std::string>{"c", "a", "b", "a"}));
  EXPECT_EQ(Table.GetValue("a"), "1");
  EXPECT_FALSE(Table.ContainsKey("A"));
  Table.Remove("a");
  EXPECT_EQ(Table.GetValue("a"), "2");
  Table.Remove("a");  // the last entry: appending must still work
  Table.Add("d", "");
  EXPECT_EQ(Keys(Table), (std::vector<std::string>{"c", "b", "d"}));
}
