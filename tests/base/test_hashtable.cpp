#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/VmBaseClasses.h"

namespace {

std::vector<std::string> Keys(const TVmHashtable& Table) {
  std::vector<std::string> Result;
  auto Enumerator = Table.GetEnumerator();
  while (Enumerator->MoveNext()) Result.push_back(Enumerator->CurrentKey());
  return Result;
}

// Counts its own destructions, to check that entries free their data.
struct TCounted : TVmObject {
  explicit TCounted(int& Destroyed) : FDestroyed(Destroyed) {}
  ~TCounted() override { ++FDestroyed; }
  int& FDestroyed;
};

}  // namespace

TEST(Hashtable, DuplicateKeysAreKeptAndTheFirstIsFound) {
  TVmHashtable Table;
  Table.Add("a", "1");
  Table.Add("a", "2");
  EXPECT_EQ(Table.Count(), 2);
  EXPECT_EQ(Table.GetValue("a"), "1");
  Table.Remove("a");
  EXPECT_EQ(Table.Count(), 1);
  EXPECT_EQ(Table.GetValue("a"), "2");
}

TEST(Hashtable, KeysAreComparedExactly) {
  TVmHashtable Table;
  Table.Add("Key", "v");
  EXPECT_TRUE(Table.ContainsKey("Key"));
  EXPECT_FALSE(Table.ContainsKey("key"));
  EXPECT_EQ(Table.GetValue("KEY"), "");
}

TEST(Hashtable, EmptyTableFindsNothing) {
  TVmHashtable Table;
  EXPECT_EQ(Table.GetValue("x"), "");
  EXPECT_FALSE(Table.ContainsKey("x"));
  EXPECT_EQ(Table.Count(), 0);
}

TEST(Hashtable, EnumeratesInInsertionOrder) {
  TVmHashtable Table;
  for (const char* Key : {"c", "a", "b"}) Table.Add(Key, "");
  EXPECT_EQ(Keys(Table), (std::vector<std::string>{"c", "a", "b"}));
}

TEST(Hashtable, EnumeratorRestartsAfterTheEnd) {
  TVmHashtable Table;
  Table.Add("k", "v");
  auto Enumerator = Table.GetEnumerator();
  EXPECT_EQ(Enumerator->GetCurrent(), nullptr);
  EXPECT_EQ(Enumerator->CurrentValue(), "");
  ASSERT_TRUE(Enumerator->MoveNext());
  EXPECT_EQ(Enumerator->CurrentValue(), "v");
  EXPECT_FALSE(Enumerator->MoveNext());
  EXPECT_EQ(Enumerator->GetCurrent(), nullptr);
  EXPECT_TRUE(Enumerator->MoveNext());
  EXPECT_EQ(Enumerator->CurrentKey(), "k");
  Enumerator->Reset();
  EXPECT_EQ(Enumerator->GetCurrent(), nullptr);
}

TEST(Hashtable, RemovingAMissingKeyRaisesNothing) {
  TVmHashtable Table;
  Table.Add("a", "1");
  int Removed = 0;
  Table.OnRemove = [&](TVmHashtable&, const std::string&) { ++Removed; };
  Table.Remove("b");
  EXPECT_EQ(Removed, 0);
  EXPECT_EQ(Table.Count(), 1);
}

TEST(Hashtable, AddHandlerMayRemoveTheNewEntry) {
  std::vector<std::string> Events;  // outlives the table, whose destructor notifies
  TVmHashtable Table;
  Table.Add("x", "0");
  Table.OnAdd = [&](TVmHashtable& T, const std::string& Key) {
    Events.push_back("add " + Key + "=" + T.GetValue(Key));
    T.Remove(Key);
  };
  Table.OnRemove = [&](TVmHashtable&, const std::string& Key) { Events.push_back("remove " + Key); };
  Table.Add("y", "1");
  EXPECT_EQ(Events, (std::vector<std::string>{"add y=1", "remove y"}));
  EXPECT_EQ(Keys(Table), (std::vector<std::string>{"x"}));
  // The tail was the removed entry; appending must still work.
  Table.OnAdd = nullptr;
  Table.Add("z", "2");
  EXPECT_EQ(Keys(Table), (std::vector<std::string>{"x", "z"}));
}

TEST(Hashtable, RemovingTheLastEntryKeepsAppendingInOrder) {
  TVmHashtable Table;
  Table.Add("a", "");
  Table.Add("b", "");
  Table.Remove("b");
  Table.Add("c", "");
  EXPECT_EQ(Keys(Table), (std::vector<std::string>{"a", "c"}));
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
    Table.Add("c", "");
    Table.Clear();
    EXPECT_EQ(Table.Count(), 0);
    EXPECT_EQ(Destroyed, 2);
    Table.Add("d", "");
  }
  EXPECT_EQ(Removed, (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(Stack, IsLastInFirstOutAndRefusesEmptyAccess) {
  TVmStack<int> Stack;
  EXPECT_THROW(Stack.Pop(), std::out_of_range);
  EXPECT_THROW(Stack.Peek(), std::out_of_range);
  Stack.Push(1);
  Stack.Push(2);
  EXPECT_EQ(Stack.Peek(), 2);
  EXPECT_EQ(Stack.Pop(), 2);
  EXPECT_EQ(Stack.Pop(), 1);
  EXPECT_EQ(Stack.Count(), 0);
}
