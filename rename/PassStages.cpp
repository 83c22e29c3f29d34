#include "rename/PassStages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <utility>

#include "base/Translation.h"
#include "base/VmDateTime.h"
#include "rename/NameText.h"

namespace {

// The longest name a folder entry can have on Linux file systems, in bytes.
constexpr size_t MaxNameBytes = 255;

bool IsToBeRenamed(const TPassEntry& Entry) { return Entry.Status == psRename; }

// A name as its folder compares it: the folder's number and the name,
// lower-cased where the folder ignores case. The name is a view.
struct TNameKey {
  int Folder;
  std::string_view Name;
  bool operator==(const TNameKey&) const = default;
};

// Names to values in one open-addressed array: no allocation per name, for
// the hundred thousand names a pass may hold.
template <class T>
class TNameMap {
 public:
  explicit TNameMap(size_t Expected = 0) { Resize(Expected * 2); }
  // The value of Key, and whether it was added now (an existing one stays).
  std::pair<T*, bool> emplace(const TNameKey& Key, T Value) {
    if ((FCount + 1) * 2 > FSlots.size()) Resize(FSlots.size() * 2);
    TSlot& Slot = SlotOf(Key, HashOf(Key));
    if (Slot.Used) return {&Slot.Value, false};
    Slot = {Key, std::move(Value), true};
    ++FCount;
    return {&Slot.Value, true};
  }
  const T* find(const TNameKey& Key) const {
    const TSlot& Slot = const_cast<TNameMap*>(this)->SlotOf(Key, HashOf(Key));
    return Slot.Used ? &Slot.Value : nullptr;
  }
  bool contains(const TNameKey& Key) const { return find(Key) != nullptr; }
  bool empty() const { return FCount == 0; }

 private:
  struct TSlot {
    TNameKey Key{};
    T Value{};
    bool Used = false;
  };
  static size_t HashOf(const TNameKey& Key) {
    return std::hash<std::string_view>()(Key.Name) * 31 + size_t(Key.Folder);
  }
  // The slot that holds Key, or the empty one where it belongs.
  TSlot& SlotOf(const TNameKey& Key, size_t Hash) {
    for (size_t At = Hash & (FSlots.size() - 1);; At = (At + 1) & (FSlots.size() - 1))
      if (!FSlots[At].Used || FSlots[At].Key == Key) return FSlots[At];
  }
  void Resize(size_t Wanted) {
    size_t Size = 16;
    while (Size < Wanted) Size <<= 1;
    std::vector<TSlot> Old = std::exchange(FSlots, std::vector<TSlot>(Size));
    for (TSlot& Slot : Old)
      if (Slot.Used) SlotOf(Slot.Key, HashOf(Slot.Key)) = std::move(Slot);
  }

  std::vector<TSlot> FSlots;
  size_t FCount = 0;
};

// The keys of every entry's present and new name. Names are only copied
// (lower-cased) for entries whose folder ignores case.
class TEntryKeys {
 public:
  explicit TEntryKeys(const std::vector<TPassEntry>& Entries) : FEntries(Entries) {
    for (size_t I = 0; I < Entries.size(); ++I) {
      if (!Entries[I].IgnoreCase) continue;
      if (FFolded.empty()) FFolded.resize(Entries.size());
      FFolded[I] = {LowerCaseName(Entries[I].Name), LowerCaseName(Entries[I].NewName)};
    }
  }
  TNameKey Old(size_t I) const {
    return {FEntries[I].FolderId, FEntries[I].IgnoreCase ? std::string_view(FFolded[I].first) : FEntries[I].Name};
  }
  TNameKey New(size_t I) const {
    return {FEntries[I].FolderId, FEntries[I].IgnoreCase ? std::string_view(FFolded[I].second) : FEntries[I].NewName};
  }
  // Entries by the name they hold now, for every entry found on disk.
  TNameMap<int> ByOldName() const {
    TNameMap<int> ByName(FEntries.size());
    for (size_t I = 0; I < FEntries.size(); ++I)
      if (FEntries[I].Found) ByName.emplace(Old(I), int(I));
    return ByName;
  }

