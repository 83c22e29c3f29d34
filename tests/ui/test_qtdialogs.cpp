// The real message boxes and file dialogs, built but never run modally, and
// fonts shrunk to fit fixed layouts.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <algorithm>

#include "support/TestApplication.h"
#include "ui/FitFont.h"
#include "ui/QtDialogs.h"

namespace {

class QtDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApplication(); }

  // The captions of a shown box's buttons from left to right.
  static QStringList Captions(QMessageBox& Box) {
    QList<QAbstractButton*> Buttons = Box.buttons();
    std::sort(Buttons.begin(), Buttons.end(),
              [](QAbstractButton* A, QAbstractButton* B) { return A->mapToGlobal(QPoint()).x() < B->mapToGlobal(QPoint()).x(); });
    QStringList Result;
    for (QAbstractButton* Button : Buttons) Result << Button->text();
    return Result;
  }
  static QAbstractButton* ButtonCaptioned(QMessageBox& Box, const QString& Caption) {
    for (QAbstractButton* Button : Box.buttons())
      if (Button->text() == Caption) return Button;
    return nullptr;
  }
};

}  // namespace

TEST_F(QtDialogsTest, MessageBoxShowsTextCaptionIconAndButtonsAsGiven) {
  const struct {
    TMessage Message;
    QMessageBox::Icon Icon;
    QStringList Captions;
  } Cases[] = {
      {{"Datei <1> fehlt", "Error", mtError, {mrOk}}, QMessageBox::Critical, {"OK"}},
      {{"Weiter?", "Quorvane 2", mtConfirmation, {mrYes, mrNo}}, QMessageBox::Question, {"&Yes", "&No"}},
      {{"Schreibgeschützt", "Confirm", mtConfirmation, {mrYes, mrNo, mrNoToAll, mrYesToAll}},
       QMessageBox::Question, {"&Yes", "&No", "N&o to All", "Yes to &All"}},
      {{"Achtung", "Warning", mtWarning, {mrCancel, mrOk}}, QMessageBox::Warning, {"Cancel", "OK"}},
      {{"Fertig", "Info", mtInformation, {mrOk}}, QMessageBox::Information, {"OK"}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Message.Text);
    const auto Box = CreateMessageBox(Case.Message);
    Box->show();
    EXPECT_EQ(Box->text(), QString::fromStdString(Case.Message.Text));
    EXPECT_EQ(Box->textFormat(), Qt::PlainText);
    EXPECT_EQ(Box->windowTitle(), QString::fromStdString(Case.Message.Caption));
    EXPECT_EQ(Box->icon(), Case.Icon);
    EXPECT_EQ(Captions(*Box), Case.Captions);
    Box->hide();
  }
}

TEST_F(QtDialogsTest, MessageBoxAnswersWithTheButtonPressedOrNone) {
  const TMessage Question{"Weiter?", "Quorvane 2", mtConfirmation, {mrYes, mrNo, mrCancel}};
  auto Box = CreateMessageBox(Question);
  Box->show();
  ButtonCaptioned(*Box, "&No")->click();
  EXPECT_EQ(MessageBoxResult(*Box), mrNo);
  EXPECT_FALSE(Box->isVisible());

  const struct {
    std::vector<TModalResult> Buttons;
    TModalResult Enter, Escape;
  } Keys[] = {
      {{mrYes, mrNo, mrCancel}, mrYes, mrCancel},
      {{mrYes, mrNo}, mrYes, mrNo},
      {{mrCancel, mrOk}, mrOk, mrCancel},
      {{mrYes, mrYesToAll}, mrYes, mrNone},  // no button answers Escape: the box stays open
  };
  for (const auto& Case : Keys) {
    SCOPED_TRACE(testing::Message() << Case.Buttons.size() << " buttons");
    for (auto [Key, Expected] : {std::pair{Qt::Key_Return, Case.Enter}, {Qt::Key_Escape, Case.Escape}}) {
      Box = CreateMessageBox({"?", "Quorvane 2", mtConfirmation, Case.Buttons});
      Box->show();
      QTest::keyClick(Box.get(), Key);
      EXPECT_EQ(MessageBoxResult(*Box), Expected);
      EXPECT_EQ(Box->isVisible(), Expected == mrNone);
    }
  }
}

