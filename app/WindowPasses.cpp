// The main window's passes: Preview and Start Renaming, the renaming pass
// whose disk work runs on its own thread, the preview that follows the
// rules, and Undo with the recovery of interrupted passes.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QToolBar>

#include <unordered_map>

#include "app/PassList.h"
#include "app/WindowMain.h"
#include "app/WindowParts.h"
#include "base/Translation.h"
#include "base/VmFileLib.h"
#include "rename/FrmCounter.h"
#include "ui/QtDialogs.h"

using namespace WindowParts;

namespace {

// An entry's texts, once nothing reads them any more.
void ReleaseTexts(TPassEntry& Entry) {
  for (std::string* Text : {&Entry.Folder, &Entry.Name, &Entry.NewName}) std::string().swap(*Text);
}

}  // namespace

// --- The passes ---------------------------------------------------------------

void TWindowMain::buttonPreviewClick() {
  RunPreview({});
  ReleaseHandedOverFiles();
}

bool TWindowMain::RunPreview(TRenamePasses::TPreviewOptions Options) {
  TPassState State{FUsedFields, frmCounter->CounterValue()};
  const std::optional<TPassResult> Result = FPasses->Preview(CheckedEntries(Grid()), ReadRenameSettings(), State, Options);
  FUsedFields = State.UsedFields;
  frmCounter->SetCounterValue(State.CounterValue);
  if (!Result) return false;
  ShowPreview(Grid(), *Result);
  ShowPassResult(*Result);
  FPreviewKey = PreviewKey();
  return true;
}

void TWindowMain::buttonStartClick() {
  if (FRenaming) return;
  // A preview waiting for its refresh is brought up to date first, so that
  // the pass compares the files with what the grid shows.
  if (FPreviewKey && *FPreviewKey != PreviewKey()) RefreshPreview();
  FPreviewTimer->stop();
  TPassState State{FUsedFields, frmCounter->CounterValue()};
  std::optional<TRenamingPlan> Plan = FPasses->PrepareRenaming(CheckedEntries(Grid()), ReadRenameSettings(), State);
  FUsedFields = State.UsedFields;
  if (!Plan) {
    FPreviewKey.reset();
    FPasses->ForgetPreview();
    ReleaseHandedOverFiles();
    return;
  }
  // The files are looked up on a thread of their own; the questions follow
  // here, in list order; then the names, the plan, its journal and the disk
  // work run on a thread again. Meanwhile the window repaints, answers and
  // offers Cancel; the bar runs idle until the renames begin.
  FRenaming = std::make_unique<TRunningPass>(std::move(*Plan));
  TRunningPass& Pass = *FRenaming;
  progressbarExecution->setRange(0, 0);
  connect(&Pass.Progress, &QTimer::timeout, this, [this, &Pass] {
    if (!Pass.Planned) return;
    progressbarExecution->setMaximum(static_cast<int>(Pass.Plan.Result.Entries.size()));
    ShowFinalEntries(false);
    progressbarExecution->setValue(Pass.Processed.load(std::memory_order_relaxed));
  });
  Pass.Progress.start(10);
  buttonCancel->setEnabled(true);
  buttonCancel->show();
  RunPassThread([this, &Pass] { FPasses->LookUpRenaming(Pass.Plan); });
}

void TWindowMain::RunPassThread(std::function<void()> Work) {
  TRunningPass& Pass = *FRenaming;
  if (Pass.Thread) Pass.Thread->wait();
  Pass.Thread.reset(QThread::create(std::move(Work)));
  connect(Pass.Thread.get(), &QThread::finished, this, [this] { FinishRenamingPass(); });
  Pass.Thread->start();
}

