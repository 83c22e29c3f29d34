// The counter dialog: layout, the same-width option, OK and Cancel.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "filegrid/VmColorLib.h"
#include "rename/FrmCounter.h"
#include "support/ScriptedWindowDialogs.h"
#include "support/TestApplication.h"

namespace {

const TMessage NumberWarning{"In alle Felder dürfen nur gültige Zahlenwerte eingegeben werden!", "Warning",
                             mtWarning, {mrOk}};

class FrmCounterTest : public ::testing::Test {
 protected:
  FrmCounterTest() : Form((TestApplication(), Dialogs)) {}

  // Types the three numbers, sets the option, and presses OK in a modal run.
  int PressOk(const char* Start, const char* Step, bool SameWidth, const char* Width, bool& StayedOpen) {
    Dialogs.ExecScripts.push_back([&](QDialog& Dialog) {
      Form.editStart->setText(QString::fromUtf8(Start));
      Form.editStepSize->setText(QString::fromUtf8(Step));
      Form.chkSameWidth->setChecked(SameWidth);
      Form.editWidth->setText(QString::fromUtf8(Width));
      QTest::keyClick(&Dialog, Qt::Key_Return);
      StayedOpen = Dialog.isVisible();
      return Dialog.result();
    });
    return Dialogs.Exec(Form);
  }

  QColor WidthBackground() const { return Form.editWidth->palette().color(QPalette::Base); }

  TScriptedWindowDialogs Dialogs;
  TfrmCounter Form;
};

}  // namespace

