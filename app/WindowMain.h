// The program's main window: the toolbars, the file grid, the three rule
// groups, Preview and Start Renaming, and the intake of files from the
// command line and from drops.
#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CopyData.h"
#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "filegrid/FileGridView.h"
#include "rename/Recovery.h"
#include "rename/RenamePasses.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolBar;
class QToolButton;
class TAnchors;
class TfrmCounter;
class TInstanceServer;
class TWindowDialogs;

// The tags of the field-insert menu's items. A group's items follow its
// first tag: nine brackets, five date or time items, six audio tags.
enum TFieldTag : int {
  ftBracket = 1,
  ftFilename = 10,
  ftFileExtension,
  ftCurrentDate,
  ftFileDate = ftCurrentDate + 5,
  ftCurrentTime = ftFileDate + 5,
  ftFileTime = ftCurrentTime + 5,
  ftCounter = ftFileTime + 5,
  ftPhotoDate,
  ftPhotoTime = ftPhotoDate + 5,
  ftCamera = ftPhotoTime + 5,
  ftAudio,
  ftCount = ftAudio + 6
};

// The field keys by the tag of their item in the field-insert menu; tag 0 is unused.
extern const std::array<std::string_view, ftCount> FieldTags;

// Sets up the process for the window; called first thing in main(), before
// any thread is started.
void PrepareWindowProcess();

// What the window is started with.
struct TWindowMainOptions {
  std::vector<std::string> Files;  // added to the grid at start, in order
  // Where the settings file is looked for; without it the window neither
  // reads nor writes settings.
  std::optional<TSettingsEnvironment> Settings;
  std::shared_ptr<TFileInfoReader> Reader;  // the file system; the real one when empty
  std::shared_ptr<TFileSystem> FileSystem;  // what the passes rename with; the real one when empty
  TFieldContext FieldContext;
  // Where passes keep their journals (see JournalFolder); empty: nowhere, and nothing to undo.
  std::string JournalFolder;
  // The folder in which to listen for files that quorvane-send hands over
  // (see InstanceFolderPath); empty: not listening. Tests give a private one.
  std::string SenderFolder;
};

class TWindowMain : public QMainWindow, private TPassView {
  Q_OBJECT

 public:
  // Dialogs must outlive the window.
  TWindowMain(TWindowDialogs& Dialogs, TWindowMainOptions Options, QWidget* Parent = nullptr);
  ~TWindowMain() override;

  const std::string& ProfileFileName() const { return FProfileFileName; }
  TVmVirtualFileGrid& Grid() { return gridFiles->Grid(); }

  // Enables the file commands, Preview and Start while the grid holds files.
  void UpdateControlStates();
  // Every way of taking files in ends here (command line, drop, Add Files,
  // Add Folder, hand-over): the files are added in order, in one update
  // bracket under the busy cursor, and the file commands follow the grid.
  void TakeFiles(std::vector<std::string> Paths);
  // The rules as the controls and the counter dialog hold them, and back.
  TRenameSettings ReadRenameSettings() const;
  void WriteRenameSettings(const TRenameSettings& Settings);
  const TRecentFiles& RecentFiles() const { return FRecentFiles; }

  // Profiles: an empty name resets the rules of the window (New Profile),
  // any other reads them from that file, which becomes the open profile.
  void LoadProfile(const std::string& FileName);
  // Writes the rules into FileName; on success it is the open profile.
  void SaveProfile(const std::string& FileName);
  void toolbuttonNewProfileClick();
  void toolbuttonOpenProfileClick();
  void toolbarlistMRUClick(const std::string& FileName);
  void toolbuttonSaveClick();
  void toolbuttonSaveAsClick();