void TWindowMain::AskAndRename() {
  TRunningPass& Pass = *FRenaming;
  Pass.Asked = true;
  // Stopped before the questions: no question, and no file is touched.
  if (!Pass.Stop) FPasses->AskRenaming(Pass.Plan);
  // The files are compared with the shown preview: what it held goes now,
  // before the names and the plan take their memory.
  FPasses->ForgetPreview();
  Pass.Final.resize(Pass.Plan.Result.Entries.size());
  Grid().BeginUpdate();
  RunPassThread([this, &Pass] {
    if (Pass.Stop) {
      for (TPassEntry& Entry : Pass.Plan.Result.Entries)
        if (Entry.Status == psRename) Entry.Status = psStopped;
    } else {
      FPasses->PlanRenaming(Pass.Plan);
    }
    Pass.Planned = true;
    const TPassEntry* First = Pass.Plan.Result.Entries.data();
    FPasses->CommitRenaming(Pass.Plan, [&Pass, First](const TPassEntry& Entry) {
      // Each entry is told once; the bound only guards the vector.
      if (const int Told = Pass.Processed.load(std::memory_order_relaxed); size_t(Told) < Pass.Final.size()) {
        Pass.Final[size_t(Told)] = static_cast<int>(&Entry - First);
        Pass.Processed.store(Told + 1, std::memory_order_release);
      }
      return !Pass.Stop.load(std::memory_order_relaxed);
    });
  });
}

int TWindowMain::ShowFinalEntries(bool AllAtOnce) {
  TRunningPass& Pass = *FRenaming;
  // Each slice reads a few thousand files again.
  constexpr int Slice = 4000;
  const int Told = Pass.Processed.load(std::memory_order_acquire);
  const int Last = AllAtOnce ? Told : std::min(Told, Pass.Shown + Slice);
  for (; Pass.Shown < Last; ++Pass.Shown) {
    TPassEntry& Entry = Pass.Plan.Result.Entries[size_t(Pass.Final[size_t(Pass.Shown)])];
    ShowRenamed(Grid(), Pass.Plan.Result, Entry);
    // The disk work is done with a renamed entry once it is told, and every
    // entry whose reason names another one is told before the renames: its
    // texts go as it is shown, while the grid makes the keys of the new names.
    if (Entry.Status == psRenamed) ReleaseTexts(Entry);
  }
  return Pass.Shown;
}

void TWindowMain::buttonCancelClick() {
  if (!FRenaming) return;
  FRenaming->Stop = true;
  buttonCancel->setEnabled(false);
}

void TWindowMain::WaitForRenaming() {
  while (FRenaming) {
    FRenaming->Thread->wait();
    FinishRenamingPass(true);
  }
}

void TWindowMain::FinishRenamingPass(bool AllAtOnce) {
  // A finished signal may still be queued from a pass already finished here.
  if (!FRenaming || !FRenaming->Thread->isFinished()) return;
  TRunningPass& Pass = *FRenaming;
  if (!Pass.Asked) return AskAndRename();
  if (Pass.Progress.isActive()) {
    Pass.Progress.stop();
    frmCounter->SetCounterValue(Pass.Plan.CounterValue);
    progressbarExecution->setMaximum(static_cast<int>(Pass.Plan.Result.Entries.size()));
    progressbarExecution->setValue(Pass.Processed);
    buttonCancel->hide();
  }
  // The entries not shown yet follow a slice at a time; between slices the
  // window answers, with the list still held as during the disk work.
  if (ShowFinalEntries(AllAtOnce) < Pass.Processed) {
    QTimer::singleShot(0, this, [this] { FinishRenamingPass(); });
    return;
  }
  // The grid shows every outcome now; what follows counts the statuses
  // alone. The plan's steps and texts go before the list is sorted again,
  // which takes memory of its own.
  std::vector<int>().swap(Pass.Final);
  std::vector<TPassStep>().swap(Pass.Plan.Steps);
  Pass.Plan.Builder.reset();
  for (TPassEntry& Entry : Pass.Plan.Result.Entries) ReleaseTexts(Entry);
  Grid().EndUpdate();
  const std::unique_ptr<TRunningPass> Done = std::move(FRenaming);
  if (const std::optional<TPassResult> Result = FPasses->FinishRenaming(std::move(Done->Plan))) ShowPassResult(*Result);
  // What stays in the grid are the names that were not taken, with their
  // reasons; they are no preview to follow the rules.
  FPreviewKey.reset();
  FPasses->ForgetPreview();
  ReleaseHandedOverFiles();
  UpdateUndoAction();
}

// --- Undo and recovery ----------------------------------------------------------