 private:
  const std::vector<TPassEntry>& FEntries;
  std::vector<std::pair<std::string, std::string>> FFolded;
};

std::string Quoted(std::string_view Text) {
  std::string Result;
  Result.reserve(Text.size() + 2);
  Result += '"';
  Result += Text;
  Result += '"';
  return Result;
}

}  // namespace

std::string GroupedNumber(size_t Value) {
  const std::string Digits = std::to_string(Value);
  std::string Grouped;
  for (size_t I = 0; I < Digits.size(); ++I) {
    if (I > 0 && (Digits.size() - I) % 3 == 0) Grouped += ',';
    Grouped += Digits[I];
  }
  return Grouped;
}


int TPassResult::Problems() const {
  int Count = 0;
  for (const TPassEntry& Entry : Entries)
    if (Entry.Status != psRename && Entry.Status != psRenamed && Entry.Status != psUnchanged) ++Count;
  return Count;
}

std::string_view PassStatusKey(TPassStatus Status) {
  switch (Status) {
    case psRename: return "rename";
    case psRenamed: return "renamed";
    case psUnchanged: return "unchanged";
    case psNotFound: return "not-found";
    case psSkipped: return "skipped";
    case psInvalidName: return "invalid-name";
    case psDuplicate: return "duplicate";
    case psTaken: return "taken";
    case psSameFile: return "same-file";
    case psChanged: return "changed";
    case psFailed: return "failed";
    case psCycleStopped: return "ring-stopped";
    case psStopped: return "stopped";
  }
  return {};
}

std::string PassReason(const TPassResult& Result, const TPassEntry& Entry) {
  const auto OtherPath = [&] {
    return Entry.Other >= 0 ? Quoted(Result.Entries[size_t(Entry.Other)].Path()) : Tr("Passes", "another file");
  };
  switch (Entry.Status) {
    case psRename:
    case psRenamed:
    case psUnchanged:
      return {};
    case psNotFound:
      return Tr("Passes", "the file is not there");
    case psSkipped:
      return Tr("Passes", "read-only: left as it is");
    case psInvalidName:
      return Entry.NewName.empty() ? Tr("Passes", "the new name is empty")
                                   : Filled(Tr("Passes", "%1 cannot name a file"), {Quoted(Entry.NewName)});
    case psDuplicate:
      return Filled(Tr("Passes", "%1 is given the same name before it"), {OtherPath()});
    case psTaken:
      return Entry.Other >= 0 ? Filled(Tr("Passes", "the name is held by %1, which keeps it"), {OtherPath()})
                              : Filled(Tr("Passes", "a file named %1 already exists"), {Quoted(Entry.NewName)});
    case psSameFile:
      return Filled(Tr("Passes", "%1 is another name of this same file"), {Quoted(Entry.NewName)});
    case psChanged:
      return Tr("Passes", "the file changed on disk after it was checked");
    case psFailed:
      return std::strerror(Entry.Error);
    case psCycleStopped:
      return Filled(Tr("Passes", "left under its old name: %1, with which it swaps names, could not be renamed"),
                    {OtherPath()});
    case psStopped:
      return Tr("Passes", "the pass was stopped before this file");
  }
  return {};
}

std::string PassSummary(const TPassResult& Result) {
  const int Problems = Result.Problems();
  if (Problems == 0) return {};
  return Filled(Problems == 1 ? Tr("Passes", "%1 of %2 new names conflicts")
                              : Tr("Passes", "%1 of %2 new names conflict"),
                {GroupedNumber(size_t(Problems)), GroupedNumber(Result.Entries.size())});
}