  // Command handlers.
  void toolbuttonAddFilesClick();
  void toolbuttonAddFolderClick();
  void toolbuttonRemoveFileClick();
  void toolbuttonRemoveAllFilesClick();
  void toolbuttonInfoClick();
  void menuitemToolbarShowCaptionsClick();
  void buttonPopmenuClick();
  void menuitemSearchReplaceClick(int Tag);
  void menuitemSearchReplaceCounterClick();
  void checkboxAddExtensionClick();
  void checkboxChangeFileNameClick();
  void buttonPreviewClick();
  // Asks its questions, then renames on a thread of its own while the window
  // stays live; the result shows when the disk work is done.
  void buttonStartClick();
  void buttonCancelClick();
  // Whether a renaming pass is under way (from its look-up to its result).
  bool RenamingRunning() const { return FRenaming != nullptr; }
  // Waits for a running pass (asking its questions when their turn comes) and shows its result.
  void WaitForRenaming();
  // Undoes the last pass in its journal; the grid follows.
  void toolbuttonUndoClick();
  // Asks what becomes of a pass that was interrupted: finish, undo, or later.
  void AskAboutInterruptedPass();

  // Controls, named by kind and role.
  QToolBar* toolbarProfile = nullptr;
  QToolBar* toolbarFileGrid = nullptr;
  QToolBar* toolbarAbout = nullptr;
  QAction* toolbuttonNewProfile = nullptr;
  QAction* toolbuttonOpenProfile = nullptr;
  QAction* toolbuttonSaveProfile = nullptr;
  QAction* toolbuttonSaveProfileAs = nullptr;
  QAction* toolbuttonAddFiles = nullptr;
  QAction* toolbuttonAddFolder = nullptr;
  QAction* toolbuttonRemoveFile = nullptr;
  QAction* toolbuttonRemoveAllFiles = nullptr;
  QAction* toolbuttonMoveTop = nullptr;
  QAction* toolbuttonMoveUp = nullptr;
  QAction* toolbuttonMoveDown = nullptr;
  QAction* toolbuttonMoveBottom = nullptr;
  QAction* toolbuttonUncheckAll = nullptr;
  QAction* toolbuttonInvertChecks = nullptr;
  QAction* toolbuttonCheckAll = nullptr;
  QAction* toolbuttonUndo = nullptr;
  QAction* toolButtonInfo = nullptr;
  QAction* toolbuttonExit = nullptr;
  QMenu* toolmenuMRU = nullptr;
  QMenu* menuToolbarOptions = nullptr;
  QAction* menuitemToolbarShowCaptions = nullptr;
  QMenu* menuSearchAndReplace = nullptr;
  QAction* menuitemCounter = nullptr;

  QWidget* panelFileSelection = nullptr;
  TFileGridView* gridFiles = nullptr;
  QWidget* panelSettings = nullptr;
  QCheckBox* checkboxUpperCase = nullptr;
  QCheckBox* checkboxLowerCase = nullptr;
  QCheckBox* checkboxDelExtension = nullptr;
  QCheckBox* checkboxAddExtension = nullptr;
  QLineEdit* textboxFileExtension = nullptr;
  QCheckBox* checkboxChangeFileName = nullptr;
  QLineEdit* textboxSearchString = nullptr;
  QLineEdit* textboxReplaceString = nullptr;
  QToolButton* buttonPopmenu = nullptr;
  QProgressBar* progressbarExecution = nullptr;
  QPushButton* buttonPreview = nullptr;
  QPushButton* buttonStart = nullptr;
  QPushButton* buttonCancel = nullptr;  // stops a renaming pass after the current rename
  QLabel* labelPreviewSummary = nullptr;
  TfrmCounter* frmCounter = nullptr;

 protected:
  void closeEvent(QCloseEvent* Event) override;
  void dragEnterEvent(QDragEnterEvent* Event) override;
  void dropEvent(QDropEvent* Event) override;
  QMenu* createPopupMenu() override;
  bool event(QEvent* Event) override;

