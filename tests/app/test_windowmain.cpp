// The main window: files arriving, the toolbar commands, the field-insert
// menu, the rules on controls, profiles, settings, and both passes end to end.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <atomic>
#include <fstream>

#include "app/InstanceFolder.h"
#include "app/InstanceSender.h"
#include "app/Profile.h"
#include "app/WindowMain.h"
#include "rename/Journal.h"
#include "rename/FrmCounter.h"
#include "support/ScriptedWindowDialogs.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "support/WaitFor.h"

namespace {

// Renames slowly, so that a test can act while the disk work is under way.
class TSlowFileSystem : public TLinuxFileSystem {
 public:
  std::atomic<int> Renames{0};
  int Rename(const std::string& From, const std::string& To, bool NoReplace) override {
    QThread::msleep(10);
    ++Renames;
    return TLinuxFileSystem::Rename(From, To, NoReplace);
  }
};

class WindowMainTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApplication(); }

  TWindowMain& Open(std::vector<std::string> Files = {}, TWindowMainOptions Options = {}) {
    Options.Files = std::move(Files);
    Window.reset();
    Window = std::make_unique<TWindowMain>(Dialogs, std::move(Options));
    return *Window;
  }
  // The grid's files as names, "-" marking an unchecked one.
  std::string Listed() {
    std::string Result;
    for (int I = 0; I < Window->Grid().FileCount(); ++I)
      ((Result += I ? " " : "") += Window->Grid().File(I).Name()) += Window->Grid().IsChecked(I) ? "" : "-";
    return Result;
  }
  // Whether the file commands are enabled; they go with Preview.
  bool FileControlsEnabled() {
    const bool Enabled = Window->buttonPreview->isEnabled();
    for (QAction* A : {Window->toolbuttonRemoveAllFiles, Window->toolbuttonMoveTop, Window->toolbuttonInvertChecks})
      EXPECT_EQ(A->isEnabled(), Enabled) << A->objectName().toStdString();
    return Enabled && Window->buttonStart->isEnabled();
  }

  TTempDir Dir;
  TScriptedWindowDialogs Dialogs;
  std::unique_ptr<TWindowMain> Window;
};

}  // namespace

TEST_F(WindowMainTest, FilesArriveInOrderFromTheCommandLineDropsAndTheAddCommands) {
  const std::string A = Dir.Make("a.txt");
  Open({A, Dir / "missing.txt", A});
  EXPECT_EQ(Listed(), "a.txt a.txt");  // duplicates stay, missing files are left out
  std::filesystem::create_directory(Dir / "folder");
  Dir.Make("folder/inner.txt");
  QMimeData Data;
  Data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Dir.Make("z.txt"))),
                QUrl::fromLocalFile(QString::fromStdString(Dir / "folder"))});
  // Qt hands a drop only to a widget that accepted the drag entering it.
  QDragEnterEvent Enter(QPoint(10, 10), Qt::CopyAction, &Data, Qt::LeftButton, {});
  QApplication::sendEvent(Window.get(), &Enter);
  QDropEvent Drop(QPointF(10, 10), Qt::CopyAction, &Data, Qt::LeftButton, {});
  QApplication::sendEvent(Window.get(), &Drop);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  Dialogs.OpenAnswers = {{Dir.Make("a b%.txt")}};
  Window->toolbuttonAddFiles->trigger();
  Window->toolbuttonAddFiles->trigger();  // cancelled
  // Add Folder takes the folder's own files, hidden ones too, but not those listed already or in subfolders.
  Dir.Make(".hidden");
  Dialogs.FolderAnswers = {Dir.Path.string() + "/"};
  Window->toolbuttonAddFolder->trigger();
  EXPECT_EQ(Listed(), "a.txt a.txt z.txt folder a b%.txt .hidden");
  EXPECT_TRUE(FileControlsEnabled());
  Window->toolbuttonRemoveAllFiles->trigger();
  EXPECT_FALSE(FileControlsEnabled());
}

