// The main window: start-up, files arriving, the toolbar commands, the
// field-insert menu, the rules on controls, and both passes end to end.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <fstream>
#include <future>

#include "app/InstanceSender.h"
#include "app/WindowMain.h"
#include "rename/FrmCounter.h"
#include "support/ScriptedWindowDialogs.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/Anchors.h"

namespace {

class WindowMainTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApplication(); }

  std::string MakeFile(const std::string& Name) {
    const std::string Path = Dir / Name;
    std::ofstream(Path) << Name;
    return Path;
  }
  TWindowMain& Open(std::vector<std::string> Files = {}) {
    TWindowMainOptions Options;
    Options.Files = std::move(Files);
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
  bool FileControlsEnabled() {
    const bool Enabled = Window->buttonPreview->isEnabled();
    for (QAction* A : {Window->toolbuttonRemoveFile, Window->toolbuttonRemoveAllFiles, Window->toolbuttonMoveBottom,
                       Window->toolbuttonMoveDown, Window->toolbuttonMoveUp, Window->toolbuttonMoveTop,
                       Window->toolbuttonCheckAll, Window->toolbuttonUncheckAll, Window->toolbuttonInvertChecks})
      EXPECT_EQ(A->isEnabled(), Enabled) << A->objectName().toStdString();
    EXPECT_EQ(Window->buttonStart->isEnabled(), Enabled);
    return Enabled;
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
  EXPECT_EQ(Window->windowTitle(), "Quorvane 2 []");
  EXPECT_TRUE(Dialogs.Shown.empty());

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
  ASSERT_EQ(Dialogs.FileDialogs.size(), 3u);
  EXPECT_EQ(Dialogs.FileDialogs[0].Title, "Add Files");
  EXPECT_TRUE(Dialogs.FileDialogs[0].MultiSelect);
  EXPECT_EQ(Dialogs.FileDialogs[0].Filter, "");
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
  EXPECT_EQ(Dialogs.FolderTitles.front(), "Select the folder whose files shall be added.");
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

TEST_F(WindowMainTest, FieldInsertReplacesTheSelectionOrGoesInAtTheCaret) {
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
  EXPECT_EQ(Window->textboxSearchString->text(), "");
  EXPECT_EQ(FieldTags[32], "<zaehler>");
  EXPECT_EQ(FieldTags[10], "<name>");
}

TEST_F(WindowMainTest, CounterItemInsertsOnlyAfterOk) {
  Open();
  Window->textboxReplaceString->setText("x");
  Dialogs.ExecScripts = {[](QDialog&) { return int(QDialog::Rejected); },
                         [](QDialog&) { return int(QDialog::Accepted); }};
  Window->menuitemCounter->trigger();
  EXPECT_EQ(Window->textboxReplaceString->text(), "x");
  Window->menuitemCounter->trigger();
  EXPECT_EQ(Window->textboxReplaceString->text(), "x<zaehler>");
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

TEST_F(WindowMainTest, ShowCaptionsSwitchesAllThreeToolbars) {
  Open();
  for (bool Shown : {false, true}) {
    Window->menuitemToolbarShowCaptions->trigger();
    for (QToolBar* Bar : {Window->toolbarProfile, Window->toolbarFileGrid, Window->toolbarAbout})
      EXPECT_EQ(Bar->toolButtonStyle(), Shown ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
  }
  for (QToolBar* Bar : {Window->toolbarProfile, Window->toolbarFileGrid, Window->toolbarAbout}) {
    EXPECT_FALSE(Bar->isFloatable());
    for (QAction* Action : Bar->actions()) {
      if (!Action->isSeparator()) {
        EXPECT_FALSE(Action->icon().isNull()) << Action->text().toStdString();
      }
    }
  }
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
  ASSERT_FALSE(Dialogs.Shown.empty());
  EXPECT_EQ(Dialogs.Shown.back().Text, RenamedCountMessage(1));
  EXPECT_TRUE(Window->buttonStart->isVisibleTo(Window.get()));
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

TEST_F(WindowMainTest, FilesHandedOverArriveInOrderTickedAndReleaseTheBracket) {
  TTempDir Runtime;
  ::setenv("XDG_RUNTIME_DIR", Runtime.Path.c_str(), 1);
  TWindowMainOptions Options;
  Options.ListenForSenders = true;
  Window = std::make_unique<TWindowMain>(Dialogs, std::move(Options));
  const std::vector<std::string> Paths = {MakeFile("c.txt"), MakeFile("a.txt"), MakeFile("b.txt")};
  auto Sent = std::async(std::launch::async, [&] { return SendToRunningCopy(Paths); });
  while (Sent.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) QApplication::processEvents();
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(Sent.get().Outcome, soSent);
  EXPECT_EQ(Listed(), "c.txt a.txt b.txt");
  EXPECT_TRUE(FileControlsEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Anchors, ControlsKeepTheirDistancesToTheAnchoredEdges) {
  const QSize Design(988, 563), Now(1088, 663);
  const QRect Grid(96, 8, 885, 268);
  EXPECT_EQ(TAnchors::Arrange(Grid, akLeft | akTop | akRight | akBottom, Design, Now), QRect(96, 8, 985, 368));
  EXPECT_EQ(TAnchors::Arrange({572, 529, 201, 25}, akRight | akBottom, Design, Now), QRect(672, 629, 201, 25));
  EXPECT_EQ(TAnchors::Arrange({96, 531, 886, 21}, akLeft | akRight | akBottom, Design, Now), QRect(96, 631, 986, 21));
  EXPECT_EQ(TAnchors::Arrange({0, 8, 96, 96}, akLeft | akTop, Design, Now), QRect(0, 8, 96, 96));
  EXPECT_EQ(TAnchors::Arrange(Grid, akLeft | akTop | akRight | akBottom, Design, QSize(10, 10)).size(), QSize(0, 0));
}