 private:
  void CreateToolbars();
  void FitToolbars();
  // The three toolbars, left to right as designed.
  std::array<QToolBar*, 3> Toolbars() const;
  void CreateFileSelection();
  void CreateRuleGroups(QWidget* Parent, TAnchors& Anchors);
  void CreateFieldMenu();
  // Whether the window may close: asks while a profile is open.
  bool FormCloseQuery();
  // Asks before the rules of an open profile are replaced; true to go on.
  bool ConfirmReplaceRules();
  // A profile became the open one: title, and top of the recent list.
  void SetOpenProfile(const std::string& FileName);
  void FillRecentMenu();
  void UpdateTitle();
  // The window's saved size, toolbars, grid layout and recent profiles.
  void LoadSettings();
  void SaveSettings();
  // The window's state as the settings file keeps it, and back.
  TAppSettings CurrentSettings() const;
  void ApplySettings(const TAppSettings& Settings);
  // An edit unlocked by a check box: enabled on the window colour, or
  // disabled on the button-face colour.
  static void SetEditUnlocked(QLineEdit* Edit, bool Unlocked);

  // The shown preview follows every change of the rules or the list: a
  // change marks it for a refresh a moment later.
  void PreviewMayBeStale();
  // What a preview depends on, as one number: the rules and the checked list.
  size_t PreviewKey() const;
  // Runs the Preview and shows it; false when the rules were refused.
  bool RunPreview(TRenamePasses::TPreviewOptions Options);
  // Builds the preview again without a message; refused rules clear it.
  void RefreshPreview();
  void ShowPassResult(const TPassResult& Result);
  // Undo Renaming: enabled with a caption that says what it undoes while a journal holds a pass.
  void UpdateUndoAction();
  // Undoes or finishes the pass of a journal, moves the grid's entries with
  // their files and says what could not be done.
  void RecoverJournal(const std::string& Path, TRecoveryGoal Goal);
  // Files handed over while a pass ran were held back; now they are added.
  void ReleaseHandedOverFiles();
  // The disk work of a renaming pass has ended: the grid shows the result a
  // slice at a time (all at once with AllAtOnce), then the result box.
  // The renaming pass's threads, in turn: the look-up, then the plan and the disk work.
  void RunPassThread(std::function<void()> Work);
  // Between the two: the questions, in list order.
  void AskAndRename();
  // Shows in the grid a slice of the entries whose outcome is final, or all
  // of them; gives how many are shown.
  int ShowFinalEntries(bool AllAtOnce);
  void FinishRenamingPass(bool AllAtOnce = false);
  // Once the window has been painted (or when it is not shown), the files
  // listed at start are read again with their type names.
  void ReadDeferredTypes(int Tries);

  // TPassView
  void SetPreviewRunning(bool Running) override;
  void SetRenamingRunning(bool Running) override;
  void ShowProgress(int Maximum) override;
  void SetProgress(int Position) override;
  void HideProgress() override;

  TWindowDialogs& FDialogs;
  TWindowMainOptions FOptions;
  // The designed positions and sizes are scaled by this to the window's font (see DesignScale).
  double FScale = 1;
  std::shared_ptr<TFileIconCache> FIcons;
  std::shared_ptr<TFileInfoReader> FReader;
  // The reader whose type names wait for the first paint; empty once read.
  std::shared_ptr<TLinuxFileInfoReader> FDeferredTypes;
  bool FPainted = false;
  std::shared_ptr<TFileSystem> FFileSystem;
  std::unique_ptr<TRenamePasses> FPasses;
  std::unique_ptr<TFileJournal> FJournal;
  std::optional<size_t> FPreviewKey;  // while a preview is shown
  QTimer* FPreviewTimer = nullptr;
  bool FPassRunning = false;
  // The renaming pass whose disk work runs on its own thread.
  struct TRunningPass;
  std::unique_ptr<TRunningPass> FRenaming;
  // Files handed over by other processes go through FReceiver into the grid.
  std::unique_ptr<TFileGridCopyDataReceiver> FReceiver;
  TInstanceServer* FServer = nullptr;
  std::string FProfileFileName;
  TRecentFiles FRecentFiles;
  TUsedFields FUsedFields;
};
