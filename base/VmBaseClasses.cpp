#include "base/VmBaseClasses.h"

#include "base/VmStringLib.h"

TVmHashtable::~TVmHashtable() { Clear(); }

void TVmHashtable::Add(std::string Key, std::string Value, std::unique_ptr<TVmObject> Data) {
  auto Item = std::make_unique<THashtableItem>();
  Item->Key = Key;
  Item->Value = std::move(Value);
  Item->Data = std::move(Data);
  THashtableItem* Raw = Item.get();
  if (FLast)
    FLast->Next = std::move(Item);
  else
    FFirst = std::move(Item);
  FLast = Raw;
  ++FCount;
  // Raised after the entry is in place, so a handler may look it up or remove it.
  if (OnAdd) OnAdd(*this, Key);
}

const THashtableItem* TVmHashtable::Find(std::string_view Key) const {
  for (const THashtableItem* Item = FFirst.get(); Item; Item = Item->Next.get())
    if (Item->Key == Key) return Item;
  return nullptr;
}

void TVmHashtable::Remove(std::string_view Key) {
  THashtableItem* Previous = nullptr;
  std::unique_ptr<THashtableItem>* Link = &FFirst;
  while (*Link && (*Link)->Key != Key) {
    Previous = Link->get();
    Link = &(*Link)->Next;
  }
  if (!*Link) return;
  if (OnRemove) OnRemove(*this, (*Link)->Key);
  // The handler may not change the list, so the link found above still holds.
  std::unique_ptr<THashtableItem> Item = std::move(*Link);
  *Link = std::move(Item->Next);
  if (FLast == Item.get()) FLast = Previous;
  --FCount;
}

void TVmHashtable::Clear() {
  while (FFirst) {
    if (OnRemove) OnRemove(*this, FFirst->Key);
    std::unique_ptr<THashtableItem> Item = std::move(FFirst);
    FFirst = std::move(Item->Next);
    --FCount;
  }
  FLast = nullptr;
  FCount = 0;
}

bool TVmHashtable::ContainsKey(std::string_view Key) const { return Find(Key) != nullptr; }

std::string TVmHashtable::GetValue(std::string_view Key) const {
  const THashtableItem* Item = Find(Key);
  return Item ? Item->Value : std::string();
}

std::unique_ptr<TVmHashtableEnumerator> TVmHashtable::GetEnumerator() const {
  return std::make_unique<TVmHashtableEnumerator>(*this);
}

bool TVmHashtableEnumerator::MoveNext() {
  FCurrent = FCurrent ? FCurrent->Next.get() : FTable.First();
  return FCurrent != nullptr;
}

void TVersionNumber::Parse(std::string_view Text) {
  Major = Minor = Release = Build = 0;
  const std::vector<std::string> Pieces = Split(Text, '.');
  if (Pieces.size() != 4)
    throw EInvalidVersionNumberException("Invalid format of version number! Expected: X.X.X.X");
  static const char* const Messages[4] = {
      "First part of Version Number is not a valid number!",
      "Second part of Version Number is not a valid number!",
      "Third part of Version Number is not a valid number!",
      "Fourth part of Version Number is not a valid number!",
  };
  int32_t* Fields[4] = {&Major, &Minor, &Release, &Build};
  for (int I = 0; I < 4; ++I) {
    const std::optional<int32_t> Value = TryStrToInt(Pieces[I]);
    if (!Value) throw EInvalidVersionNumberException(Messages[I]);
    *Fields[I] = *Value;
  }
}

std::string TVersionNumber::ToString() const {
  return std::to_string(Major) + '.' + std::to_string(Minor) + '.' + std::to_string(Release) + '.' +
         std::to_string(Build);
}
