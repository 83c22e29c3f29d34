// The two passes over the checked files of a list: Preview builds and
// validates every new name, Start Renaming renames every checked file in its
// folder. Both run the stages of PassStages.h, read a rule set the caller
// filled, show their messages through TDialogs and tell the caller through
// TPassView what to disable and show. The caller applies the TPassResult to
// its list.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Dialogs.h"
#include "base/FileSystem.h"
#include "rename/Fields.h"
#include "rename/Journal.h"
#include "rename/PassStages.h"
#include "rename/RenameSettings.h"

// What a pass needs of the main window.
class TPassView {
 public:
  virtual ~TPassView() = default;
  // Preview: true disables Preview, Start Renaming and both panels; false enables them again.
  virtual void SetPreviewRunning(bool Running) = 0;
  // Renaming: true hides Preview and Start Renaming and disables both panels;
  // false shows and enables them again.
  virtual void SetRenamingRunning(bool Running) = 0;
  // The progress bar: position 0 of Maximum, made visible.
  virtual void ShowProgress(int Maximum) = 0;
  virtual void SetProgress(int Position) = 0;
  virtual void HideProgress() = 0;
  // Renaming: told of each checked file once its outcome is final: the files
  // that will not be renamed first, in list order, then each rename as it is
  // done on disk.
  virtual void FileProcessed(const TPassResult& /*Result*/, const TPassEntry& /*Entry*/) {}
  // Renaming: asked after each file; true stops the pass there.
  virtual bool StopRequested() { return false; }
};

// The state a pass changes beyond the list: the field groups in use (held by
// the main window) and the running counter (held by the counter dialog).
struct TPassState {
  TUsedFields UsedFields;
  int32_t CounterValue = 1;
};

// A renaming pass between its questions and its disk work: every entry's
// outcome as far as it is known, and the renames in the order planned.
struct TRenamingPlan {
  TPassResult Result;
  std::vector<TPassStep> Steps;
  // Made with the questions, used by PlanRenaming; the counter advances once per name.
  std::unique_ptr<TNameBuilder> Builder;
  int32_t CounterValue = 1;
  std::string Refused;  // why the journal refused the plan; nothing is renamed then
};

// The question before a read-only file is renamed.
std::string ReadOnlyQuestion(const std::string& Path);
// The error shown for a checked file that is no longer there.
std::string FileNotFoundMessage(const std::string& Path);
// The closing message of a renaming pass.
std::string RenamedCountMessage(int Count);
// The closing message of an undo.
std::string RenamedBackCountMessage(int Count);

class TRenamePasses {
 public:
  // Everything must outlive the passes.
  TRenamePasses(TFileSystem& Fs, TDialogs& Dialogs, TPassView& View, TFieldContext Context)
      : FFs(Fs), FDialogs(Dialogs), FView(View), FContext(std::move(Context)) {}

  struct TPreviewOptions {
    bool Quiet = false;            // refused rules show no message, the controls stay as they are
    bool NameMissingFiles = true;  // a file not found gets a name (and a counter value) too
  };
  // Builds every checked file's new name and validates them all; touches no
  // file. Refused rules show their message (unless Quiet) and give nothing.
  std::optional<TPassResult> Preview(std::vector<TPassEntry> Entries, const TRenameSettings& Settings,
                                     TPassState& State, TPreviewOptions Options);
  std::optional<TPassResult> Preview(const std::vector<TPassFile>& Files, const TRenameSettings& Settings,
                                     TPassState& State, TPreviewOptions Options) {
    return Preview(CollectEntries(Files), Settings, State, Options);
  }
  std::optional<TPassResult> Preview(const std::vector<TPassFile>& Files, const TRenameSettings& Settings,
                                     TPassState& State) {
    return Preview(Files, Settings, State, TPreviewOptions());
  }
  // Shows the missing files and asks before read-only ones, in list order,
  // then builds, validates and renames; never replaces or moves a file out of
  // its folder. A file whose preview is shown must still be the file that was
  // previewed. Ends with the result box. Refused rules give nothing.
  // Runs the parts below in turn, the view told of each file.
  std::optional<TPassResult> StartRenaming(std::vector<TPassEntry> Entries, const TRenameSettings& Settings,
                                           TPassState& State);
  std::optional<TPassResult> StartRenaming(const std::vector<TPassFile>& Files, const TRenameSettings& Settings,
                                           TPassState& State) {
    return StartRenaming(CollectEntries(Files), Settings, State);
  }

  // StartRenaming in parts, for a window that does all but the questions on
  // a thread of its own.
  // Prepare (the window's thread): the checks. The view then shows the pass
  // running, progress bar included, until FinishRenaming. Refused rules
  // show their message and give nothing.
  // Entries: the checked files as CollectEntries gives them.
  std::optional<TRenamingPlan> PrepareRenaming(std::vector<TPassEntry> Entries, const TRenameSettings& Settings,
                                               TPassState& State);
  // Look up (any thread): every file, and whether it is still the file the
  // shown preview showed.
  void LookUpRenaming(TRenamingPlan& Plan);
  // Ask (the window's thread): the missing files and the read-only
  // questions, in list order.
  void AskRenaming(TRenamingPlan& Plan);
  // Plan (any thread): build, validate and plan, then the plan goes on
  // record in the journal, or Plan.Refused says why it could not.
  void PlanRenaming(TRenamingPlan& Plan);
  // Commit (any thread): the disk work alone, no dialog, no view; nothing
  // when the plan was refused. Done is
  // told of each entry once its outcome is final, those that will not be
  // renamed first; when it answers false the pass stops after the current
  // rename and the entries whose turn had not come get psStopped.
  void CommitRenaming(TRenamingPlan& Plan, const std::function<bool(const TPassEntry&)>& Done);
  // Finish (the window's thread): counts the renamed files, shows the result
  // box (or why the journal refused the plan: then nothing) and gives the view back.
  std::optional<TPassResult> FinishRenaming(TRenamingPlan Plan);
  // The shown preview is gone; renaming no longer compares files with it.
  void ForgetPreview() { std::vector<std::pair<size_t, TFileStatus>>().swap(FPreviewed); }
  // Where renaming records its plan before the first rename; nullptr: nowhere.
  void SetJournal(TPassJournal* Journal) { FJournal = Journal; }

 private:
  TFileSystem& FFs;
  TDialogs& FDialogs;
  TPassView& FView;
  TFieldContext FContext;
  TPassJournal* FJournal = nullptr;
  // The files of the shown preview as they were then, in its order, each
  // with a hash of its path (0 and no file for one not found).
  std::vector<std::pair<size_t, TFileStatus>> FPreviewed;
};
