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
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

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

namespace {

class WindowMainTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApplication(); }

  std::string MakeFile(const std::string& Name) {
    const std::string Path = Dir / Name;
    std::ofstream(Path) << Name;
    return Path;
  }
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
      Result += (I ? " " : "") + Window->Grid().File(I).Name + (Window->Grid().IsChecked(I) ? "" : "-");
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

TEST_F(WindowMainTest, StartsWithTheCommandLineFilesTickedInOrder) {
  const std::string A = MakeFile("a.txt"), B = MakeFile("b.txt");
  Open({B, A, Dir / "missing.txt", B});
  EXPECT_EQ(Listed(), "b.txt a.txt b.txt");  // duplicates stay, missing files are left out
  EXPECT_TRUE(FileControlsEnabled());
  Open();
  EXPECT_EQ(Listed(), "");
  EXPECT_FALSE(FileControlsEnabled());
}

TEST_F(WindowMainTest, DropsAddFilesAndFoldersInTheirOrder) {
  Open();
  std::filesystem::create_directory(Dir / "folder");
  QMimeData Data;
  Data.setUrls({QUrl::fromLocalFile(QString::fromStdString(MakeFile("z.txt"))),
                QUrl::fromLocalFile(QString::fromStdString(Dir / "folder")),
                QUrl::fromLocalFile(QString::fromStdString(MakeFile("a b%.txt")))});
  for (int Round = 0; Round < 2; ++Round) {
    // Qt hands a drop only to a widget that accepted the drag entering it.
    QDragEnterEvent Enter(QPoint(10, 10), Qt::CopyAction, &Data, Qt::LeftButton, {});
    QApplication::sendEvent(Window.get(), &Enter);
    QDropEvent Drop(QPointF(10, 10), Qt::CopyAction, &Data, Qt::LeftButton, {});
    QApplication::sendEvent(Window.get(), &Drop);
  }
  EXPECT_EQ(Listed(), "z.txt folder a b%.txt z.txt folder a b%.txt");
  EXPECT_TRUE(FileControlsEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowMainTest, AddFilesListsTheChosenFilesEveryTime) {
  Open();
  const std::vector<std::string> Chosen = {MakeFile("b.txt"), MakeFile("a.txt")};
  Dialogs.OpenAnswers = {Chosen, Chosen};
  Window->toolbuttonAddFiles->trigger();
  Window->toolbuttonAddFiles->trigger();
  Window->toolbuttonAddFiles->trigger();  // cancelled
  EXPECT_EQ(Listed(), "b.txt a.txt b.txt a.txt");
  EXPECT_TRUE(Dialogs.FileDialogs.at(2).MultiSelect);
}

TEST_F(WindowMainTest, AddFolderAddsTheFolderOwnFilesOnce) {
  Open();
  MakeFile("a.txt");
  MakeFile(".hidden");
  std::filesystem::create_directory(Dir / "sub");
  std::ofstream(Dir / "sub/inner.txt") << "x";
  const std::string Folder = Dir.Path.string();
  Dialogs.FolderAnswers = {Folder, Folder + "/"};
  Window->toolbuttonAddFolder->trigger();
  Window->toolbuttonAddFolder->trigger();  // nothing new
  Window->toolbuttonAddFolder->trigger();  // cancelled
  std::vector<std::string> Paths;
  for (int I = 0; I < Window->Grid().FileCount(); ++I) Paths.push_back(Window->Grid().GetFileName(I));
  std::sort(Paths.begin(), Paths.end());
  EXPECT_EQ(Paths, (std::vector<std::string>{Folder + "/.hidden", Folder + "/a.txt"}));
  EXPECT_TRUE(FileControlsEnabled());
}

TEST_F(WindowMainTest, RemoveCommandsUpdateTheControlsButMovesKeepThem) {
  Open({MakeFile("a.txt"), MakeFile("b.txt")});
  Window->gridFiles->SetRowSelected(1, true);
  Window->toolbuttonMoveTop->trigger();
  EXPECT_EQ(Listed(), "b.txt a.txt");
  Window->toolbuttonUncheckAll->trigger();
  Window->toolbuttonInvertChecks->trigger();
  Window->toolbuttonRemoveFile->trigger();
  EXPECT_EQ(Listed(), "a.txt");
  Window->toolbuttonRemoveAllFiles->trigger();
  EXPECT_FALSE(FileControlsEnabled());
}

TEST_F(WindowMainTest, FieldsReplaceTheSelectionOrGoInAtTheCaret) {
  Open();
  QLineEdit* Replace = Window->textboxReplaceString;
  struct TCase {
    int Tag, Caret, SelectionLength;
    const char* Expected;
  } Cases[] = {{11, 1, 0, "a<typ>b"}, {11, 0, 2, "<typ>"}, {3, 2, 0, "ab<3>"}, {25, 0, 0, "<zeit,a,m>ab"},
               {30, 1, 1, "a<zeit,d,m>"}, {12, 0, 0, "<datum,a,k>ab"}};
  for (const TCase& C : Cases) {
    Replace->setText("ab");
    if (C.SelectionLength) Replace->setSelection(C.Caret, C.SelectionLength);
    else Replace->setCursorPosition(C.Caret);
    Window->menuitemSearchReplaceClick(C.Tag);
    EXPECT_EQ(Replace->text().toStdString(), C.Expected) << C.Tag;
  }
  // The counter goes in only after its dialog's OK.
  Replace->setText("x");
  Dialogs.ExecScripts = {[](QDialog&) { return int(QDialog::Rejected); },
                         [](QDialog&) { return int(QDialog::Accepted); }};
  Window->menuitemCounter->trigger();
  EXPECT_EQ(Replace->text(), "x");
  Window->menuitemCounter->trigger();
  EXPECT_EQ(Replace->text(), "x<zaehler>");
}

TEST_F(WindowMainTest, CheckBoxesUnlockTheirEditsWithoutTouchingTheText) {
  Open();
  const QColor Window_ = QApplication::palette().color(QPalette::Base);
  const QColor Face = QApplication::palette().color(QPalette::Button);
  Window->textboxFileExtension->setText("jpg");
  for (bool Checked : {true, false}) {
    Window->checkboxAddExtension->setChecked(Checked);
    EXPECT_EQ(Window->textboxFileExtension->isEnabled(), Checked);
    EXPECT_EQ(Window->textboxFileExtension->palette().color(QPalette::Base), Checked ? Window_ : Face);
    Window->checkboxChangeFileName->setChecked(Checked);
    for (QLineEdit* Edit : {Window->textboxSearchString, Window->textboxReplaceString}) {
      EXPECT_EQ(Edit->isEnabled(), Checked);
      EXPECT_EQ(Edit->palette().color(QPalette::Base), Checked ? Window_ : Face);
    }
    EXPECT_EQ(Window->buttonPopmenu->isEnabled(), Checked);
  }
  EXPECT_EQ(Window->textboxFileExtension->text(), "jpg");
}

TEST_F(WindowMainTest, PreviewAndStartRenamingRunTheRulesOnTheCheckedFiles) {
  Open({MakeFile("Artist - Song.mp3"), MakeFile("keep.txt")});
  Window->Grid().CheckBoxChanged(1, false);
  Window->checkboxChangeFileName->setChecked(true);
  Window->textboxSearchString->setText("<*> - <*>.mp3");
  Window->textboxReplaceString->setText("<2> - <1>.mp3");
  Window->buttonPreview->click();
  EXPECT_EQ(Window->Grid().File(0).NewFileName, "Song - Artist.mp3");
  EXPECT_EQ(Window->Grid().File(1).NewFileName, "");
  Window->buttonStart->click();
  EXPECT_TRUE(std::filesystem::exists(Dir / "Song - Artist.mp3"));
  EXPECT_TRUE(std::filesystem::exists(Dir / "keep.txt"));
  EXPECT_EQ(Dialogs.Shown.at(0).Text, RenamedCountMessage(1));
  EXPECT_FALSE(Window->progressbarExecution->isVisibleTo(Window.get()));
  EXPECT_TRUE(Window->panelSettings->isEnabled());
}

TEST_F(WindowMainTest, RefusedSearchTextShowsItsMessageAndChangesNothing) {
  Open({MakeFile("a.txt")});
  Window->checkboxChangeFileName->setChecked(true);
  Window->textboxSearchString->setText("<<*>");
  Window->buttonPreview->click();
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Window->Grid().File(0).NewFileName, "");
  EXPECT_TRUE(Window->buttonPreview->isEnabled());
}

