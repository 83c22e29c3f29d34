#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/VmBaseClasses.h"

namespace {

std::vector<std::string> Keys(const TVmHashtable& Table) {
  std::vector<std::string> Result;
  for (auto Enumerator = Table.GetEnumerator(); Enumerator->MoveNext();) Result.push_back(Enumerator->CurrentKey());
  return Result;
}

// Counts its own destructions, to check that entries free their data.
struct TCounted : TVmObject {
  explicit TCounted(int& Destroyed) : FDestroyed(Destroyed) {}
  ~TCounted() override { ++FDestroyed; }
  int& FDestroyed;
};

}  // namespace

TEST(Hashtable, KeepsDuplicateKeysInOrderAndFindsTheFirstExactly) {
  TVmHashtable Table;
  EXPECT_EQ(Table.GetValue("a"), "");
  for (auto [Key, Value] : {std::pair{"c", "0"}, {"a", "1"}, {"b", ""}, {"a", "2"}}) Table.Add(Key, Value);
  EXPECT_EQ(Keys(Table), (std::vector<std::string>{"c", "a", "b", "a"}));
  EXPECT_EQ(Table.GetValue("a"), "1");
  EXPECT_FALSE(Table.ContainsKey("A"));
  Table.Remove("a");
  EXPECT_EQ(Table.GetValue("a"), "2");
  EXPECT_EQ(Table.Count(), 3);
}

TEST(Hashtable, EnumeratorRestartsAfterTheEnd) {
  TVmHashtable Table;
  Table.Add("k", "v");
  auto Enumerator = Table.GetEnumerator();
  EXPECT_EQ(Enumerator->GetCurrent(), nullptr);
  ASSERT_TRUE(Enumerator->MoveNext());
  EXPECT_EQ(Enumerator->CurrentValue(), "v");
  EXPECT_FALSE(Enumerator->MoveNext());
  EXPECT_EQ(Enumerator->CurrentKey(), "");
  EXPECT_TRUE(Enumerator->MoveNext());
}

TEST(Hashtable, AddHandlerMayRemoveTheNewEntryAndRemovingAMissingKeyIsSilent) {
  std::vector<std::string> Events;  // outlives the table, whose destructor notifies
  TVmHashtable Table;
  Table.Add("x", "0");
  Table.OnAdd = [&](TVmHashtable& T, const std::string& Key) {
    Events.push_back("add " + Key + "=" + T.GetValue(Key));
    T.Remove(Key);
  };
  Table.OnRemove = [&](TVmHashtable&, const std::string& Key) { Events.push_back("remove " + Key); };
  Table.Add("y", "1");
  Table.Remove("missing");
  EXPECT_EQ(Events, (std::vector<std::string>{"add y=1", "remove y"}));
  // The removed entry was the last one; appending must still work.
  Table.OnAdd = nullptr;
  Table.Add("z", "2");
  EXPECT_EQ(Keys(Table), (std::vector<std::string>{"x", "z"}));
}

TEST(Hashtable, ClearAndDestructionNotifyAndFreeData) {
  int Destroyed = 0;
  std::vector<std::string> Removed;
  {
    TVmHashtable Table;
    Table.OnRemove = [&](TVmHashtable&, const std::string& Key) { Removed.push_back(Key); };
    Table.Add("a", "", std::make_unique<TCounted>(Destroyed));
    Table.Add("b", "", std::make_unique<TCounted>(Destroyed));
    Table.Remove("a");
    EXPECT_EQ(Destroyed, 1);
    Table.Clear();
    EXPECT_EQ(Destroyed, 2);
    Table.Add("c", "");
  }
  EXPECT_EQ(Removed, (std::vector<std::string>{"a", "b", "c"}));
}
