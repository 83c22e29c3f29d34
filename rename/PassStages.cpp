#include "rename/PassStages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <future>
#include <optional>
#include <unordered_map>
#include <utility>

#include "base/Translation.h"
#include "base/TwoHalves.h"
#include "base/VmDateTime.h"
#include "rename/NameText.h"

namespace {

// The longest name a folder entry can have on Linux file systems, in bytes.
constexpr size_t MaxNameBytes = 255;

bool IsToBeRenamed(const TPassEntry& Entry) { return Entry.Status == psRename; }
bool IsAnyEntry(const TPassEntry&) { return true; }

// A name as its folder compares it: the folder's number and the name,
// lower-cased where the folder ignores case. The name is a view.
struct TNameKey {
  int Folder;
  std::string_view Name;
  bool operator==(const TNameKey&) const = default;
};

// Indices (of entries, say) by the name key KeyOf gives for each, in one
// open-addressed array of small slots: no allocation per name, for the
// hundred thousand names a pass may hold. A slot keeps the index and a part
// of its key's hash; the key itself is asked of KeyOf only where those agree.
template <class TKeyOf>
class TIndexMap {
 public:
  TIndexMap(size_t Expected, TKeyOf KeyOf) : FKeyOf(std::move(KeyOf)) { Resize(Expected * 2); }
  // Adds Index under its key; returns the index already there (which stays), or -1.
  int Add(int Index) {
    if ((FCount + 1) * 2 > FSlots.size()) Resize(FSlots.size() * 2);
    const TNameKey Key = FKeyOf(Index);
    const uint32_t Hash = HashOf(Key);
    TSlot& Slot = SlotOf(Key, Hash);
    if (Slot.Index >= 0) return Slot.Index;
    Slot = {Hash, Index};
    ++FCount;
    return -1;
  }
  // The index under Key; -1 when there is none.
  int Find(const TNameKey& Key) const { return const_cast<TIndexMap*>(this)->SlotOf(Key, HashOf(Key)).Index; }

 private:
  struct TSlot {
    uint32_t Hash = 0;
    int32_t Index = -1;
  };
  static uint32_t HashOf(const TNameKey& Key) {
    const size_t Hash = std::hash<std::string_view>()(Key.Name) * 31 + size_t(Key.Folder);
    return uint32_t(Hash ^ (Hash >> 32));
  }
  // The slot that holds Key, or the empty one where it belongs.
  TSlot& SlotOf(const TNameKey& Key, uint32_t Hash) {
    const size_t Mask = FSlots.size() - 1;
    for (size_t At = Hash & Mask;; At = (At + 1) & Mask) {
      TSlot& Slot = FSlots[At];
      if (Slot.Index < 0 || (Slot.Hash == Hash && FKeyOf(Slot.Index) == Key)) return Slot;
    }
  }
  void Resize(size_t Wanted) {
    size_t Size = 16;
    while (Size < Wanted) Size <<= 1;
    const std::vector<TSlot> Old = std::exchange(FSlots, std::vector<TSlot>(Size));
    for (const TSlot& Slot : Old) {
      if (Slot.Index < 0) continue;
      size_t At = Slot.Hash & (Size - 1);
      while (FSlots[At].Index >= 0) At = (At + 1) & (Size - 1);
      FSlots[At] = Slot;
    }
  }

  TKeyOf FKeyOf;
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
  // Entries by the name they hold now (every entry found on disk), or by
  // their new name (those for which Take holds); the first in list order of each name.
  auto ByOldName() const {
    return Indexed([this](int I) { return Old(size_t(I)); }, [](const TPassEntry& Entry) { return Entry.Found; });
  }
  auto ByNewName(bool (*Take)(const TPassEntry&)) const {
    return Indexed([this](int I) { return New(size_t(I)); }, Take);
  }

