#include "rename/RenamePasses.h"

#include <algorithm>

#include "base/Translation.h"
#include "rename/TextChecks.h"

namespace {

// Runs Undo when the scope ends, however it ends, so that an unexpected
// exception never leaves the window disabled.
template <class TUndo>
class TScopeExit {
 public:
  explicit TScopeExit(TUndo Undo) : FUndo(std::move(Undo)) {}
  ~TScopeExit() {
    if (FArmed) FUndo();
  }
  void Release() { FArmed = false; }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

 private:
  TUndo FUndo;
  bool FArmed = true;
};

// A hash of an entry's path, made without building the path.
size_t PathHash(const TPassEntry& Entry) {
  const std::hash<std::string_view> Hash;
  return Hash(Entry.Folder) * 31 + Hash(Entry.Name);
}

bool ByHash(const std::pair<size_t, TFileStatus>& A, const std::pair<size_t, TFileStatus>& B) {
  return A.first < B.first;
}

}  // namespace

std::string ReadOnlyQuestion(const std::string& Path) {
  return Filled(Tr("RenamePasses", "\"%1\" ist schreibgeschützt! Soll die Datei trotzdem umbenannt werden?"), {Path});
}

std::string FileNotFoundMessage(const std::string& Path) {
  return Filled(Tr("RenamePasses", "Kann auf folgende Datei nicht zugreifen!: \"%1\""), {Path});
}

std::string RenamedCountMessage(int Count) {
  return Tr("RenamePasses", "%n file(s) renamed.", nullptr, Count);
}

std::string RenamedBackCountMessage(int Count) {
  return Tr("RenamePasses", "%n file(s) renamed back.", nullptr, Count);
}

std::optional<TPassResult> TRenamePasses::Preview(std::vector<TPassEntry> Entries,
                                                  const TRenameSettings& Settings, TPassState& State,
                                                  TPreviewOptions Options) {
  const bool Quiet = Options.Quiet;
  // A quiet preview follows the rules as they are typed: it leaves the
  // controls, and the keyboard focus, alone.
  if (!Quiet) FView.SetPreviewRunning(true);
  TScopeExit Enable([this, Quiet] {
    if (!Quiet) FView.SetPreviewRunning(false);
  });
  FPreviewed.clear();

  const std::string Message = CheckRenameSettings(Settings, State.UsedFields, State.CounterValue);
  if (!Message.empty()) {
    if (!Quiet) ShowErrorBox(FDialogs, Message);
    return std::nullopt;
  }
  const TNameBuilder Builder(Settings, State.UsedFields, FContext);
  TPassResult Result{std::move(Entries)};
  TFolderListings Listings;
  // In a list every checked file gets its name, found or not, so that the
  // numbers the counter gives are those of the list.
  LookUpAndBuildNames(Result.Entries, FFs, Builder, State.CounterValue, Options.NameMissingFiles, &Listings);
  ValidateEntries(Result.Entries, FFs, &Listings);
  FPreviewed.resize(Result.Entries.size());
  for (size_t I = 0; I < Result.Entries.size(); ++I)
    if (const TPassEntry& Entry = Result.Entries[I]; Entry.Found) FPreviewed[I] = {PathHash(Entry), Entry.File};
  return Result;
}

void TRenamePasses::LookUpRenaming(TRenamingPlan& Plan) {
  LookUpEntries(Plan.Result.Entries, FFs);
  if (FPreviewed.empty()) return;
  // The files are mostly those of the preview in the same order; the others
  // are looked for among the previewed files sorted by hash.
  std::vector<std::pair<size_t, TFileStatus>> Sorted;
  std::vector<TPassEntry>& Entries = Plan.Result.Entries;
  for (size_t I = 0; I < Entries.size(); ++I) {
    TPassEntry& Entry = Entries[I];
    if (!Entry.Found) continue;
    const size_t Hash = PathHash(Entry);
    const TFileStatus* Shown = nullptr;
    if (I < FPreviewed.size() && FPreviewed[I].first == Hash) {
      Shown = &FPreviewed[I].second;
    } else {
      if (Sorted.empty()) {
        Sorted = FPreviewed;
        std::sort(Sorted.begin(), Sorted.end(), ByHash);
      }
      const auto At = std::lower_bound(Sorted.begin(), Sorted.end(), std::pair(Hash, TFileStatus()), ByHash);
      if (At != Sorted.end() && At->first == Hash) Shown = &At->second;
    }
    // What the preview showed of this file no longer holds.
    if (!Shown || !Shown->SameFileUnchanged(Entry.File)) Entry.Status = psChanged;
  }
}