TEST_F(WindowMainTest, FilesHandedOverReachTheGridAndTheControls) {
  TTempDir Runtime;
  TWindowMainOptions Options;
  Options.SenderFolder = InstanceFolderPath(Runtime.Path);
  Open({}, std::move(Options));
  // The sender waits for each answer, so it runs on a thread of its own
  // while the event loop here serves the window's socket.
  const std::vector<std::string> Paths = {MakeFile("c.txt"), MakeFile("a.txt")};
  TSendOutcome Outcome = soFailed;
  std::unique_ptr<QThread> Sender(
      QThread::create([&] { Outcome = SendToRunningCopy(InstanceFolderPath(Runtime.Path), Paths).Outcome; }));
  QEventLoop Loop;
  QObject::connect(Sender.get(), &QThread::finished, &Loop, &QEventLoop::quit);
  Sender->start();
  Loop.exec();
  EXPECT_EQ(Outcome, soSent);
  EXPECT_EQ(Listed(), "c.txt a.txt");
  EXPECT_TRUE(FileControlsEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowMainTest, SavingAsksForANameOnceThenWritesToTheOpenProfile) {
  Open();
  const std::string Profile = Dir / "photos.prf";
  Dialogs.SaveAnswers = {Profile};
  Window->checkboxUpperCase->setChecked(true);
  Window->toolbuttonSaveProfile->trigger();
  EXPECT_EQ(Window->windowTitle(), "Quorvane 2 [photos.prf]");
  Window->textboxSearchString->setText("x");
  Window->toolbuttonSaveProfile->trigger();  // no dialog this time
  EXPECT_EQ(Dialogs.FileDialogs.size(), 1u);
  const TRenameSettings Saved = ReadProfileSettings(Profile);
  EXPECT_TRUE(Saved.UpperCase);
  EXPECT_EQ(Saved.SearchString, "x");
  EXPECT_EQ(Window->RecentFiles().Items(), std::vector<std::string>{Profile});

  // A file that cannot be written: the error shows, and neither the file nor the window changes.
  const std::string Locked = Dir / "locked.prf";
  std::ofstream(Locked) << "[Quorvane-Profile]\nUpperCase=0\n";
  std::filesystem::permissions(Locked, std::filesystem::perms::owner_read);
  Window->SaveProfile(Locked);
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].Text, "Kann Profil nicht in Datei \"" + Locked + "\" speichern!\n\r( Datei schreibgeschützt? )");
  EXPECT_EQ(Window->windowTitle(), "Quorvane 2 [photos.prf]");
  EXPECT_FALSE(ReadProfileSettings(Locked).UpperCase);
  EXPECT_EQ(Window->RecentFiles().Count(), 1);
}

