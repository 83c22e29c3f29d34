// The real message boxes and file dialogs, built but never run modally,
// the file chooser, designs scaled to the font, and controls anchored to their parent's edges.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>

#include <algorithm>

#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/Anchors.h"
#include "ui/DesignScale.h"
#include "ui/FileChooser.h"
#include "ui/QtDialogs.h"

namespace {

class QtDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApplication(); }

  // The captions of a shown box's buttons from left to right.
  static QStringList Captions(QMessageBox& Box) {
    QList<QAbstractButton*> Buttons = Box.buttons();
    std::sort(Buttons.begin(), Buttons.end(), [](QAbstractButton* A, QAbstractButton* B) {
      return A->mapToGlobal(QPoint()).x() < B->mapToGlobal(QPoint()).x();
    });
    QStringList Result;
    for (QAbstractButton* Button : Buttons) Result << Button->text();
    return Result;
  }
};

}  // namespace

TEST_F(QtDialogsTest, MessageBoxShowsPlainTextAndButtonsInTheGivenOrder) {
  const auto Box = CreateMessageBox({"Feld <1> fehlt", "Confirm", mtConfirmation, {mrYes, mrNo, mrNoToAll, mrYesToAll}});
  Box->show();
  EXPECT_EQ(Box->text(), "Feld <1> fehlt");
  EXPECT_EQ(Box->textFormat(), Qt::PlainText);
  EXPECT_EQ(Captions(*Box), (QStringList{"&Yes", "&No", "N&o to All", "Yes to &All"}));
}

TEST_F(QtDialogsTest, MessageBoxAnswersWithTheButtonPressedOrNone) {
  const struct {
    std::vector<TModalResult> Buttons;
    TModalResult Enter, Escape;
  } Cases[] = {
      {{mrYes, mrNo, mrCancel}, mrYes, mrCancel},
      {{mrYes, mrNo}, mrYes, mrNo},
      {{mrCancel, mrOk}, mrOk, mrCancel},
      {{mrYes, mrYesToAll}, mrYes, mrNone},  // no button answers Escape: the box stays open
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(testing::Message() << Case.Buttons.size() << " buttons");
    for (auto [Key, Expected] : {std::pair{Qt::Key_Return, Case.Enter}, {Qt::Key_Escape, Case.Escape}}) {
      const auto Box = CreateMessageBox({"?", "Quorvane 2", mtConfirmation, Case.Buttons});
      Box->show();
      QTest::keyClick(Box.get(), Key);
      EXPECT_EQ(MessageBoxResult(*Box), Expected);
      EXPECT_EQ(Box->isVisible(), Expected == mrNone);
    }
  }
}

TEST(FolderPath, ChosenFoldersComeAbsoluteWithoutTrailingOrDoubledSlashes) {
  for (const auto& [Chosen, Expected] : {std::pair<QString, std::string>{"/", "/"}, {"//", "/"}, {"/tmp//a/", "/tmp/a"},
                                         {"", ""}, {".", QDir::currentPath().toStdString()}}) {
    EXPECT_EQ(FolderPath(Chosen), Expected) << Chosen.toStdString();
  }
}

TEST(DesignScale, TheLargerOfTheHeightAndWidthRatiosScalesTheDesign) {
  const TFontSize Design{13, 6};
  for (const auto& [Font, Expected] : {std::pair<TFontSize, double>{{13, 6}, 1.0}, {{15, 7.5}, 1.25},
                                       {{26, 9}, 2.0}, {{11, 5}, 11.0 / 13}, {{0, 0}, 1.0}}) {
    SCOPED_TRACE(Font.Height);
    EXPECT_DOUBLE_EQ(DesignScale(Font, Design), Expected);
  }
  // Edges are scaled, not sizes: controls that touch in the design still touch.
  for (const double Scale : {1.0, 1.15, 1.26, 1.6}) {
    const QRect Left = Scaled(QRect(96, 8, 193, 17), Scale), Right = Scaled(QRect(289, 25, 7, 21), Scale);
    EXPECT_EQ(Left.x() + Left.width(), Right.x()) << Scale;
    EXPECT_EQ(Left.y() + Left.height(), Right.y()) << Scale;
  }
  EXPECT_EQ(Scaled(QRect(40, 72, 137, 21), 1.5), QRect(60, 108, 206, 32));
}

TEST(Anchors, ControlsKeepTheirDistancesToTheAnchoredEdges) {
  const QSize Design(988, 563), Now(1088, 663);
  const QRect Grid(96, 8, 885, 268);
  EXPECT_EQ(TAnchors::Arrange(Grid, akLeft | akTop | akRight | akBottom, Design, Now), QRect(96, 8, 985, 368));
  EXPECT_EQ(TAnchors::Arrange({572, 529, 201, 25}, akRight | akBottom, Design, Now), QRect(672, 629, 201, 25));
  EXPECT_EQ(TAnchors::Arrange({0, 8, 96, 96}, akLeft | akTop, Design, Now), QRect(0, 8, 96, 96));
  EXPECT_EQ(TAnchors::Arrange(Grid, akLeft | akTop | akRight | akBottom, Design, QSize(10, 10)).size(), QSize(0, 0));
}

TEST_F(QtDialogsTest, TheFileChooserListsEveryNameAndGivesItsBytesBack) {
  TTempDir Dir;
  const std::string NotUtf8 = Dir.Make("caf\xe9 b.txt"), Plain = Dir.Make("a.txt");
  std::filesystem::create_directory(Dir / "sub");
  TFileChooser Chooser("Add Files", Dir.Path.string(), true);
  ASSERT_EQ(Chooser.List()->count(), 3);
  EXPECT_EQ(Chooser.List()->item(0)->text(), "sub");  // folders first
  Chooser.List()->selectAll();
  EXPECT_EQ(Chooser.ChosenPaths(), (std::vector<std::string>{Plain, NotUtf8}));
  Chooser.List()->clearSelection();
  Chooser.List()->setCurrentRow(0);
  Chooser.List()->itemActivated(Chooser.List()->item(0));  // a folder opens
  EXPECT_EQ(Chooser.Folder(), Dir / "sub/");
  EXPECT_FALSE(Chooser.ShowFolder(Dir / "missing"));
  EXPECT_EQ(Chooser.Folder(), Dir / "sub/");
}