void TRenamePasses::AskRenaming(TRenamingPlan& Plan) {
  FPreviewed.clear();
  enum { rmAsk, rmAlways, rmNever } ReadOnlyMode = rmAsk;
  for (TPassEntry& Entry : Plan.Result.Entries) {
    if (!Entry.Found) {
      ShowErrorBox(FDialogs, FileNotFoundMessage(Entry.Path()));
      continue;
    }
    if (Entry.Status == psChanged || !Entry.File.ReadOnly) continue;
    TModalResult Answer = mrYes;
    if (ReadOnlyMode == rmAsk) {
      Answer = FDialogs.ShowMessage({ReadOnlyQuestion(Entry.Path()), Tr("Dialogs", "Confirm"), mtConfirmation,
                                     {mrYes, mrNo, mrNoToAll, mrYesToAll}});
      if (Answer == mrYesToAll) ReadOnlyMode = rmAlways;
      if (Answer == mrNoToAll) ReadOnlyMode = rmNever;
    }
    if (ReadOnlyMode == rmNever || Answer == mrNo) Entry.Status = psSkipped;
  }
}

std::optional<TRenamingPlan> TRenamePasses::PrepareRenaming(std::vector<TPassEntry> Entries,
                                                            const TRenameSettings& Settings, TPassState& State) {
  FView.SetRenamingRunning(true);
  TScopeExit Restore([this] { FView.SetRenamingRunning(false); });

  const bool SearchTextRefused = Settings.SearchAndReplace && !CheckSearchText(Settings.SearchString).empty();
  if (const std::string Message = CheckRenameSettings(Settings, State.UsedFields, State.CounterValue);
      !Message.empty()) {
    // A refused replacement text or counter number shows once the window is usable again.
    if (!SearchTextRefused) {
      Restore.Release();
      FView.SetRenamingRunning(false);
    }
    ShowErrorBox(FDialogs, Message);
    return std::nullopt;
  }

  TRenamingPlan Plan{{std::move(Entries)}, {}, {}, State.CounterValue, {}};
  Plan.Builder = std::make_unique<TNameBuilder>(Settings, State.UsedFields, FContext);
  FView.ShowProgress(static_cast<int>(Plan.Result.Entries.size()));
  Restore.Release();
  return Plan;
}

void TRenamePasses::PlanRenaming(TRenamingPlan& Plan) {
  std::vector<TPassEntry>& Entries = Plan.Result.Entries;
  BuildAndValidate(Entries, *Plan.Builder, Plan.CounterValue, FFs);
  Plan.Steps = PlanSteps(Entries, FFs);
  // The plan is on record before the first rename, or nothing is renamed.
  if (FJournal && !Plan.Steps.empty()) Plan.Refused = FJournal->Begin("rename", Entries, Plan.Steps);
}

void TRenamePasses::CommitRenaming(TRenamingPlan& Plan, const std::function<bool(const TPassEntry&)>& Done) {
  if (!Plan.Refused.empty()) return;
  for (const TPassEntry& Entry : Plan.Result.Entries)
    if (Entry.Status != psRename) Done(Entry);
  CommitSteps(Plan.Result.Entries, Plan.Steps, FFs, [&](const TPassEntry& Entry) {
    if (FJournal) FJournal->StepDone();
    return Done(Entry);
  });
  if (FJournal) FJournal->End();
}

std::optional<TPassResult> TRenamePasses::FinishRenaming(TRenamingPlan Plan) {
  TScopeExit Restore([this] {
    FView.HideProgress();
    FView.SetRenamingRunning(false);
  });
  if (!Plan.Refused.empty()) {
    ShowErrorBox(FDialogs, Plan.Refused);
    return std::nullopt;
  }
  TPassResult& Result = Plan.Result;
  for (const TPassEntry& Entry : Result.Entries)
    if (Entry.Status == psRenamed) ++Result.Renamed;
  FDialogs.ShowMessage({RenamedCountMessage(Result.Renamed), "Quorvane 2", mtInformation, {mrOk}});
  return std::move(Result);
}

std::optional<TPassResult> TRenamePasses::StartRenaming(std::vector<TPassEntry> Entries,
                                                        const TRenameSettings& Settings, TPassState& State) {
  std::optional<TRenamingPlan> Plan = PrepareRenaming(std::move(Entries), Settings, State);
  if (!Plan) return std::nullopt;
  LookUpRenaming(*Plan);
  AskRenaming(*Plan);
  PlanRenaming(*Plan);
  State.CounterValue = Plan->CounterValue;
  TScopeExit Restore([this] {
    FView.HideProgress();
    FView.SetRenamingRunning(false);
  });
  int Processed = 0;
  CommitRenaming(*Plan, [&](const TPassEntry& Entry) {
    FView.FileProcessed(Plan->Result, Entry);
    FView.SetProgress(++Processed);
    return !FView.StopRequested();
  });
  Restore.Release();
  return FinishRenaming(std::move(*Plan));
}