TEST_F(WindowMainTest, PreviewAndStartRenamingRunTheRulesOnTheCheckedFiles) {
  Open({Dir.Make("Artist - Song.mp3"), Dir.Make("keep.txt")});
  Window->Grid().CheckBoxChanged(1, false);
  Window->checkboxChangeFileName->setChecked(true);
  Window->textboxSearchString->setText("<<*>");  // refused: its message, and nothing changes
  Window->buttonPreview->click();
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Window->Grid().File(0).NewFileName, "");
  EXPECT_TRUE(Window->buttonPreview->isEnabled());
  Window->textboxSearchString->setText("<*> - <*>.mp3");
  Window->textboxReplaceString->setText("<2> - <1>.mp3");
  Window->buttonPreview->click();
  EXPECT_EQ(Window->Grid().File(0).NewFileName, "Song - Artist.mp3");
  EXPECT_EQ(Window->Grid().File(1).NewFileName, "");
  // The shown preview follows the rules, with every conflict and its reason.
  const TFileGridFile& First = Window->Grid().File(0);
  Window->textboxReplaceString->setText("keep.txt");
  ASSERT_TRUE(WaitFor([&] { return First.NewFileName == "keep.txt"; }));
  EXPECT_EQ(First.NewNameProblem(), "a file named \"keep.txt\" already exists");
  EXPECT_EQ(Window->labelPreviewSummary->text(), "1 of 1 new names conflicts");
  Window->textboxReplaceString->setText("<2> - <1>.mp3");
  ASSERT_TRUE(WaitFor([&] { return First.NewFileName == "Song - Artist.mp3"; }));
  EXPECT_EQ(First.NewNameProblem() + Window->labelPreviewSummary->text().toStdString(), "");
  Window->buttonStart->click();
  Window->WaitForRenaming();
  EXPECT_TRUE(std::filesystem::exists(Dir / "Song - Artist.mp3"));
  EXPECT_TRUE(std::filesystem::exists(Dir / "keep.txt"));
  EXPECT_EQ(Dialogs.Shown.at(1).Text, RenamedCountMessage(1));
  EXPECT_FALSE(Window->progressbarExecution->isVisibleTo(Window.get()));
  EXPECT_TRUE(Window->panelSettings->isEnabled());
}

// The grid lets go of a renamed entry's texts as it shows it; the reason of
// an entry left out still names the file that took its name, by the path it had.
TEST_F(WindowMainTest, AfterRenamingAnEntryLeftOutNamesTheFileThatTookItsName) {
  const std::string First = Dir.Make("a.txt");
  Open({First, Dir.Make("b.txt")});
  Window->checkboxChangeFileName->setChecked(true);
  Window->textboxSearchString->setText("<*>.txt");
  Window->textboxReplaceString->setText("c.txt");
  Window->buttonStart->click();
  Window->WaitForRenaming();
  EXPECT_EQ(Listed(), "c.txt b.txt");
  EXPECT_EQ(Window->Grid().File(1).NewNameProblem(), "\"" + First + "\" is given the same name before it");
}

TEST_F(WindowMainTest, TheWindowStaysLiveWhileRenamingAndCancelLeavesEachFileUnderOneOfItsNames) {
  std::vector<std::string> Paths, Renamed;
  for (int I = 0; I < 40; ++I) {
    Paths.push_back(Dir.Make("f" + std::to_string(I)));
    Renamed.push_back(Dir / ("F" + std::to_string(I)));
  }
  auto Fs = std::make_shared<TSlowFileSystem>();
  TWindowMainOptions Options;
  Options.FileSystem = Fs;
  Open(Paths, std::move(Options));
  Window->checkboxUpperCase->setChecked(true);
  Window->buttonStart->click();
  ASSERT_TRUE(Window->RenamingRunning());
  int Ticks = 0;
  QTimer Tick;
  QObject::connect(&Tick, &QTimer::timeout, [&] { ++Ticks; });
  Tick.start(1);
  ASSERT_TRUE(WaitFor([&] { return Fs->Renames >= 5 && Ticks >= 5; }));
  EXPECT_FALSE(Window->gridFiles->isEnabled());
  Window->buttonCancel->click();
  ASSERT_TRUE(WaitFor([&] { return !Window->RenamingRunning(); }));
  int Moved = 0;
  for (size_t I = 0; I < Paths.size(); ++I) {
    EXPECT_NE(std::filesystem::exists(Paths[I]), std::filesystem::exists(Renamed[I])) << Paths[I];
    Moved += std::filesystem::exists(Renamed[I]);
  }
  EXPECT_TRUE(Moved >= 5 && Moved < 40) << Moved;
  EXPECT_EQ(Dialogs.Shown.at(0).Text, RenamedCountMessage(Moved));
  EXPECT_TRUE(Window->gridFiles->isEnabled());
  EXPECT_TRUE(Window->buttonStart->isVisibleTo(Window.get()) && !Window->buttonCancel->isVisibleTo(Window.get()));
}