std::vector<TPassEntry> CollectEntries(const std::vector<TPassFile>& Files) {
  std::vector<TPassEntry> Entries(Files.size());
  std::unordered_map<std::string_view, int> FolderIds;
  for (size_t I = 0; I < Files.size(); ++I) {
    const std::string& Path = Files[I].Path;
    const size_t NameStart = Path.rfind('/') + 1;  // npos + 1 is 0
    Entries[I].Position = Files[I].Position;
    Entries[I].Folder = Path.substr(0, NameStart);
    Entries[I].Name = Path.substr(NameStart);
    Entries[I].FolderId =
        FolderIds.emplace(std::string_view(Path).substr(0, NameStart), int(FolderIds.size())).first->second;
  }
  return Entries;
}

void LookUpEntries(std::vector<TPassEntry>& Entries, TFileSystem& Fs) {
  for (TPassEntry& Entry : Entries) {
    const std::optional<TFileStatus> File = Fs.Stat(Entry.Path());
    Entry.Found = File.has_value();
    if (File)
      Entry.File = *File;
    else
      Entry.Status = psNotFound;
  }
  FindFolderCase(Entries, Fs);
}

void FindFolderCase(std::vector<TPassEntry>& Entries, TFileSystem& Fs) {
  // Per folder: whether it ignores case, once a name in it could tell.
  std::unordered_map<std::string, bool> Decided;
  for (const TPassEntry& Entry : Entries) {
    // Only a name with a letter can show that case is ignored.
    if (!Entry.Found || Decided.contains(Entry.Folder) || UpperCaseName(Entry.Name) == LowerCaseName(Entry.Name))
      continue;
    Decided.emplace(Entry.Folder, Fs.IgnoresCase(Entry.Folder, Entry.Name));
  }
  for (TPassEntry& Entry : Entries)
    if (const auto Known = Decided.find(Entry.Folder); Known != Decided.end()) Entry.IgnoreCase = Known->second;
}

void BuildNames(std::vector<TPassEntry>& Entries, const TNameBuilder& Builder, int32_t& CounterValue,
                bool AlsoNotFound) {
  const bool ReadDates = Builder.UsedFields().Contains(ufDate) || Builder.UsedFields().Contains(ufTime);
  const bool ReadMetadata = MetadataGroupsOf(Builder.UsedFields()) != 0;
  for (TPassEntry& Entry : Entries) {
    if (!(IsToBeRenamed(Entry) || (AlsoNotFound && Entry.Status == psNotFound))) continue;
    // A file that is not there has no date.
    const bool HasDate = Entry.Found && Entry.File.DateSeconds != TFileStatus::NoDate;
    const TDateTime Date = ReadDates && HasDate ? UnixTimeToDateTime(Entry.File.DateSeconds) : 0;
    // What is inside the file is read once, and only for the fields that need it.
    const TFileMetadata Metadata = ReadMetadata && Entry.Found ? Builder.ReadMetadata(Entry.Path()) : TFileMetadata();
    Entry.NewName = Builder.Build(Entry.Name, Date, CounterValue, &Metadata);
    if (IsToBeRenamed(Entry) && Entry.NewName == Entry.Name) Entry.Status = psUnchanged;
  }
}

void RefuseInvalidNames(std::vector<TPassEntry>& Entries) {
  for (TPassEntry& Entry : Entries) {
    const std::string& Name = Entry.NewName;
    if (IsToBeRenamed(Entry) && (Name.empty() || Name == "." || Name == ".." || Name.size() > MaxNameBytes ||
                                 Name.find_first_of(std::string_view("/\0", 2)) != std::string::npos))
      Entry.Status = psInvalidName;
  }
}

void RefuseDuplicates(std::vector<TPassEntry>& Entries) {
  const TEntryKeys Keys(Entries);
  TNameMap<int> FirstByName(Entries.size());
  for (int I = 0; I < static_cast<int>(Entries.size()); ++I) {
    TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry)) continue;
    const auto [First, New] = FirstByName.emplace(Keys.New(size_t(I)), I);
    if (!New) {
      Entry.Status = psDuplicate;
      Entry.Other = *First;
    }
  }
}