void TWindowMain::UpdateUndoAction() {
  QString Caption = tr("Undo Renaming");
  TJournal Last;
  const std::vector<std::string> Journals = ListJournals(FOptions.JournalFolder);
  try {
    if (!Journals.empty()) Last = ReadJournalHeader(Journals.back());
  } catch (const EJournalError&) {
    // Undo then says why it cannot.
    Last.Count = 1;
  }
  if (Last.Count > 0)
    Caption = (Last.Count == 1 ? tr("Undo renaming of %1 file") : tr("Undo renaming of %1 files"))
                  .arg(FromUtf8(GroupedNumber(Last.Count)));
  // Under the icon the caption stays short, so that the toolbar keeps its
  // row; the whole caption is the button's tooltip.
  toolbuttonUndo->setText(Caption);
  toolbuttonUndo->setIconText(tr("Undo"));
  toolbuttonUndo->setEnabled(Last.Count > 0 && !FPassRunning);
}

void TWindowMain::toolbuttonUndoClick() {
  const std::vector<std::string> Journals = ListJournals(FOptions.JournalFolder);
  if (!Journals.empty() && !FPassRunning) RecoverJournal(Journals.back(), rgUndo);
}

void TWindowMain::AskAboutInterruptedPass() {
  const std::string Path = FindInterruptedJournal(FOptions.JournalFolder);
  if (Path.empty()) return;
  try {
    const TJournal Journal = ReadJournalFile(Path);
    size_t Renamed = 0;
    for (const TStepState& State : LocateSteps(Journal, *FFileSystem, false)) Renamed += State.Places == spNew;
    const TModalResult Answer = FDialogs.ShowQuestion(
        {Filled(Tr("TWindowMain", "The renaming of %1 files was interrupted; %2 of them have their new names.\n\n"
                                  "Finish the renaming, undo it, or decide later?"),
                {GroupedNumber(Journal.Steps.size()), GroupedNumber(Renamed)}),
         Utf8(tr("Interrupted Renaming")), mtConfirmation, {mrYes, mrNo, mrCancel}},
        {Utf8(tr("&Finish")), Utf8(tr("&Undo")), Utf8(tr("Decide &Later"))});
    if (Answer == mrYes || Answer == mrNo) RecoverJournal(Path, Answer == mrYes ? rgFinish : rgUndo);
  } catch (const EJournalError& Error) {
    ShowErrorBox(FDialogs, Error.what());
  }
}

void TWindowMain::RecoverJournal(const std::string& Path, TRecoveryGoal Goal) {
  TJournal Journal;
  try {
    Journal = ReadJournalFile(Path);
  } catch (const EJournalError& Error) {
    ShowErrorBox(FDialogs, Error.what());
    return;
  }
  QApplication::setOverrideCursor(Qt::BusyCursor);
  const TRecoveryResult Result = RecoverPass(Journal, Goal, *FFileSystem, FJournal.get());
  if (Result.JournalError.empty() && !Journal.Ended) MarkJournalEnded(Path);
  // The entries of moved files take their paths; what a preview showed is gone.
  std::unordered_map<std::string, int> Listed;
  for (int I = 0; I < Grid().FileCount(); ++I) Listed.emplace(Grid().GetFileName(I), I);
  Grid().BeginUpdate();
  for (const TPassEntry& Entry : Result.Pass.Entries)
    if (const auto Found = Listed.find(Entry.Path()); Entry.Status == psRenamed && Found != Listed.end()) {
      Grid().UpdateFile(Found->second, Entry.NewPath());
      Grid().SetNewFileName(Found->second, {});
    }
  Grid().EndUpdate();
  FPreviewKey.reset();
  FPasses->ForgetPreview();
  QApplication::restoreOverrideCursor();
  UpdateUndoAction();
  if (!Result.JournalError.empty()) {
    ShowErrorBox(FDialogs, Result.JournalError);
    return;
  }

  const int Problems = static_cast<int>(Result.Problems.size());
  std::string Text =
      Goal == rgUndo ? RenamedBackCountMessage(Result.Pass.Renamed) : RenamedCountMessage(Result.Pass.Renamed);
  if (Problems > 0)
    Text += "\n\n" + Utf8(Goal == rgUndo ? tr("%n file(s) could not be undone:", nullptr, Problems)
                                         : tr("%n file(s) could not be renamed:", nullptr, Problems));
  for (size_t I = 0; I < Result.Problems.size() && I < 10; ++I)
    Text += "\n" + Result.Problems[I].Path + ": " + Result.Problems[I].Reason;
  if (Result.Problems.size() > 10) Text += "\n...";
  FDialogs.ShowMessage({Text, "Quorvane 2", Result.Problems.empty() ? mtInformation : mtWarning, {mrOk}});
}