TEST_F(WindowMainTest, FilesHandedOverReachTheGridAndTheControls) {
  TTempDir Runtime;
  TWindowMainOptions Options;
  const std::string Folder = InstanceFolderPath(Runtime.Path, "", "");
  Options.SenderFolder = Folder;
  Open({}, std::move(Options));
  // The sender waits for each answer, so it runs on a thread of its own
  // while the event loop here serves the window's socket.
  const std::vector<std::string> Paths = {Dir.Make("c.txt"), Dir.Make("a.txt")};
  TSendOutcome Outcome = soFailed;
  std::unique_ptr<QThread> Sender(
      QThread::create([&] { Outcome = SendToRunningCopy(Folder, Paths).Outcome; }));
  Sender->start();
  ASSERT_TRUE(WaitFor([&] { return Sender->isFinished(); }));
  EXPECT_EQ(Outcome, soSent);
  EXPECT_EQ(Listed(), "c.txt a.txt");
  EXPECT_TRUE(FileControlsEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowMainTest, ProfilesAreSavedLoadedAndResetThroughTheToolbar) {
  Open();
  const std::string Profile = Dir / "photos.prf";
  Dialogs.SaveAnswers = {Profile};
  Window->checkboxUpperCase->setChecked(true);
  Window->toolbuttonSaveProfile->trigger();
  Window->textboxSearchString->setText("x");
  Window->toolbuttonSaveProfile->trigger();  // no dialog this time
  EXPECT_EQ(Dialogs.FileDialogs.size(), 1u);
  const TRenameSettings Saved = ReadProfileSettings(Profile);
  EXPECT_TRUE(Saved.UpperCase);
  EXPECT_EQ(Saved.SearchString, "x");

  const std::string Rules = Dir.Make("rules.prf", "[Quorvane-Profile]\nAddExtension=1\nFileExtension=jpg\n"
                                                  "CounterStartValue=5\nCounterFillZeros=0\n");
  Dialogs.OpenAnswers = {{Rules}};
  Window->toolbuttonOpenProfile->trigger();  // asked first, Yes by default
  EXPECT_TRUE(Window->textboxFileExtension->isEnabled());  // the check box rules follow the loaded values
  EXPECT_EQ(Window->textboxFileExtension->text(), "jpg");
  EXPECT_FALSE(Window->checkboxUpperCase->isChecked());
  EXPECT_FALSE(Window->frmCounter->FillZeros());
  EXPECT_EQ(Window->windowTitle(), "Quorvane 2 [rules.prf]");
  Window->toolbuttonNewProfile->trigger();
  EXPECT_FALSE(Window->textboxFileExtension->isEnabled());
  EXPECT_EQ(Window->frmCounter->StartText(), "5");  // the counter is not part of New Profile
  EXPECT_EQ(Window->windowTitle(), "Quorvane 2 []");
  EXPECT_EQ(Dialogs.Shown.size(), 2u);  // a question each time a profile was open
  const QList<QAction*> Recent = Window->toolmenuMRU->actions();
  ASSERT_EQ(Recent.size(), 2);
  Recent[1]->trigger();
  EXPECT_EQ(Window->ProfileFileName(), Profile);
  EXPECT_TRUE(Window->checkboxUpperCase->isChecked());

  // A file that cannot be written: the error shows, and neither the file nor the window changes.
  const std::string Locked = Dir.Make("locked.prf", "[Quorvane-Profile]\nUpperCase=0\n");
  std::filesystem::permissions(Locked, std::filesystem::perms::owner_read);
  Window->SaveProfile(Locked);
  EXPECT_EQ(Dialogs.Shown.back().Text, ProfileWriteErrorText(Locked));
  EXPECT_EQ(Window->windowTitle(), "Quorvane 2 [photos.prf]");
  EXPECT_FALSE(ReadProfileSettings(Locked).UpperCase);
}

TEST_F(WindowMainTest, RulesWrittenToTheControlsReadBackTheSame) {
  Open();
  TRenameSettings Rules;
  Rules.LowerCase = Rules.AddExtension = Rules.SearchAndReplace = Rules.CounterSameWidth = true;
  Rules.FileExtension = "jpg";
  Rules.SearchString = "<*> - <*>";
  Rules.ReplaceString = "<2> ä <zaehler>";
  Rules.CounterStartValue = "7";
  Rules.CounterStepSize = "-2";
  Rules.CounterWidth = "4";
  Rules.CounterFillZeros = false;
  Window->WriteRenameSettings(Rules);
  EXPECT_EQ(Window->ReadRenameSettings(), Rules);
  EXPECT_TRUE(Window->textboxFileExtension->isEnabled());  // the unlocking rules ran
}

TEST_F(WindowMainTest, AnsweringNoKeepsTheOpenProfileAndTheWindow) {
  Open();
  const std::string Profile = Dir / "a.prf";
  Window->LoadProfile(Profile);  // missing: defaults, but open all the same
  Window->textboxReplaceString->setText("kept");
  Dialogs = TScriptedWindowDialogs({mrNo, mrNo, mrNo, mrYes});
  Window->toolbuttonNewProfile->trigger();
  Window->toolbarlistMRUClick(Dir / "b.prf");
  EXPECT_FALSE(Window->close());
  EXPECT_EQ(Window->textboxReplaceString->text(), "kept");
  EXPECT_EQ(Window->ProfileFileName(), Profile);
  EXPECT_EQ(Dialogs.Shown.at(2).Text,
            "Currently a Profile is opened. Possible changes are lost if you close the Quorvane 2! Continue?");
  EXPECT_TRUE(Window->close());
}

TEST_F(WindowMainTest, SettingsCarryTheWindowToTheNextStart) {
  TTempDir Config;
  std::filesystem::create_directories(Config.Path / "Velmora/Quorvane");
  TWindowMainOptions Options;
  Options.Settings = TSettingsEnvironment{Config.Path.string(), Dir.Path.string()};
  const std::string Profile = Dir.Make("a.prf");
  Open({}, Options);
  Window->resize(700, 450);
  Window->menuitemToolbarShowCaptions->trigger();
  Window->LoadProfile(Profile);
  Window->gridFiles->header()->moveSection(Window->gridFiles->header()->visualIndex(fcSize), 0);
  Window->gridFiles->SetColumnVisible(fcDescription, false);
  Window->Grid().HeaderClick(fcSize);
  const TFileGridLayout Layout = Window->gridFiles->Layout();
  Open({}, Options);
  EXPECT_EQ(Window->size(), QSize(700, 450));
  EXPECT_EQ(Window->toolbarFileGrid->toolButtonStyle(), Qt::ToolButtonIconOnly);
  EXPECT_EQ(Window->RecentFiles().Items(), std::vector<std::string>{Profile});
  EXPECT_EQ(Window->gridFiles->Layout(), Layout);
  EXPECT_TRUE(Window->ProfileFileName().empty());  // a restart opens no profile
  EXPECT_TRUE(Dialogs.Shown.empty());

  // A file that cannot be read is reported once, and the command line is not dropped.
  Window.reset();
  Config.Make("Velmora/Quorvane/Quorvane.2.X.X.X.xml", "<Quorvane settingsVersion=\"2.0.0.0\"><Window>");
  Open({Dir.Make("b.txt")}, Options);
  EXPECT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Listed(), "b.txt");
}