 private:
  template <class TKeyOf, class TTake>
  TIndexMap<TKeyOf> Indexed(TKeyOf KeyOf, TTake Take) const {
    TIndexMap<TKeyOf> Map(FEntries.size(), KeyOf);
    for (size_t I = 0; I < FEntries.size(); ++I)
      if (Take(FEntries[I])) Map.Add(int(I));
    return Map;
  }

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
  for (size_t I = 0; I < Files.size(); ++I) SetEntryPath(Entries[I], Files[I].Position, Files[I].Path);
  NumberFolders(Entries);
  return Entries;
}

void SetEntryPath(TPassEntry& Entry, int Position, const std::string& Path) {
  const size_t NameStart = Path.rfind('/') + 1;  // npos + 1 is 0
  Entry.Position = Position;
  Entry.Folder.assign(Path, 0, NameStart);
  Entry.Name.assign(Path, NameStart);
}

void NumberFolders(std::vector<TPassEntry>& Entries) {
  std::unordered_map<std::string_view, int> FolderIds;
  const TPassEntry* Last = nullptr;  // the entries of a folder mostly follow one another
  for (TPassEntry& Entry : Entries) {
    Entry.FolderId = Last && Last->Folder == Entry.Folder
                         ? Last->FolderId
                         : FolderIds.emplace(Entry.Folder, int(FolderIds.size())).first->second;
    Last = &Entry;
  }
}

namespace {

// Listing a folder costs about a tenth of looking up one name per entry it
// holds; it is done where that is cheaper than the look-ups.
constexpr int MinLookupsForListing = 256;
constexpr uint64_t BytesPerFolderEntry = 24;  // about, in a folder's size

// Whether Folder is worth listing for Lookups names, and its status when it is.
std::optional<TFileStatus> WorthListing(TFileSystem& Fs, const std::string& Folder, int Lookups) {
  if (Lookups < MinLookupsForListing) return std::nullopt;
  std::optional<TFileStatus> Status = Fs.Stat(Folder + ".");
  if (Status && Status->Size / BytesPerFolderEntry > uint64_t(Lookups) * 10) return std::nullopt;
  return Status;
}

// How many entries of each folder Take selects, by folder number.
template <class TTake>
std::vector<int> CountPerFolder(const std::vector<TPassEntry>& Entries, const TTake& Take) {
  std::vector<int> Counts;
  for (const TPassEntry& Entry : Entries) {
    if (size_t(Entry.FolderId) >= Counts.size()) Counts.resize(size_t(Entry.FolderId) + 1);
    Counts[size_t(Entry.FolderId)] += Take(Entry) ? 1 : 0;
  }
  return Counts;
}

// Lists into Listings each folder not listed yet that is worth listing for
// the number of look-ups Counts gives it. Reads of the entries only their
// folders. Returns the device of each folder it listed, by folder number.
std::vector<std::optional<uint64_t>> ListFolders(const std::vector<TPassEntry>& Entries, TFileSystem& Fs,
                                                 std::vector<int> Counts, TFolderListings& Listings) {
  std::vector<std::optional<uint64_t>> Devices(Counts.size());
  for (const TPassEntry& Sample : Entries) {
    const int Count = std::exchange(Counts[size_t(Sample.FolderId)], 0);  // the first entry of each folder serves
    if (Count == 0 || Listings.Has(Sample.FolderId)) continue;
    const std::optional<TFileStatus> Folder = WorthListing(Fs, Sample.Folder, Count);
    if (!Folder) continue;
    const bool Complete = Fs.ListFolder(Sample.Folder, [&](std::string_view Name, uint64_t Inode, bool MaybeFolder) {
      Listings.Add(Sample.FolderId, Name, Inode, MaybeFolder);
    });
    Listings.Listed(Sample.FolderId, Complete);
    if (Complete) Devices[size_t(Sample.FolderId)] = Folder->Device;
  }
  return Devices;
}

// The entries of large folders found under their exact names in one listing
// of each: Found, with the device and inode alone. Names that may be folders
// are left to Stat, as is every name the listing does not hold.
void FindInListings(std::vector<TPassEntry>& Entries, TFileSystem& Fs, TFolderListings* Keep) {
  TFolderListings Own;
  TFolderListings& Listings = Keep ? *Keep : Own;
  const std::vector<std::optional<uint64_t>> Devices =
      ListFolders(Entries, Fs, CountPerFolder(Entries, IsAnyEntry), Listings);
  if (std::none_of(Devices.begin(), Devices.end(), [](const auto& Device) { return Device.has_value(); })) return;
  // The names listed are mapped, and the entries looked for among them in
  // list order: the names lie together in memory and the entries are read
  // one after another, where the other way round each name found would
  // send the processor to a far entry and its name.
  TIndexMap ByName(Listings.Size(), [&Listings](int I) {
    return TNameKey{Listings.FolderAt(size_t(I)), Listings.NameAt(size_t(I))};
  });
  for (size_t I = 0; I < Listings.Size(); ++I) ByName.Add(int(I));
  for (TPassEntry& Entry : Entries) {
    const std::optional<uint64_t> Device = Devices[size_t(Entry.FolderId)];
    if (!Device) continue;
    const int I = ByName.Find({Entry.FolderId, Entry.Name});
    if (I < 0 || Listings.MaybeFolderAt(size_t(I))) continue;
    Entry.Found = true;
    Entry.File = TFileStatus();
    Entry.File.Device = *Device;
    Entry.File.Inode = Listings.InodeAt(size_t(I));
    Entry.File.InodeOnly = true;
  }
}

}  // namespace

void TFolderListings::Add(int Folder, std::string_view Name, uint64_t Inode, bool MaybeFolder) {
  if (Folder != FOpen) {
    FOpen = Folder;
    FOpenStart = FNames.size();
    FOpenText = FText.size();
  }
  FNames.push_back({FText.size(), uint32_t(Name.size()), Folder, Inode, MaybeFolder});
  FText += Name;
}

void TFolderListings::Listed(int Folder, bool Complete) {
  const bool Open = Folder == FOpen;  // else no name of it was added
  const size_t First = Open ? FOpenStart : FNames.size();
  FOpen = -1;
  if (!Complete) {
    if (Open) {
      FNames.resize(FOpenStart);
      FText.resize(FOpenText);
    }
    return;
  }
  if (size_t(Folder) >= FRanges.size()) FRanges.resize(size_t(Folder) + 1);
  FRanges[size_t(Folder)] = {First, FNames.size() + 1};
}

namespace {

// Looks up each entry from First to Last not found yet.
void StatEntries(std::vector<TPassEntry>& Entries, size_t First, size_t Last, TFileSystem& Fs) {
  std::string Path;  // one buffer for every path
  for (size_t I = First; I < Last; ++I) {
    TPassEntry& Entry = Entries[I];
    if (Entry.Found) continue;
    const std::optional<TFileStatus> File = Fs.Stat(Path.assign(Entry.Folder).append(Entry.Name));
    Entry.Found = File.has_value();
    if (File)
      Entry.File = *File;
    else
      Entry.Status = psNotFound;
  }
}

}  // namespace

void LookUpEntries(std::vector<TPassEntry>& Entries, TFileSystem& Fs, bool ByListing, TFolderListings* Keep) {
  if (ByListing) FindInListings(Entries, Fs, Keep);
  // Many look-ups are shared with a second thread, each thread with a file
  // system object of its own and a half of the entries.
  constexpr size_t MinShared = 8192;
  const size_t Left =
      size_t(std::count_if(Entries.begin(), Entries.end(), [](const TPassEntry& Entry) { return !Entry.Found; }));
  const std::unique_ptr<TFileSystem> Twin = Left >= MinShared ? Fs.Twin() : nullptr;
  InTwoHalves(Entries.size(), Twin != nullptr,
              [&](size_t Begin, size_t End) { StatEntries(Entries, Begin, End, Begin == 0 ? Fs : *Twin); });
  FindFolderCase(Entries, Fs);
}

void FindFolderCase(std::vector<TPassEntry>& Entries, TFileSystem& Fs) {
  // Per folder: whether it ignores case (1) or not (0), once a name in it could tell.
  std::vector<int8_t> Decided;
  for (const TPassEntry& Entry : Entries) {
    if (size_t(Entry.FolderId) >= Decided.size()) Decided.resize(size_t(Entry.FolderId) + 1, -1);
    // Only a name with a letter can show that case is ignored.
    if (!Entry.Found || Decided[size_t(Entry.FolderId)] >= 0 || UpperCaseName(Entry.Name) == LowerCaseName(Entry.Name))
      continue;
    Decided[size_t(Entry.FolderId)] = Fs.IgnoresCase(Entry.Folder, Entry.Name);
  }
  for (TPassEntry& Entry : Entries)
    if (Decided[size_t(Entry.FolderId)] >= 0) Entry.IgnoreCase = Decided[size_t(Entry.FolderId)] == 1;
}

namespace {

// The new names of the entries Take selects, in list order, the counter
// advancing once per name. Nothing but the names is written, and what was
// found of a file is read only for names that need its date or content.
template <class TTake>
void NameEntries(std::vector<TPassEntry>& Entries, const TNameBuilder& Builder, int32_t& CounterValue,
                 const TTake& Take) {
  const bool ReadDates = Builder.UsesFileDate();
  const bool ReadMetadata = Builder.UsesMetadata();
  for (TPassEntry& Entry : Entries) {
    if (!Take(Entry)) continue;
    // A file that is not there has no date.
    const TDateTime Date = ReadDates && Entry.Found && Entry.File.DateSeconds != TFileStatus::NoDate
                               ? UnixTimeToDateTime(Entry.File.DateSeconds)
                               : 0;
    // What is inside the file is read once, and only for the fields that need it.
    const TFileMetadata Metadata = ReadMetadata && Entry.Found ? Builder.ReadMetadata(Entry.Path()) : TFileMetadata();
    Entry.NewName = Builder.Build(Entry.Name, Date, CounterValue, &Metadata);
  }
}

void NoteUnchanged(std::vector<TPassEntry>& Entries) {
  for (TPassEntry& Entry : Entries)
    if (IsToBeRenamed(Entry) && Entry.NewName == Entry.Name) Entry.Status = psUnchanged;
}

}  // namespace

void BuildNames(std::vector<TPassEntry>& Entries, const TNameBuilder& Builder, int32_t& CounterValue,
                bool AlsoNotFound) {
  NameEntries(Entries, Builder, CounterValue, [AlsoNotFound](const TPassEntry& Entry) {
    return IsToBeRenamed(Entry) || (AlsoNotFound && Entry.Status == psNotFound);
  });
  NoteUnchanged(Entries);
}

void LookUpAndBuildNames(std::vector<TPassEntry>& Entries, TFileSystem& Fs, const TNameBuilder& Builder,
                         int32_t& CounterValue, bool AlsoNotFound, TFolderListings* Keep) {
  // What the names show depends on a file's size, last write or content
  // only when a date, time or metadata field is used; otherwise a listing
  // tells which files are there.
  const bool NeedsFiles = Builder.UsesFileDate() || Builder.UsesMetadata();
  if (NeedsFiles || !AlsoNotFound) {
    LookUpEntries(Entries, Fs, !NeedsFiles, Keep);
    BuildNames(Entries, Builder, CounterValue, AlsoNotFound);
    return;
  }
  // Every entry gets a name, found or not, and the names follow from the
  // entries' names and order alone: they are built on a second thread while
  // the folders are listed. The two threads write different members of the
  // entries: the names, and what was found.
  std::future<void> Names =
      std::async(std::launch::async, [&] { NameEntries(Entries, Builder, CounterValue, IsAnyEntry); });
  LookUpEntries(Entries, Fs, true, Keep);
  Names.get();
  NoteUnchanged(Entries);
}

namespace {

void RefuseInvalidNames(std::vector<TPassEntry>& Entries) {
  for (TPassEntry& Entry : Entries) {
    const std::string& Name = Entry.NewName;
    if (IsToBeRenamed(Entry) && (Name.empty() || Name == "." || Name == ".." || Name.size() > MaxNameBytes ||
                                 Name.find('/') != std::string::npos || Name.find('\0') != std::string::npos))
      Entry.Status = psInvalidName;
  }
}

// An entry's new name as its key.
struct TNewKeyOf {
  const TEntryKeys* Keys;
  TNameKey operator()(int I) const { return Keys->New(size_t(I)); }
};
using TTargets = TIndexMap<TNewKeyOf>;

// Two entries given one name in one folder: the first in list order keeps
// it. Returns the entries still to be renamed by their new name.
TTargets RefuseDuplicates(std::vector<TPassEntry>& Entries, const TEntryKeys& Keys) {
  TTargets ByTarget(Entries.size(), TNewKeyOf{&Keys});
  for (int I = 0; I < static_cast<int>(Entries.size()); ++I) {
    TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry)) continue;
    if (const int First = ByTarget.Add(I); First >= 0) {
      Entry.Status = psDuplicate;
      Entry.Other = First;
    }
  }
  return ByTarget;
}