TEST_F(WindowMainTest, LoadingAProfileSetsTheControlsAndTheirRulesAndNewProfileResetsThem) {
  Open();
  const std::string Profile = Dir / "rules.prf";
  std::ofstream(Profile) << "[Quorvane-Profile]\nAddExtension=1\nFileExtension=jpg\nSearchAndReplace=0x10\n"
                            "SearchString=<*>\nCounterStartValue=5\nCounterSameWidth=1\nCounterFillZeros=0\n";
  Dialogs.OpenAnswers = {{Profile}};
  Window->toolbuttonOpenProfile->trigger();
  EXPECT_TRUE(Window->textboxFileExtension->isEnabled());
  EXPECT_EQ(Window->textboxFileExtension->text(), "jpg");
  EXPECT_TRUE(Window->textboxSearchString->isEnabled());
  EXPECT_TRUE(Window->frmCounter->editWidth->isEnabled());
  EXPECT_FALSE(Window->frmCounter->FillZeros());
  EXPECT_EQ(Window->windowTitle(), "Quorvane 2 [rules.prf]");

  Dialogs.Shown.clear();
  Window->toolbuttonNewProfile->trigger();  // a profile is open: asked first, Yes by default
  EXPECT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_FALSE(Window->textboxFileExtension->isEnabled());
  EXPECT_EQ(Window->textboxFileExtension->text(), "");
  EXPECT_EQ(Window->frmCounter->StartText(), "5");  // the counter is not part of New Profile
  EXPECT_EQ(Window->windowTitle(), "Quorvane 2 []");
  Window->toolbuttonNewProfile->trigger();  // no profile open: no question
  EXPECT_EQ(Dialogs.Shown.size(), 1u);
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

TEST_F(WindowMainTest, TheRecentMenuShowsTheLastProfilesAndOpensThem) {
  Open();
  for (const char* Name : {"a.prf", "b.prf", "A.prf", "c.prf", "b.prf"}) Window->LoadProfile(Dir / Name);
  const QList<QAction*> Items = Window->toolmenuMRU->actions();
  ASSERT_EQ(Items.size(), 3);
  EXPECT_EQ(Items[0]->text(), "&1 b.prf");
  Items[2]->trigger();
  EXPECT_EQ(Window->ProfileFileName(), Dir / "A.prf");
}

TEST_F(WindowMainTest, SettingsCarryTheWindowToTheNextStart) {
  TTempDir Config;
  std::filesystem::create_directories(Config.Path / "Velmora/Quorvane");
  TWindowMainOptions Options;
  Options.Settings = TSettingsEnvironment{Config.Path.string(), Dir.Path.string()};
  const std::string Profile = MakeFile("a.prf");
  Open({}, Options);
  Window->resize(700, 450);
  Window->menuitemToolbarShowCaptions->trigger();
  Window->LoadProfile(Profile);
  Window->gridFiles->header()->moveSection(Window->gridFiles->header()->visualIndex(fcSize), 0);
  Window->gridFiles->SetColumnVisible(fcDescription, false);
  Window->Grid().HeaderClick(fcSize);
  Window->Grid().HeaderClick(fcSize);
  const TFileGridLayout Layout = Window->gridFiles->Layout();
  Open({}, Options);
  EXPECT_EQ(Window->size(), QSize(700, 450));
  EXPECT_EQ(Window->toolbarFileGrid->toolButtonStyle(), Qt::ToolButtonIconOnly);
  EXPECT_EQ(Window->RecentFiles().Items(), std::vector<std::string>{Profile});
  EXPECT_EQ(Window->gridFiles->Layout(), Layout);
  EXPECT_EQ(Layout.SortDirection, sdDescending);
  EXPECT_TRUE(Window->ProfileFileName().empty());  // a restart opens no profile
  EXPECT_TRUE(Dialogs.Shown.empty());

  // A file that cannot be read is reported once and replaced on exit.
  Window.reset();
  std::ofstream(Config.Path / "Velmora/Quorvane/Quorvane.2.X.X.X.xml")
      << "<Quorvane settingsVersion=\"2.0.0.0\"><Window>";
  Open({MakeFile("b.txt")}, Options);
  EXPECT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Listed(), "b.txt");  // the command line is not dropped
  Window.reset();
  TAppSettings Read;
  LoadSettings(Read, *Options.Settings);
  EXPECT_EQ(Read.Grid, DefaultFileGridLayout());
}

// Undo Renaming follows the journal, and a pass found interrupted at start
// is asked about; the grid follows the files either way.
TEST_F(WindowMainTest, UndoRenamingAndTheQuestionAfterAnInterruptedPass) {
  TTempDir State;
  TWindowMainOptions Options;
  Options.JournalFolder = State / "journal/";
  Open({MakeFile("a.txt"), MakeFile("b.txt")}, Options);
  EXPECT_FALSE(Window->toolbuttonUndo->isEnabled());
  Window->checkboxUpperCase->setChecked(true);
  Window->buttonStart->click();
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
}
