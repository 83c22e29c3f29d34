#include "rename/Recovery.h"

#include <cstring>
#include <unordered_map>

#include "base/Translation.h"
#include "rename/NameText.h"

namespace {

const std::string& NameAt(const TJournalStep& Step, uint8_t Place) {
  return Place == spOld ? Step.OldName : Place == spTemporary ? Step.Temporary : Step.NewName;
}

// Why a file is under none of its names: it was renamed in its folder since
// (found by its inode), or it is gone from it.
class TGoneFiles {
 public:
  explicit TGoneFiles(TFileSystem& Fs) : FFs(Fs) {}
  std::string Reason(const TJournalStep& Step) {
    auto Listing = FByFolder.find(Step.Folder);
    if (Listing == FByFolder.end()) {
      Listing = FByFolder.emplace(Step.Folder, std::unordered_map<uint64_t, std::string>()).first;
      FFs.ListFolder(Step.Folder, [&Names = Listing->second](std::string_view Name, uint64_t Inode, bool) {
        Names.emplace(Inode, Name);
      });
    }
    const auto Found = Listing->second.find(Step.Inode);
    if (Found != Listing->second.end()) {
      const std::optional<TFileStatus> There = FFs.Stat(Step.Folder + Found->second);
      if (There && There->Device == Step.Device && There->Inode == Step.Inode)
        return Filled(Tr("Recovery", "renamed again since: now \"%1\""), {Found->second});
    }
    return Tr("Recovery", "deleted, or moved out of its folder, since");
  }

 private:
  TFileSystem& FFs;
  std::unordered_map<std::string, std::unordered_map<uint64_t, std::string>> FByFolder;
};

}  // namespace

std::vector<TStepState> LocateSteps(const TJournal& Journal, TFileSystem& Fs, bool PreferNew) {
  std::vector<TStepState> States(Journal.Steps.size());
  for (size_t I = 0; I < Journal.Steps.size(); ++I) {
    const TJournalStep& Step = Journal.Steps[I];
    TStepState& State = States[I];
    const uint8_t Order[3] = {uint8_t(PreferNew ? spNew : spOld), spTemporary, uint8_t(PreferNew ? spOld : spNew)};
    uint8_t First = 0;
    for (const uint8_t Place : Order) {
      const std::string& Name = NameAt(Step, Place);
      if (Name.empty()) continue;
      const std::optional<TFileStatus> File = Fs.Stat(Step.Folder + Name);
      if (!File || File->Device != Step.Device || File->Inode != Step.Inode) continue;
      // A second name of one file only counts when the file has that many
      // links: in a folder that ignores case, two spellings reach one entry.
      if (State.Places != 0 && (File->Links < 2 || LowerCaseName(Name) == LowerCaseName(NameAt(Step, First))))
        continue;
      if (State.Places == 0) {
        State.File = *File;
        First = Place;
      }
      State.Places |= Place;
      if (File->Links < 2) break;
    }
  }
  return States;
}

std::string StepPlaceText(uint8_t Places) {
  std::string Text;
  for (const auto& [Place, Name] : {std::pair{spOld, "old"}, {spTemporary, "temporary"}, {spNew, "new"}})
    if (Places & Place) {
      if (!Text.empty()) Text += '+';
      Text += Name;
    }
  return Text.empty() ? "gone" : Text;
}

TRecoveryResult RecoverPass(const TJournal& Journal, TRecoveryGoal Goal, TFileSystem& Fs, TPassJournal* Log) {
  TRecoveryResult Result;
  const bool Undo = Goal == rgUndo;
  const std::vector<TStepState> States = LocateSteps(Journal, Fs, Undo);
  std::vector<TPassEntry>& Entries = Result.Pass.Entries;
  TGoneFiles Gone(Fs);
  const size_t Count = Journal.Steps.size();
  Entries.reserve(Count);
  for (size_t K = 0; K < Count; ++K) {
    const size_t I = Undo ? Count - 1 - K : K;
    const TJournalStep& Step = Journal.Steps[I];
    const uint8_t Places = States[I].Places;
    if (Places == 0) {
      Result.Problems.push_back({Step.Folder + (Undo ? Step.NewName : Step.OldName), Gone.Reason(Step)});
      continue;
    }
    // The name kept is the one nearest the goal; a second link left by a
    // move cut short between link and unlink goes.
    const uint8_t Order[3] = {uint8_t(Undo ? spOld : spNew), spTemporary, uint8_t(Undo ? spNew : spOld)};
    uint8_t Kept = 0;
    for (const uint8_t Place : Order) {
      if (!(Places & Place)) continue;
      if (Kept == 0) {
        Kept = Place;
      } else if (const int Error = Fs.Unlink(Step.Folder + NameAt(Step, Place)); Error != 0) {
        Result.Problems.push_back({Step.Folder + NameAt(Step, Place), std::strerror(Error)});
      }
    }
    const std::string& Target = Undo ? Step.OldName : Step.NewName;
    if (NameAt(Step, Kept) == Target) {
      ++Result.Already;
      continue;
    }
    TPassEntry& Entry = Entries.emplace_back();
    Entry.Position = static_cast<int>(I);
    Entry.Folder = Step.Folder;
    Entry.Name = NameAt(Step, Kept);
    Entry.NewName = Target;
    Entry.Found = true;
    Entry.File = States[I].File;  // the commit checks again that it is still this file
  }
  NumberFolders(Entries);
  FindFolderCase(Entries, Fs);
  ValidateEntries(Entries, Fs);
  const std::vector<TPassStep> Steps = PlanSteps(Entries, Fs);
  if (Log && !Steps.empty()) {
    Result.JournalError = Log->Begin(Undo ? "undo" : "finish", Entries, Steps);
    if (!Result.JournalError.empty()) return Result;
  }
  CommitSteps(Entries, Steps, Fs, [Log](const TPassEntry&) {
    if (Log) Log->StepDone();
    return true;
  });
  if (Log && !Steps.empty()) Log->End();
  for (const TPassEntry& Entry : Entries) {
    if (Entry.Status == psRenamed) {
      ++Result.Pass.Renamed;
      continue;
    }
    std::string Reason;
    if (Entry.Status == psTaken || Entry.Status == psDuplicate || Entry.Status == psSameFile)
      Reason = Undo ? Tr("Recovery", "its old name is taken by another file")
                    : Tr("Recovery", "its new name is taken by another file");
    else
      Reason = PassReason(Result.Pass, Entry);
    Result.Problems.push_back({Entry.Path(), Reason});
  }
  return Result;
}