// What the folders of the pass hold under the new names of its entries:
// names in a folder where many are looked up come from one listing of it,
// the others from looking each up. Targets maps a new name to the entry to
// be renamed to it.
class TTargetLookup {
 public:
  TTargetLookup(const std::vector<TPassEntry>& Entries, const TTargets& Targets, TFileSystem& Fs,
                TFolderListings& Listings)
      : FEntries(Entries), FFs(Fs) {
    std::vector<int> Lookups = CountPerFolder(Entries, IsToBeRenamed);
    ListFolders(Entries, Fs, Lookups, Listings);
    FListed.resize(Lookups.size());
    for (const TPassEntry& Sample : Entries) {
      const size_t Folder = size_t(Sample.FolderId);
      // the first entry of each folder serves
      if (std::exchange(Lookups[Folder], 0) == 0 || !Listings.Has(Sample.FolderId)) continue;
      if (FHeld.empty()) FHeld.resize(Entries.size(), NotHeld);
      // Each name the folder holds marks the entry to be renamed to it.
      std::string Folded;
      Listings.ForEach(Sample.FolderId, [&](std::string_view Name, uint64_t Inode) {
        if (Sample.IgnoreCase) Name = Folded = LowerCaseName(Name);
        if (const int Target = Targets.Find({Sample.FolderId, Name}); Target >= 0 && FHeld[size_t(Target)] == NotHeld)
          FHeld[size_t(Target)] = Inode;
      });
      FListed[Folder] = true;
    }
  }

