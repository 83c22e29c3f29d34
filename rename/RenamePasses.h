// The two passes over the file list: Preview fills the "New Filename" column,
// Start Renaming renames every checked file in its folder. Both read a rule
// set the window filled from its controls, show their messages through
// TDialogs and tell the window through TPassView what to disable and show.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Dialogs.h"
#include "filegrid/FileInfoReader.h"
#include "filegrid/VirtualFileGrid.h"
#include "rename/BuildName.h"
#include "rename/Fields.h"
#include "rename/RenameSettings.h"

// What became of one checked file in a renaming pass.
enum TRenameResult {
  rrRenamed,    // its path changed
  rrUnchanged,  // the new name was its name: nothing was done
  rrNotFound,   // it was not there
  rrSkipped,    // read-only, and the answer left it alone
  rrFailed,     // the rename was refused; Error says why
};
struct TRenameOutcome {
  std::string_view Path;     // before the pass
  std::string_view NewName;  // empty when no name was built
  TRenameResult Result = rrRenamed;
  int Error = 0;  // the errno of a refused rename
};

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
  // Renaming: told once per checked file, in list order, what became of it.
  virtual void FileProcessed(const TRenameOutcome& /*Outcome*/) {}
};

// The state a pass changes beyond the grid: the field groups in use (held by
// the main window) and the running counter (held by the counter dialog).
struct TPassState {
  TUsedFields UsedFields;
  int32_t CounterValue = 1;
};

// The question before a read-only file is renamed.
std::string ReadOnlyQuestion(const std::string& Path);
// The error shown for a checked file that is no longer there.
std::string FileNotFoundMessage(const std::string& Path);
// The closing message of a renaming pass.
std::string RenamedCountMessage(int Count);

class TRenamePasses {
 public:
  // Files is what the passes look each file up with, usually the reader the
  // grid reads with. Everything must outlive the passes.
  TRenamePasses(TVmVirtualFileGrid& Grid, TFileInfoReader& Files, TDialogs& Dialogs, TPassView& View,
                TFieldContext Context = {})
      : FGrid(Grid), FFiles(Files), FDialogs(Dialogs), FView(View), FContext(std::move(Context)) {}

  // Sets every checked entry's new name and empties the unchecked ones'.
  // Refused texts or counter numbers show their message and change nothing.
  void Preview(const TRenameSettings& Settings, TPassState& State);
  // Renames every checked file that exists, asking before read-only files,
  // and re-reads each renamed entry. Never replaces or moves a file. Returns
  // the number of files whose path changed (also shown in the result box).
  int StartRenaming(const TRenameSettings& Settings, TPassState& State);

 private:
  enum class TCheckFailure { None, SearchText, Other };
  TCheckFailure CheckTexts(const TRenameSettings& Settings, TPassState& State, std::string& Message);

  TVmVirtualFileGrid& FGrid;
  TFileInfoReader& FFiles;
  TDialogs& FDialogs;
  TPassView& FView;
  TFieldContext FContext;
};
