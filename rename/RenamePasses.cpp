#include "rename/RenamePasses.h"

#include <cerrno>

#include "base/VmFileLib.h"
#include "rename/TextChecks.h"

namespace {

// Runs Undo when the scope ends, however it ends, so that an unexpected
// exception never leaves the grid in its update bracket or the window disabled.
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

bool UsesFileDate(TUsedFields Used) { return Used.Contains(ufDate) || Used.Contains(ufTime); }

// What is read from inside the file at Path: only the groups in use, and
// nothing without a reader.
TFileMetadata ReadMetadata(const TFieldContext& Context, const std::string& Path, TUsedFields Used) {
  const unsigned Groups = MetadataGroupsOf(Used);
  return Groups != 0 && Context.Metadata ? Context.Metadata->Read(Path, Groups) : TFileMetadata();
}

}  // namespace

std::string ReadOnlyQuestion(const std::string& Path) {
  return "\"" + Path + "\" ist schreibgeschützt! Soll die Datei trotzdem umbenannt werden?";
}

std::string FileNotFoundMessage(const std::string& Path) {
  return "Kann auf folgende Datei nicht zugreifen!: \"" + Path + "\"";
}

std::string RenamedCountMessage(int Count) { return std::to_string(Count) + " file(s) renamed."; }

TRenamePasses::TCheckFailure TRenamePasses::CheckTexts(const TRenameSettings& Settings, TPassState& State,
                                                       std::string& Message) {
  State.UsedFields.Clear();
  if (!Settings.SearchAndReplace) return TCheckFailure::None;
  Message = CheckSearchText(Settings.SearchString);
  if (!Message.empty()) return TCheckFailure::SearchText;
  State.UsedFields.Clear();
  Message = CheckReplaceText(Settings.ReplaceString, Settings, State.UsedFields, State.CounterValue);
  // Every number the names will need is checked here, before any entry changes.
  if (Message.empty()) Message = CheckCounterNumbers(Settings, State.UsedFields);
  return Message.empty() ? TCheckFailure::None : TCheckFailure::Other;
}

void TRenamePasses::Preview(const TRenameSettings& Settings, TPassState& State) {
  FView.SetPreviewRunning(true);
  TScopeExit Enable([this] { FView.SetPreviewRunning(false); });

  std::string Message;
  if (CheckTexts(Settings, State, Message) != TCheckFailure::None) {
    ShowErrorBox(FDialogs, Message);
    return;
  }

  const bool ReadDates = UsesFileDate(State.UsedFields);
  FGrid.BeginUpdate();
  TScopeExit CloseBracket([this] { FGrid.EndUpdate(); });
  for (int I = 0; I < FGrid.FileCount(); ++I) {
    if (!FGrid.IsChecked(I)) {
      FGrid.SetNewFileName(I, std::string());
      continue;
    }
    const std::string& Path = FGrid.GetFileName(I);
    TDateTime FileDate = 0;
    if (ReadDates) {
      // A file that is gone gets no date rather than the previous file's.
      if (const std::optional<TFileInfo> Info = FFiles.Read(Path)) FileDate = Info->LastWriteDate;
    }
    const TFileMetadata Metadata = ReadMetadata(FContext, Path, State.UsedFields);
    FGrid.SetNewFileName(I, BuildNewFileName(NamePart(Path), FileDate, Settings, State.UsedFields,
                                             State.CounterValue, FContext, &Metadata));
  }
}

int TRenamePasses::StartRenaming(const TRenameSettings& Settings, TPassState& State) {
  FView.SetRenamingRunning(true);
  TScopeExit Restore([this] { FView.SetRenamingRunning(false); });

  std::string Message;
  switch (CheckTexts(Settings, State, Message)) {
    case TCheckFailure::None:
      break;
    case TCheckFailure::SearchText:
      ShowErrorBox(FDialogs, Message);
      return 0;
    case TCheckFailure::Other:
      // The window is usable again before this message shows.
      Restore.Release();
      FView.SetRenamingRunning(false);
      ShowErrorBox(FDialogs, Message);
      return 0;
  }

  enum { rmAsk, rmAlways, rmNever } ReadOnlyMode = rmAsk;
  const bool ReadDates = UsesFileDate(State.UsedFields);
  int Renamed = 0;
  const int Count = FGrid.FileCount();
  FView.ShowProgress(Count);
  TScopeExit HideProgress([this] { FView.HideProgress(); });
  {
    FGrid.BeginUpdate();
    TScopeExit CloseBracket([this] { FGrid.EndUpdate(); });
    for (int I = 0; I < Count; ++I) {
      FView.SetProgress(I);
      if (!FGrid.IsChecked(I)) continue;
      const std::string Path = FGrid.GetFileName(I);
      const std::optional<TFileInfo> Info = FFiles.Read(Path);
      if (!Info) {
        ShowErrorBox(FDialogs, FileNotFoundMessage(Path));
        FView.FileProcessed({Path, {}, rrNotFound});
        continue;
      }

      bool Skip = false;
      if (Info->Attributes & faReadOnly) {
        TModalResult Answer = mrYes;
        if (ReadOnlyMode == rmAsk) {
          Answer = FDialogs.ShowMessage(
              {ReadOnlyQuestion(Path), "Confirm", mtConfirmation, {mrYes, mrNo, mrNoToAll, mrYesToAll}});
          if (Answer == mrYesToAll) ReadOnlyMode = rmAlways;
          if (Answer == mrNoToAll) ReadOnlyMode = rmNever;
        }
        Skip = ReadOnlyMode == rmNever || Answer == mrNo;
      }

      if (Skip) {
        FView.FileProcessed({Path, {}, rrSkipped});
      } else {
        const TDateTime FileDate = ReadDates ? Info->LastWriteDate : 0;
        const TFileMetadata Metadata = ReadMetadata(FContext, Path, State.UsedFields);
        const std::string NewName = BuildNewFileName(NamePart(Path), FileDate, Settings, State.UsedFields,
                                                     State.CounterValue, FContext, &Metadata);
        // Refused or failed renames are skipped without a message, as are existing targets.
        if (RenameNoReplace(Path, NewName)) {
          const std::string NewPath = FGrid.File(I).Path + NewName;  // the entry's folder, "/" included
          const bool Changed = NewPath != Path;
          if (Changed) ++Renamed;
          FGrid.UpdateFile(I, NewPath);
          FView.FileProcessed({Path, NewName, Changed ? rrRenamed : rrUnchanged});
        } else {
          FView.FileProcessed({Path, NewName, rrFailed, errno});
        }
      }
      FGrid.SetNewFileName(I, std::string());
    }
    FView.SetProgress(Count);
  }
  FDialogs.ShowMessage({RenamedCountMessage(Renamed), "Quorvane 2", mtInformation, {mrOk}});
  return Renamed;
}