  // Whether a listing showed entry I's new name free.
  bool ListedFree(size_t I) const { return FListed[size_t(FEntries[I].FolderId)] && FHeld[I] == NotHeld; }

  enum THolder { hoNone, hoThisFile, hoOtherFile };
  // What holds entry I's new name on disk.
  THolder HolderOf(size_t I) const {
    const TPassEntry& Entry = FEntries[I];
    if (FListed[size_t(Entry.FolderId)]) {
      const uint64_t Inode = FHeld[I];
      if (Inode == NotHeld) return hoNone;
      return Inode == Entry.File.Inode ? hoThisFile : hoOtherFile;
    }
    const std::optional<TFileStatus> There = FFs.Stat(Entry.NewPath());
    if (!There) return hoNone;
    return There->SameInode(Entry.File) ? hoThisFile : hoOtherFile;
  }

 private:
  static constexpr uint64_t NotHeld = UINT64_MAX;
  const std::vector<TPassEntry>& FEntries;
  TFileSystem& FFs;
  std::vector<bool> FListed;    // by folder
  std::vector<uint64_t> FHeld;  // by entry: the inode listed under its new name
};

// A new name held on disk by a file that stays: psTaken; by another link to
// the same file: psSameFile. An entry whose target is vacated by an entry
// that in turn cannot move is refused too, down the whole chain. Each entry
// still to be renamed learns in Other the entry that leaves its new name
// before it, or -1.
void RefuseTakenNames(std::vector<TPassEntry>& Entries, const TEntryKeys& Keys, const TTargets& ByTarget,
                      TFileSystem& Fs, TFolderListings& Listings) {
  const TTargetLookup Targets(Entries, ByTarget, Fs, Listings);
  // The entries by their present names, mapped once a name is found held.
  std::optional<decltype(Keys.ByOldName())> ByName;
  std::vector<int> Refused;
  for (int I = 0; I < static_cast<int>(Entries.size()); ++I) {
    TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry)) continue;
    Entry.Other = -1;
    if (Targets.ListedFree(size_t(I))) continue;
    // A name that an entry of the pass leaves (this entry itself, for a
    // change of case where case is ignored) is free once that entry moves.
    if (!ByName) ByName.emplace(Keys.ByOldName());
    const int Holder = ByName->Find(Keys.New(size_t(I)));
    Entry.Other = Holder;
    if (Holder >= 0 && IsToBeRenamed(Entries[size_t(Holder)])) continue;
    const auto There = Targets.HolderOf(size_t(I));
    if (There == Targets.hoNone) continue;
    Entry.Status = There == Targets.hoThisFile ? psSameFile : psTaken;
    Refused.push_back(I);
  }
  // An entry that stays keeps its name, so an entry whose new name it is
  // must stay as well, and so on down the chain.
  while (!Refused.empty()) {
    const int StayingIndex = Refused.back();
    Refused.pop_back();
    const int Waiting = ByTarget.Find(Keys.Old(size_t(StayingIndex)));
    if (Waiting < 0 || !IsToBeRenamed(Entries[size_t(Waiting)])) continue;
    Entries[size_t(Waiting)].Status = psTaken;
    Entries[size_t(Waiting)].Other = StayingIndex;
    Refused.push_back(Waiting);
  }
}

}  // namespace