void TWindowMain::ReleaseHandedOverFiles() {
  if (!FReceiver || FPassRunning) return;
  FReceiver->SetHeld(false);
  UpdateControlStates();
}

void TWindowMain::ShowPassResult(const TPassResult& Result) {
  labelPreviewSummary->setText(QString::fromStdString(PassSummary(Result)));
}

size_t TWindowMain::PreviewKey() const {
  const TRenameSettings Settings = ReadRenameSettings();
  size_t Key = 0;
  const auto Mix = [&Key](size_t Value) { Key ^= Value + 0x9e3779b97f4a7c15ULL + (Key << 6) + (Key >> 2); };
  const std::hash<std::string> Hash;
  for (const std::string* Text : {&Settings.FileExtension, &Settings.SearchString, &Settings.ReplaceString,
                                  &Settings.CounterStartValue, &Settings.CounterStepSize, &Settings.CounterWidth})
    Mix(Hash(*Text));
  Mix(size_t(Settings.UpperCase) | size_t(Settings.LowerCase) << 1 | size_t(Settings.DelExtension) << 2 |
      size_t(Settings.AddExtension) << 3 | size_t(Settings.SearchAndReplace) << 4 |
      size_t(Settings.CounterSameWidth) << 5 | size_t(Settings.CounterFillZeros) << 6);
  // The list by the hashes the grid keeps of its paths: no path is read again.
  const TVmVirtualFileGrid& Files = gridFiles->Grid();
  for (int I = 0; I < Files.FileCount(); ++I) {
    const TFileGridFile& File = Files.File(I);
    Mix(File.Checked ? File.PathHash : 1);
  }
  return Key;
}

void TWindowMain::PreviewMayBeStale() {
  if (FPreviewKey && !FPassRunning && !FPreviewTimer->isActive()) FPreviewTimer->start();
}

void TWindowMain::RefreshPreview() {
  if (!FPreviewKey || FPassRunning || *FPreviewKey == PreviewKey()) return;
  if (RunPreview({.Quiet = true})) return;
  // Rules that are being typed may not pass their checks yet: no preview then.
  ClearPreview(Grid());
  labelPreviewSummary->clear();
  FPreviewKey.reset();
}

void TWindowMain::SetPreviewRunning(bool Running) {
  // Files handed over meanwhile wait: the message boxes of a pass must not
  // let the list change under it.
  FPassRunning = Running;
  if (FReceiver && Running) FReceiver->SetHeld(true);
  // The pictures and the progress bar keep their colours: only the controls wait.
  for (QWidget* Control : {static_cast<QWidget*>(buttonPreview), static_cast<QWidget*>(buttonStart), panelSettings,
                           static_cast<QWidget*>(gridFiles)})
    Control->setEnabled(!Running);
}

void TWindowMain::SetRenamingRunning(bool Running) {
  FPassRunning = Running;
  if (Running) toolbuttonUndo->setEnabled(false);
  if (FReceiver && Running) FReceiver->SetHeld(true);
  buttonPreview->setVisible(!Running);
  buttonStart->setVisible(!Running);
  // The window stays live while the disk work runs: everything that could
  // change the list or the rules waits, Cancel does not.
  for (QWidget* Control : {static_cast<QWidget*>(panelSettings), static_cast<QWidget*>(gridFiles),
                           static_cast<QWidget*>(toolbarProfile), static_cast<QWidget*>(toolbarFileGrid)})
    Control->setEnabled(!Running);
  setAcceptDrops(!Running);
}

void TWindowMain::ShowProgress(int Maximum) {
  progressbarExecution->setRange(0, std::max(Maximum, 0));
  progressbarExecution->setValue(0);
  progressbarExecution->show();
}

void TWindowMain::SetProgress(int Position) { progressbarExecution->setValue(Position); }

void TWindowMain::HideProgress() { progressbarExecution->hide(); }