TEST_F(QtDialogsTest, FileDialogsTakeTitleFilterSuffixAndInitialPath) {
  const QString Home = QDir::homePath();
  const TFileDialog Open{"Add Files", "Profiles (*.prf);;All files (*)", "", Home.toStdString(), true};
  auto Dialog = CreateFileDialog(Open, false);
  EXPECT_EQ(Dialog->windowTitle(), "Add Files");
  EXPECT_EQ(Dialog->nameFilters(), (QStringList{"Profiles (*.prf)", "All files (*)"}));
  EXPECT_EQ(Dialog->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(Dialog->fileMode(), QFileDialog::ExistingFiles);
  EXPECT_EQ(Dialog->directory().absolutePath(), Home);

  Dialog = CreateFileDialog({"Profil öffnen", "*.prf", "", "", false}, false);
  EXPECT_EQ(Dialog->windowTitle(), "Profil öffnen");
  EXPECT_EQ(Dialog->fileMode(), QFileDialog::ExistingFile);

  Dialog = CreateFileDialog({"Profil speichern", "*.prf", "prf", "/tmp/x.prf", false}, true);
  EXPECT_EQ(Dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(Dialog->defaultSuffix(), "prf");
  EXPECT_FALSE(Dialog->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(Dialog->directory().absolutePath(), "/tmp");

  Dialog = CreateFolderDialog("Select the folder", "/tmp");
  EXPECT_EQ(Dialog->windowTitle(), "Select the folder");
  EXPECT_EQ(Dialog->fileMode(), QFileDialog::Directory);
  EXPECT_TRUE(Dialog->testOption(QFileDialog::ShowDirsOnly));
  EXPECT_TRUE(Dialog->testOption(QFileDialog::DontResolveSymlinks));
  EXPECT_EQ(Dialog->directory().absolutePath(), "/tmp");
}

TEST_F(QtDialogsTest, ChosenFoldersAreAbsoluteWithoutDoubledOrTrailingSlashes) {
  const std::pair<QString, std::string> Cases[] = {
      {"/", "/"}, {"//", "/"}, {"/tmp/", "/tmp"}, {"/tmp//a/", "/tmp/a"}, {"", ""},
      {".", QDir::currentPath().toStdString()}};
  for (const auto& [Chosen, Expected] : Cases) {
    SCOPED_TRACE(Chosen.toStdString());
    EXPECT_EQ(FolderPath(Chosen), Expected);
  }
}

TEST_F(QtDialogsTest, FontShrinksUntilCaptionsFitButNotBelowTheFloor) {
  QWidget Form;
  QFont Font = Form.font();
  Font.setPointSizeF(12);
  Form.setFont(Font);
  auto* Short = new QLabel("ab", &Form);
  Short->setGeometry(0, 0, 300, 20);
  auto* Long = new QLabel("a caption that needs room", &Form);
  const int Needed = Long->sizeHint().width();
  auto* Wrapped = new QLabel("wrapped text may be as long as it likes", &Form);
  Wrapped->setWordWrap(true);
  Wrapped->setGeometry(0, 40, 10, 60);

  Long->setGeometry(0, 20, Needed, 20);
  ShrinkFontToFit(Form);
  EXPECT_EQ(Form.font().pointSizeF(), 12);  // everything fits already

  Long->setGeometry(0, 20, Needed - 20, 20);
  ShrinkFontToFit(Form);
  const double Size = Form.font().pointSizeF();
  EXPECT_LE(Long->sizeHint().width(), Long->width());
  Font.setPointSizeF(Size + 0.5);  // the largest size that fits was taken
  Form.setFont(Font);
  EXPECT_GT(Long->sizeHint().width(), Long->width());

  Long->setGeometry(0, 20, 5, 20);
  ShrinkFontToFit(Form, 7.5);
  EXPECT_EQ(Form.font().pointSizeF(), 7.5);
}