namespace {

// What the folders of the pass hold under the new names of its entries:
// names in a folder where many are looked up come from one listing of it,
// the others from looking each up.
class TTargetLookup {
 public:
  TTargetLookup(const std::vector<TPassEntry>& Entries, const TEntryKeys& Keys, TFileSystem& Fs)
      : FEntries(Entries), FKeys(Keys), FFs(Fs) {
    // Listing a folder costs about a tenth of looking up one name per entry
    // it holds; it is done where that is cheaper than the look-ups.
    constexpr int MinLookups = 256;
    constexpr uint64_t BytesPerEntry = 24;  // about, in a folder's size
    std::unordered_map<int, int> Lookups;
    for (const TPassEntry& Entry : Entries)
      if (IsToBeRenamed(Entry)) ++Lookups[Entry.FolderId];
    for (const auto& [Folder, Count] : Lookups) {
      if (Count < MinLookups) continue;
      const TPassEntry& Sample = *std::find_if(Entries.begin(), Entries.end(),
                                               [Id = Folder](const TPassEntry& E) { return E.FolderId == Id; });
      const std::optional<TFileStatus> Status = Fs.Stat(Sample.Folder + ".");
      if (!Status || Status->Size / BytesPerEntry > uint64_t(Count) * 10) continue;
      std::optional<std::vector<TFileSystem::TFolderName>> Names = Fs.ListFolder(Sample.Folder);
      if (!Names) continue;
      TListing& Listing = FListings[Folder];
      Listing.Names = std::move(*Names);
      Listing.Folded.resize(Sample.IgnoreCase ? Listing.Names.size() : 0);
      Listing.Inodes = TNameMap<uint64_t>(Listing.Names.size());
      for (size_t I = 0; I < Listing.Names.size(); ++I) {
        if (Sample.IgnoreCase) Listing.Folded[I] = LowerCaseName(Listing.Names[I].Name);
        const std::string& Name = Sample.IgnoreCase ? Listing.Folded[I] : Listing.Names[I].Name;
        Listing.Inodes.emplace({Folder, Name}, Listing.Names[I].Inode);
      }
    }
  }

  enum THolder { hoNone, hoThisFile, hoOtherFile };
  // What holds entry I's new name on disk.
  THolder HolderOf(size_t I) const {
    const TPassEntry& Entry = FEntries[I];
    if (const auto Listing = FListings.find(Entry.FolderId); Listing != FListings.end()) {
      const uint64_t* Found = Listing->second.Inodes.find(FKeys.New(I));
      if (Found == nullptr) return hoNone;
      return *Found == Entry.File.Inode ? hoThisFile : hoOtherFile;
    }
    const std::optional<TFileStatus> There = FFs.Stat(Entry.NewPath());
    if (!There) return hoNone;
    return There->SameInode(Entry.File) ? hoThisFile : hoOtherFile;
  }

 private:
  struct TListing {
    std::vector<TFileSystem::TFolderName> Names;
    std::vector<std::string> Folded;
    TNameMap<uint64_t> Inodes;
  };
  const std::vector<TPassEntry>& FEntries;
  const TEntryKeys& FKeys;
  TFileSystem& FFs;
  std::unordered_map<int, TListing> FListings;
};

}  // namespace

void RefuseTakenNames(std::vector<TPassEntry>& Entries, TFileSystem& Fs) {
  const TEntryKeys Keys(Entries);
  const TNameMap<int> ByName = Keys.ByOldName();
  const TTargetLookup Targets(Entries, Keys, Fs);
  TNameMap<int> ByTarget(Entries.size());  // entries to be renamed, by their new name
  std::vector<int> Refused;
  for (int I = 0; I < static_cast<int>(Entries.size()); ++I) {
    TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry)) continue;
    const TNameKey Target = Keys.New(size_t(I));
    ByTarget.emplace(Target, I);
    // A name that an entry of the pass leaves (this entry itself, for a
    // change of case where case is ignored) is free once that entry moves.
    const int* Holder = ByName.find(Target);
    if (Holder != nullptr && IsToBeRenamed(Entries[size_t(*Holder)])) continue;
    const TTargetLookup::THolder There = Targets.HolderOf(size_t(I));
    if (There == TTargetLookup::hoNone) continue;
    Entry.Status = There == TTargetLookup::hoThisFile ? psSameFile : psTaken;
    if (Holder != nullptr) Entry.Other = *Holder;
    Refused.push_back(I);
  }
  // An entry that stays keeps its name, so an entry whose new name it is
  // must stay as well, and so on down the chain.
  while (!Refused.empty()) {
    const int StayingIndex = Refused.back();
    Refused.pop_back();
    const int* Waiting = ByTarget.find(Keys.Old(size_t(StayingIndex)));
    if (Waiting == nullptr || !IsToBeRenamed(Entries[size_t(*Waiting)])) continue;
    Entries[size_t(*Waiting)].Status = psTaken;
    Entries[size_t(*Waiting)].Other = StayingIndex;
    Refused.push_back(*Waiting);
  }
}

