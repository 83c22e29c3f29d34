#include "rename/PassStages.h"

#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "base/VmDateTime.h"
#include "rename/NameText.h"

namespace {

// The longest name a folder entry can have on Linux file systems, in bytes.
constexpr size_t MaxNameBytes = 255;

// A name as its folder compares it: the folder and the name, lower-cased
// where the folder ignores case.
std::string NameKey(const TPassEntry& Entry, std::string_view Name) {
  return Entry.IgnoreCase ? Entry.Folder + LowerCaseName(Name) : Entry.Folder + std::string(Name);
}

bool IsToBeRenamed(const TPassEntry& Entry) { return Entry.Status == psRename; }

// Entries by the name they hold now, for every entry found on disk.
std::unordered_map<std::string, int> EntriesByName(const std::vector<TPassEntry>& Entries) {
  std::unordered_map<std::string, int> ByName;
  ByName.reserve(Entries.size());
  for (int I = 0; I < static_cast<int>(Entries.size()); ++I)
    if (Entries[size_t(I)].Found) ByName.emplace(NameKey(Entries[size_t(I)], Entries[size_t(I)].Name), I);
  return ByName;
}

// Built by appending: GCC 12 warns falsely about overlapping copies in "\"" + Text.
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
    return Entry.Other >= 0 ? Quoted(Result.Entries[size_t(Entry.Other)].Path()) : std::string("another file");
  };
  switch (Entry.Status) {
    case psRename:
    case psRenamed:
    case psUnchanged:
      return {};
    case psNotFound:
      return "the file is not there";
    case psSkipped:
      return "read-only: left as it is";
    case psInvalidName:
      return Entry.NewName.empty() ? "the new name is empty" : Quoted(Entry.NewName) + " cannot name a file";
    case psDuplicate:
      return OtherPath() + " is given the same name before it";
    case psTaken:
      return Entry.Other >= 0 ? "the name is held by " + OtherPath() + ", which keeps it"
                              : "a file named " + Quoted(Entry.NewName) + " already exists";
    case psSameFile:
      return Quoted(Entry.NewName) + " is another name of this same file";
    case psChanged:
      return "the file changed on disk after it was checked";
    case psFailed:
      return std::strerror(Entry.Error);
    case psCycleStopped:
      return "left under its old name: " + OtherPath() + ", with which it swaps names, could not be renamed";
    case psStopped:
      return "the pass was stopped before this file";
  }
  return {};
}

std::string PassSummary(const TPassResult& Result) {
  const int Problems = Result.Problems();
  if (Problems == 0) return {};
  return GroupedNumber(size_t(Problems)) + " of " + GroupedNumber(Result.Entries.size()) + " new names " +
         (Problems == 1 ? "conflicts" : "conflict");
}