void ValidateEntries(std::vector<TPassEntry>& Entries, TFileSystem& Fs, TFolderListings* Known) {
  RefuseInvalidNames(Entries);
  const TEntryKeys Keys(Entries);
  const TTargets ByTarget = RefuseDuplicates(Entries, Keys);
  TFolderListings Own;
  RefuseTakenNames(Entries, Keys, ByTarget, Fs, Known ? *Known : Own);
}

void BuildAndValidate(std::vector<TPassEntry>& Entries, const TNameBuilder& Builder, int32_t& CounterValue,
                      TFileSystem& Fs) {
  // The folders the validation will list are listed while the names are
  // built: the listing reads only the entries' folders, and the names need
  // nothing of the listing. The entries to be renamed are counted before.
  TFolderListings Listings;
  const std::vector<int> Counts = CountPerFolder(Entries, IsToBeRenamed);
  std::future<void> Listed = std::async(std::launch::async, [&] { ListFolders(Entries, Fs, Counts, Listings); });
  BuildNames(Entries, Builder, CounterValue, false);
  Listed.get();
  ValidateEntries(Entries, Fs, &Listings);
}

std::vector<TPassStep> PlanSteps(std::vector<TPassEntry>& Entries, TFileSystem& Fs) {
  const int Count = static_cast<int>(Entries.size());
  // Next[e]: the entry whose present name e takes; Previous is the reverse.
  std::vector<int> Next(size_t(Count), -1), Previous(size_t(Count), -1);
  std::vector<bool> OwnRing(size_t(Count), false);  // a change of case where case is ignored
  int ToRename = 0;
  for (int I = 0; I < Count; ++I) {
    const TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry)) continue;
    ++ToRename;
    const int Holder = Entry.Other;  // as the validation found it
    if (Holder < 0 || !IsToBeRenamed(Entries[size_t(Holder)])) continue;
    if (Holder == I) {
      OwnRing[size_t(I)] = true;
    } else {
      Next[size_t(I)] = Holder;
      Previous[size_t(Holder)] = I;
    }
  }

  std::vector<TPassStep> Steps;
  Steps.reserve(size_t(ToRename));
  std::vector<bool> Planned(size_t(Count), false);
  const auto Plan = [&](int I, int Ring, TPassStep::TKind Kind = TPassStep::skMove, const std::string& Temporary = {}) {
    Steps.push_back({I, Ring, Kind, Temporary});
    Planned[size_t(I)] = true;
  };
  // Chains: the entry whose new name is free goes first, then the one that
  // takes the name it left, and so on.
  for (int I = 0; I < Count; ++I) {
    if (!IsToBeRenamed(Entries[size_t(I)]) || Next[size_t(I)] >= 0 || OwnRing[size_t(I)]) continue;
    for (int J = I; J >= 0; J = Previous[size_t(J)]) Plan(J, -1);
  }
  // What is left are rings: one entry steps aside to a temporary name, the
  // others follow one another, and it takes its new name last. A temporary
  // name is one that no file and no entry of the pass holds or takes; each
  // one tried has a number of its own.
  // (A temporary name has no capital letter: its key is itself.)
  std::optional<TEntryKeys> Keys;
  std::optional<decltype(Keys->ByOldName())> ByName;                 // every entry's present name
  std::optional<decltype(Keys->ByNewName(IsToBeRenamed))> Taken;  // every entry's new name
  int Tried = 0, Rings = 0;
  std::string Temporary;
  for (int I = 0; I < Count; ++I) {
    const TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry) || Planned[size_t(I)]) continue;
    if (!Keys) {
      Keys.emplace(Entries);
      ByName.emplace(Keys->ByOldName());
      Taken.emplace(Keys->ByNewName(IsAnyEntry));
    }
    for (;;) {
      Temporary = ".quorvane-" + std::to_string(++Tried) + ".tmp";
      const TNameKey Key{Entry.FolderId, Temporary};
      if (ByName->Find(Key) < 0 && Taken->Find(Key) < 0 && !Fs.Stat(Entry.Folder + Temporary)) break;
    }
    const int Ring = Rings++;
    Plan(I, Ring, TPassStep::skAside, Temporary);
    for (int J = Previous[size_t(I)]; J >= 0 && J != I; J = Previous[size_t(J)]) Plan(J, Ring);
    Plan(I, Ring, TPassStep::skBack, Temporary);
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
  // The paths of a step, made in buffers that every step reuses.
  std::string From, To;
  const auto PathsOf = [&](const TPassStep& Step, const TPassEntry& Entry) {
    From.assign(Entry.Folder).append(Step.Kind == TPassStep::skBack ? Step.Temporary : Entry.Name);
    To.assign(Entry.Folder).append(Step.Kind == TPassStep::skAside ? Step.Temporary : Entry.NewName);
  };
  // Runs one step; false when its entry stays where it is.
  const auto Run = [&](const TPassStep& Step) {
    TPassEntry& Entry = Entries[size_t(Step.Entry)];
    PathsOf(Step, Entry);
    if (Step.Kind != TPassStep::skBack) {
      const std::optional<TFileStatus> Now = Fs.Stat(From);
      if (!Now || !Now->SameFileUnchanged(Entry.File)) {
        Entry.Status = psChanged;
        return false;
      }
    }
    if (const int Error = MoveNoReplace(Fs, From, To, Entry.File.Directory); Error != 0) {
      Entry.Status = psFailed;
      Entry.Error = Error;
      return false;
    }
    if (Step.Kind != TPassStep::skAside) Entry.Status = psRenamed;
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
        PathsOf(Steps[K], Entry);
        if (const int Error = MoveNoReplace(Fs, To, From, Entry.File.Directory); Error != 0) {
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