// Undo Renaming follows the journal, and a pass found interrupted at start
// is asked about; the grid follows the files either way.
TEST_F(WindowMainTest, UndoRenamingAndTheQuestionAfterAnInterruptedPass) {
  TTempDir State;
  TWindowMainOptions Options;
  Options.JournalFolder = State / "journal/";
  Open({Dir.Make("a.txt"), Dir.Make("b.txt")}, Options);
  EXPECT_FALSE(Window->toolbuttonUndo->isEnabled());
  Window->checkboxUpperCase->setChecked(true);
  Window->buttonStart->click();
  Window->WaitForRenaming();
  EXPECT_TRUE(Window->toolbuttonUndo->isEnabled());
  EXPECT_EQ(Window->toolbuttonUndo->text(), "Undo renaming of 2 files");
  // Cut off before its end with one file not yet renamed: the next window asks, and Finish (the first answer) finishes.
  const std::string Pass = ListJournals(Options.JournalFolder).back();
  std::filesystem::resize_file(Pass, std::filesystem::file_size(Pass) - 4);
  std::filesystem::rename(Dir / "B.TXT", Dir / "b.txt");
  Open({Dir / "A.TXT", Dir / "b.txt"}, Options);
  QCoreApplication::processEvents();
  EXPECT_EQ(Dialogs.Shown.at(1), (TMessage{"The renaming of 2 files was interrupted; 1 of them have their new names.\n\n"
                                           "Finish the renaming, undo it, or decide later?",
                                           "Interrupted Renaming", mtConfirmation, {mrYes, mrNo, mrCancel}}));
  EXPECT_EQ(Listed(), "A.TXT B.TXT");
  EXPECT_EQ(Window->toolbuttonUndo->text(), "Undo renaming of 1 file");
  Window->show();
  QApplication::setActiveWindow(Window.get());
  QTest::keyClick(Window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Listed(), "A.TXT b.txt");
  EXPECT_EQ(Dialogs.Shown.back().Text, "1 file(s) renamed back.");
  // A journal that cannot be written stops the pass before its first rename, with its message.
  Options.JournalFolder = Dir / "A.TXT/journal/";
  Open({Dir / "b.txt"}, Options);
  Window->checkboxUpperCase->setChecked(true);
  Window->buttonStart->click();
  Window->WaitForRenaming();
  EXPECT_TRUE(Dialogs.Shown.back().Text.ends_with("Nothing was renamed.")) << Dialogs.Shown.back().Text;
  EXPECT_EQ(Listed(), "b.txt");
  EXPECT_TRUE(Window->panelSettings->isEnabled());
}