std::vector<TPassEntry> CollectEntries(const std::vector<TPassFile>& Files) {
  std::vector<TPassEntry> Entries(Files.size());
  for (size_t I = 0; I < Files.size(); ++I) {
    const std::string& Path = Files[I].Path;
    const size_t NameStart = Path.rfind('/') + 1;  // npos + 1 is 0
    Entries[I].Position = Files[I].Position;
    Entries[I].Folder = Path.substr(0, NameStart);
    Entries[I].Name = Path.substr(NameStart);
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
  for (TPassEntry& Entry : Entries) {
    if (!(IsToBeRenamed(Entry) || (AlsoNotFound && Entry.Status == psNotFound))) continue;
    // A file that is not there has no date.
    const bool HasDate = Entry.Found && Entry.File.DateSeconds != TFileStatus::NoDate;
    const TDateTime Date = ReadDates && HasDate ? UnixTimeToDateTime(Entry.File.DateSeconds) : 0;
    Entry.NewName = Builder.Build(Entry.Name, Date, CounterValue);
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

void RefuseDuplicates(std::vector<TPassEntry>& Entries, TFileSystem& /*Fs*/) {
  std::unordered_map<std::string, int> FirstByName;
  FirstByName.reserve(Entries.size());
  for (int I = 0; I < static_cast<int>(Entries.size()); ++I) {
    TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry)) continue;
    const auto [First, New] = FirstByName.emplace(NameKey(Entry, Entry.NewName), I);
    if (!New) {
      Entry.Status = psDuplicate;
      Entry.Other = First->second;
    }
  }
}

void RefuseTakenNames(std::vector<TPassEntry>& Entries, TFileSystem& Fs) {
  const std::unordered_map<std::string, int> ByName = EntriesByName(Entries);
  std::unordered_map<std::string, int> ByTarget;  // entries to be renamed, by their new name
  ByTarget.reserve(Entries.size());
  std::vector<int> Refused;
  for (int I = 0; I < static_cast<int>(Entries.size()); ++I) {
    TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry)) continue;
    const std::string Target = NameKey(Entry, Entry.NewName);
    ByTarget.emplace(Target, I);
    // A name that an entry of the pass leaves (this entry itself, for a
    // change of case where case is ignored) is free once that entry moves.
    const auto Holder = ByName.find(Target);
    if (Holder != ByName.end() && IsToBeRenamed(Entries[size_t(Holder->second)])) continue;
    const std::optional<TFileStatus> There = Fs.Stat(Entry.NewPath());
    if (!There) continue;
    Entry.Status = There->SameInode(Entry.File) ? psSameFile : psTaken;
    if (Holder != ByName.end()) Entry.Other = Holder->second;
    Refused.push_back(I);
  }
  // An entry that stays keeps its name, so an entry whose new name it is
  // must stay as well, and so on down the chain.
  while (!Refused.empty()) {
    const TPassEntry& Staying = Entries[size_t(Refused.back())];
    const int StayingIndex = Refused.back();
    Refused.pop_back();
    const auto Waiting = ByTarget.find(NameKey(Staying, Staying.Name));
    if (Waiting == ByTarget.end() || !IsToBeRenamed(Entries[size_t(Waiting->second)])) continue;
    Entries[size_t(Waiting->second)].Status = psTaken;
    Entries[size_t(Waiting->second)].Other = StayingIndex;
    Refused.push_back(Waiting->second);
  }
}

void ValidateEntries(std::vector<TPassEntry>& Entries, TFileSystem& Fs) {
  RefuseInvalidNames(Entries);
  RefuseDuplicates(Entries, Fs);
  RefuseTakenNames(Entries, Fs);
}

std::vector<TPassStep> PlanSteps(std::vector<TPassEntry>& Entries, TFileSystem& Fs) {
  const int Count = static_cast<int>(Entries.size());
  const std::unordered_map<std::string, int> ByName = EntriesByName(Entries);
  // Next[e]: the entry whose present name e takes; Previous is the reverse.
  std::vector<int> Next(size_t(Count), -1), Previous(size_t(Count), -1);
  std::vector<bool> OwnRing(size_t(Count), false);  // a change of case where case is ignored
  for (int I = 0; I < Count; ++I) {
    const TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry)) continue;
    const auto Holder = ByName.find(NameKey(Entry, Entry.NewName));
    if (Holder == ByName.end() || !IsToBeRenamed(Entries[size_t(Holder->second)])) continue;
    if (Holder->second == I) {
      OwnRing[size_t(I)] = true;
    } else {
      Next[size_t(I)] = Holder->second;
      Previous[size_t(Holder->second)] = I;
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
  std::unordered_set<std::string> Used;
  int Rings = 0, Temporaries = 0;
  for (int I = 0; I < Count; ++I) {
    const TPassEntry& Entry = Entries[size_t(I)];
    if (!IsToBeRenamed(Entry) || Planned[size_t(I)]) continue;
    if (Used.empty())
      for (const TPassEntry& Other : Entries) Used.insert(NameKey(Other, Other.NewName));
    std::string Name;
    do {
      Name = ".quorvane-" + std::to_string(++Temporaries) + ".tmp";
    } while (ByName.contains(NameKey(Entry, Name)) || !Used.insert(NameKey(Entry, Name)).second ||
             Fs.Stat(Entry.Folder + Name));
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