void ValidateEntries(std::vector<TPassEntry>& Entries, TFileSystem& Fs) {
  RefuseInvalidNames(Entries);
  RefuseDuplicates(Entries);
  RefuseTakenNames(Entries, Fs);
}

std::vector<TPassStep> PlanSteps(std::vector<TPassEntry>& Entries, TFileSystem& Fs) {
  const int Count = static_cast<int>(Entries.size());
  const TEntryKeys Keys(Entries);
  const TNameMap<int> ByName = Keys.ByOldName();
  // Next[e]: the entry whose present name e takes; Previous is the reverse.
  std::vector<int> Next(size_t(Count), -1), Previous(size_t(Count), -1);
  std::vector<bool> OwnRing(size_t(Count), false);  // a change of case where case is ignored
  for (int I = 0; I < Count; ++I) {
    const TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry)) continue;
    const int* Holder = ByName.find(Keys.New(size_t(I)));
    if (Holder == nullptr || !IsToBeRenamed(Entries[size_t(*Holder)])) continue;
    if (*Holder == I) {
      OwnRing[size_t(I)] = true;
    } else {
      Next[size_t(I)] = *Holder;
      Previous[size_t(*Holder)] = I;
    }
  }

  std::vector<TPassStep> Steps;
  std::vector<bool> Planned(size_t(Count), false);
  const auto Plan = [&](int I, std::string From, std::string To, int Ring) {
    Steps.push_back({I, std::move(From), std::move(To), Ring});
    Planned[size_t(I)] = true;
  };
  // Chains: the entry whose new name is free goes first, then the one that
  // takes the name it left, and so on.
  for (int I = 0; I < Count; ++I) {
    if (!IsToBeRenamed(Entries[size_t(I)]) || Next[size_t(I)] >= 0 || OwnRing[size_t(I)]) continue;
    for (int J = I; J >= 0; J = Previous[size_t(J)]) Plan(J, Entries[size_t(J)].Path(), Entries[size_t(J)].NewPath(), -1);
  }
  // What is left are rings: one entry steps aside to a temporary name, the
  // others follow one another, and it takes its new name last. A temporary
  // name is one that no file and no entry of the pass holds or takes.
  // (A temporary name has no capital letter: its key is itself.)
  TNameMap<bool> Used;
  std::deque<std::string> Temporaries;  // keys view these: they must not move
  int Rings = 0;
  for (int I = 0; I < Count; ++I) {
    const TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry) || Planned[size_t(I)]) continue;
    if (Used.empty())
      for (size_t J = 0; J < Entries.size(); ++J) Used.emplace(Keys.New(J), true);
    for (;;) {
      Temporaries.push_back(".quorvane-" + std::to_string(Temporaries.size() + 1) + ".tmp");
      const TNameKey Key{Entry.FolderId, Temporaries.back()};
      if (!ByName.contains(Key) && Used.emplace(Key, true).second && !Fs.Stat(Entry.Folder + Temporaries.back())) break;
    }
    const std::string& Name = Temporaries.back();
    const std::string Temporary = Entry.Folder + Name;
    const int Ring = Rings++;
    Plan(I, Entry.Path(), Temporary, Ring);
    for (int J = Previous[size_t(I)]; J >= 0 && J != I; J = Previous[size_t(J)])
      Plan(J, Entries[size_t(J)].Path(), Entries[size_t(J)].NewPath(), Ring);
    Plan(I, Temporary, Entry.NewPath(), Ring);
  }
  return Steps;
}

