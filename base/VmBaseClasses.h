// Small containers and value types shared by the XML library and the program:
// the ordered key/value table, the enumerator base, the stack and
// four-part version numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The base exception type: carries a message text. Every recoverable error of
// the core is raised as an Exception or a class derived from it (a file
// error, a conversion error, an XML error, an INI value that cannot be
// stored); the rename engine's text checks alone return their messages,
// which are shown to the user as they are.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised when a text does not convert to the number asked for.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Root of objects that a table entry may own (`THashtableItem::Data`).
class TVmObject {
 public:
  virtual ~TVmObject() = default;
};

// Abstract enumerator: loop while MoveNext(), read GetCurrent().
template <class T>
class TVmEnumerator {
 public:
  virtual ~TVmEnumerator() = default;
  // The current item; nullptr before the first step and after the end.
  virtual T* GetCurrent() const = 0;
  // Steps to the next item; false when there is none.
  virtual bool MoveNext() = 0;
  // Goes back to before the first item.
  virtual void Reset() = 0;
};

// One entry of a TVmHashtable.
struct THashtableItem {
  std::string Key;
  std::string Value;
  std::unique_ptr<TVmObject> Data;  // owned; destroyed with the entry
  std::unique_ptr<THashtableItem> Next;
};

class TVmHashtableEnumerator;

// A string-to-string table that keeps its entries in insertion order.
// Despite the name it does not hash: it is a list searched from the front,
// meant for a handful of entries such as one element's attributes. A key
// added twice is stored twice; lookups find the first entry.
class TVmHashtable {
 public:
  // Raised with the table and the entry's key.
  using TNotification = std::function<void(TVmHashtable& Table, const std::string& Key)>;

  TVmHashtable() = default;
  TVmHashtable(const TVmHashtable&) = delete;
  TVmHashtable& operator=(const TVmHashtable&) = delete;
  ~TVmHashtable();

  // Appends an entry behind any existing one, then raises OnAdd.
  void Add(std::string Key, std::string Value, std::unique_ptr<TVmObject> Data = nullptr);
  // Removes the first entry with Key (raising OnRemove first); nothing when absent.
  void Remove(std::string_view Key);
  // Removes every entry, raising OnRemove for each.
  void Clear();
  bool ContainsKey(std::string_view Key) const;
  // The first entry's value; empty when there is none.
  std::string GetValue(std::string_view Key) const;
  int Count() const { return FCount; }
  // A new enumerator over the entries in insertion order.
  std::unique_ptr<TVmHashtableEnumerator> GetEnumerator() const;
  // The first entry, for walking the list directly through Next.
  const THashtableItem* First() const { return FFirst.get(); }

  TNotification OnAdd;     // after an entry was added
  TNotification OnRemove;  // before an entry is removed

 private:
  const THashtableItem* Find(std::string_view Key) const;

  std::unique_ptr<THashtableItem> FFirst;
  THashtableItem* FLast = nullptr;  // keeps Add constant-time
  int FCount = 0;
};

// Enumerates a TVmHashtable's entries in insertion order.
class TVmHashtableEnumerator : public TVmEnumerator<const THashtableItem> {
 public:
  explicit TVmHashtableEnumerator(const TVmHashtable& Table) : FTable(Table) {}
  const THashtableItem* GetCurrent() const override { return FCurrent; }
  bool MoveNext() override;
  void Reset() override { FCurrent = nullptr; }
  std::string CurrentKey() const { return FCurrent ? FCurrent->Key : std::string(); }
  std::string CurrentValue() const { return FCurrent ? FCurrent->Value : std::string(); }

 private:
  const TVmHashtable& FTable;
  const THashtableItem* FCurrent = nullptr;
};

// A last-in-first-out stack. Pop and Peek on an empty stack throw std::out_of_range.
template <class T>
class TVmStack {
 public:
  void Push(T Item) { FItems.push_back(std::move(Item)); }
  T Pop() {
    T Item = std::move(Top());
    FItems.pop_back();
    return Item;
  }
  T& Peek() { return Top(); }
  const T& Peek() const { return const_cast<TVmStack*>(this)->Top(); }
  int Count() const { return static_cast<int>(FItems.size()); }

 private:
  T& Top() {
    if (FItems.empty()) throw std::out_of_range("Stack is empty");
    return FItems.back();
  }
  std::vector<T> FItems;
};

// Raised for every text that is not a four-part version number.
class EInvalidVersionNumberException : public Exception {
 public:
  using Exception::Exception;
};

// A four-part version number such as "1.9.0.0".
class TVersionNumber {
 public:
  TVersionNumber() = default;
  // Parses Text; throws EInvalidVersionNumberException. Parts parsed before
  // a failing one keep their values (visible through Parse on an object).
  explicit TVersionNumber(std::string_view Text) { Parse(Text); }
  void Parse(std::string_view Text);
  std::string ToString() const;

  int32_t Major = 0;
  int32_t Minor = 0;
  int32_t Release = 0;
  int32_t Build = 0;
};