TEST_F(FrmCounterTest, StartsWithTheGivenLayoutAndState) {
  EXPECT_EQ(Form.windowTitle(), "Eigenschaften Zähler");
  EXPECT_EQ(Form.size(), QSize(201, 209));
  EXPECT_FALSE(Form.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
  const struct {
    QWidget* Control;
    QRect Geometry;
    QString Caption;
  } Controls[] = {
      {Form.Label1, {8, 8, 50, 13}, "Startwert:"},
      {Form.Label2, {8, 32, 61, 13}, "Schrittweite:"},
      {Form.Label3, {40, 88, 32, 13}, "Breite:"},
      {Form.editStart, {80, 8, 113, 21}, "1"},
      {Form.editStepSize, {80, 32, 113, 21}, "1"},
      {Form.chkSameWidth, {8, 64, 185, 17}, "Zahlen auf gleiche Breite bringen"},
      {Form.editWidth, {80, 88, 113, 21}, ""},
      {Form.optFillZeros, {40, 120, 153, 17}, "mit Nullen auffüllen"},
      {Form.optFillSpaces, {40, 144, 153, 17}, "mit Leerzeichen auffüllen"},
      {Form.Bevel1, {0, 168, 201, 2}, ""},
      {Form.btnOk, {8, 176, 89, 25}, "OK"},
      {Form.btnCancel, {104, 176, 89, 25}, "Cancel"},
  };
  for (const auto& Item : Controls) {
    SCOPED_TRACE(Item.Control->objectName().toStdString());
    EXPECT_EQ(Item.Control->geometry(), Item.Geometry);
    EXPECT_EQ(Item.Control->property("text").toString(), Item.Caption);
    if (!qobject_cast<QLineEdit*>(Item.Control)) {
      EXPECT_LE(Item.Control->sizeHint().width(), Item.Geometry.width()) << "caption cut off";
    }
  }
  // Tab order: each control's successor among the focusable ones.
  QWidget* Expected[] = {Form.editStart,    Form.editStepSize,  Form.chkSameWidth, Form.editWidth,
                         Form.optFillZeros, Form.optFillSpaces, Form.btnOk,        Form.btnCancel};
  QWidget* Widget = Form.editStart;
  for (QWidget* Next : Expected) {
    EXPECT_EQ(Widget, Next);
    do Widget = Widget->nextInFocusChain();
    while (!(Widget->focusPolicy() & Qt::TabFocus));
  }
  EXPECT_FALSE(Form.chkSameWidth->isChecked());
  EXPECT_TRUE(Form.optFillZeros->isChecked());
  EXPECT_FALSE(Form.editWidth->isEnabled() || Form.optFillZeros->isEnabled() || Form.optFillSpaces->isEnabled());
  EXPECT_EQ(WidthBackground(), ToQColor(clBtnFace));
  EXPECT_TRUE(Form.btnOk->isDefault());
  EXPECT_EQ(Form.CounterValue(), 0);
}

TEST_F(FrmCounterTest, SameWidthOptionSwitchesTheWidthControlsTogether) {
  ASSERT_NE(ToQColor(clWindow), ToQColor(clBtnFace));
  for (bool On : {true, false, true}) {
    SCOPED_TRACE(On);
    QTest::mouseClick(Form.chkSameWidth, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_EQ(Form.SameWidth(), On);
    EXPECT_EQ(Form.editWidth->isEnabled(), On);
    EXPECT_EQ(Form.optFillZeros->isEnabled(), On);
    EXPECT_EQ(Form.optFillSpaces->isEnabled(), On);
    EXPECT_EQ(WidthBackground(), ToQColor(On ? clWindow : clBtnFace));
  }
}

TEST_F(FrmCounterTest, OkRefusesNumbersThePassCannotUseAndStaysOpen) {
  const struct {
    const char *Start, *Step;
    bool SameWidth;
    const char* Width;
    bool Accepted;
    int32_t Counter;
  } Cases[] = {
      {"", "1", false, "", false, 0},
      {"1", "1.5", false, "", false, 0},
      {"7", "1", true, "x", false, 0},
      {"-5", "2", false, "x", true, -5},  // the width is not checked while its field is off
      {"12", "0", true, "3", true, 12},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(testing::Message() << Case.Start << "/" << Case.Step << "/" << Case.Width);
    Dialogs.Shown.clear();
    Form.SetCounterValue(0);
    bool StayedOpen = false;
    const int Result = PressOk(Case.Start, Case.Step, Case.SameWidth, Case.Width, StayedOpen);
    EXPECT_EQ(StayedOpen, !Case.Accepted);
    EXPECT_EQ(Result, Case.Accepted ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(Dialogs.Shown, Case.Accepted ? std::vector<TMessage>{} : std::vector{NumberWarning});
    EXPECT_EQ(Form.CounterValue(), Case.Counter);
    EXPECT_EQ(Form.StartText(), Case.Start);
  }
}

TEST_F(FrmCounterTest, CancelClosesAndKeepsWhatWasTyped) {
  for (auto Key : {Qt::Key_Escape, Qt::Key_unknown}) {
    Dialogs.ExecScripts.push_back([&](QDialog& Dialog) {
      Form.editStepSize->setText("zwei");
      if (Key == Qt::Key_Escape)
        QTest::keyClick(&Dialog, Key);
      else
        Form.btnCancel->click();
      EXPECT_FALSE(Dialog.isVisible());
      return Dialog.result();
    });
    EXPECT_EQ(Dialogs.Exec(Form), QDialog::Rejected);
    EXPECT_EQ(Form.StepSizeText(), "zwei");
    EXPECT_TRUE(Dialogs.Shown.empty());
  }
  EXPECT_EQ(Dialogs.ExecTitles, (std::vector<QString>{"Eigenschaften Zähler", "Eigenschaften Zähler"}));
}

TEST_F(FrmCounterTest, CounterSettingsGoToAndComeFromTheRuleSet) {
  TRenameSettings Settings;
  Settings.SearchString = "kept";
  Settings.CounterStartValue = "abc";
  Settings.CounterStepSize = "-3";
  Settings.CounterSameWidth = true;
  Settings.CounterWidth = "4";
  Settings.CounterFillZeros = false;
  Form.LoadCounterSettings(Settings);
  EXPECT_TRUE(Form.editWidth->isEnabled());
  EXPECT_TRUE(Form.optFillSpaces->isChecked());

  TRenameSettings Read;
  Read.SearchString = "kept";
  Form.ReadCounterSettings(Read);
  EXPECT_EQ(Read, Settings);

  Form.LoadCounterSettings(TRenameSettings{});
  EXPECT_FALSE(Form.editWidth->isEnabled());
  EXPECT_TRUE(Form.FillZeros());
  EXPECT_EQ(WidthBackground(), ToQColor(clBtnFace));
}