int MoveNoReplace(TFileSystem& Fs, const std::string& From, const std::string& To, bool Directory) {
  int Error = Fs.Rename(From, To, true);
  if (Error != EINVAL && Error != ENOSYS && Error != EOPNOTSUPP) return Error;
  // The file system does not know the no-replace flag. Checking that To is
  // free and then renaming would replace a file made in between, so To is
  // taken first: by a second link, which fails when To exists...
  if (!Directory) {
    Error = Fs.Link(From, To);
    if (Error == 0) {
      Error = Fs.Unlink(From);
      if (Error != 0) Fs.Unlink(To);
      return Error;
    }
    if (Error == EEXIST) return Error;
  }
  // ...or, where there are no links, by an empty file of that name that only
  // this rename may then replace.
  Error = Fs.Reserve(To, Directory);
  if (Error != 0) return Error;
  Error = Fs.Rename(From, To, false);
  if (Error != 0) Fs.Unlink(To);
  return Error;
}

void CommitSteps(std::vector<TPassEntry>& Entries, const std::vector<TPassStep>& Steps, TFileSystem& Fs,
                 const std::function<bool(const TPassEntry&)>& Done) {
  // Runs one step; false when its entry stays where it is.
  const auto Run = [&](const TPassStep& Step) {
    TPassEntry& Entry = Entries[size_t(Step.Entry)];
    if (Step.From == Entry.Path()) {
      const std::optional<TFileStatus> Now = Fs.Stat(Step.From);
      if (!Now || !Now->SameFileUnchanged(Entry.File)) {
        Entry.Status = psChanged;
        return false;
      }
    }
    if (const int Error = MoveNoReplace(Fs, Step.From, Step.To, Entry.File.Directory); Error != 0) {
      Entry.Status = psFailed;
      Entry.Error = Error;
      return false;
    }
    if (Step.To == Entry.NewPath()) Entry.Status = psRenamed;
    return true;
  };

  bool GoOn = true;
  size_t S = 0;
  while (S < Steps.size() && GoOn) {
    if (Steps[S].Ring < 0) {
      Run(Steps[S]);
      GoOn = Done(Entries[size_t(Steps[S].Entry)]);
      ++S;
      continue;
    }
    size_t End = S;
    while (End < Steps.size() && Steps[End].Ring == Steps[S].Ring) ++End;
    size_t Failed = S;
    while (Failed < End && Run(Steps[Failed])) ++Failed;
    if (Failed < End) {
      // Every step done so far goes back, the last first.
      const int Culprit = Steps[Failed].Entry;
      for (size_t K = Failed; K-- > S;) {
        TPassEntry& Entry = Entries[size_t(Steps[K].Entry)];
        if (const int Error = MoveNoReplace(Fs, Steps[K].To, Steps[K].From, Entry.File.Directory); Error != 0) {
          Entry.Status = psFailed;
          Entry.Error = Error;
        }
      }
      for (size_t K = S; K < End; ++K) {
        TPassEntry& Entry = Entries[size_t(Steps[K].Entry)];
        if (Steps[K].Entry != Culprit && (Entry.Status == psRename || Entry.Status == psRenamed)) {
          Entry.Status = psCycleStopped;
          Entry.Other = Culprit;
        }
      }
    }
    // The entry that stepped aside comes first and last; it is told once.
    for (size_t K = S + 1; K < End; ++K) GoOn = Done(Entries[size_t(Steps[K].Entry)]) && GoOn;
    S = End;
  }
  for (; S < Steps.size(); ++S) {
    TPassEntry& Entry = Entries[size_t(Steps[S].Entry)];
    if (Entry.Status != psRename) continue;
    Entry.Status = psStopped;
    Done(Entry);
  }
}
