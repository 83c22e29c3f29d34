// The counter dialog: OK and Cancel.
#include <gtest/gtest.h>

#include <QTest>

#include "rename/FrmCounter.h"
#include "support/ScriptedWindowDialogs.h"
#include "support/TestApplication.h"

namespace {

class FrmCounterTest : public ::testing::Test {
 protected:
  FrmCounterTest() : Form((TestApplication(), Dialogs)) {}

  TScriptedWindowDialogs Dialogs;
  TfrmCounter Form;
};

}  // namespace

TEST_F(FrmCounterTest, OkRefusesNumbersThePassCannotUseCancelKeepsWhatWasTyped) {
  const TMessage Warning{"In alle Felder dürfen nur gültige Zahlenwerte eingegeben werden!", "Warning", mtWarning, {mrOk}};
  // Start, step, same width, width, the key pressed, the counter taken (0: none).
  const struct { const char *Start, *Step; bool SameWidth; const char* Width; Qt::Key Key; int32_t Counter; } Cases[] = {
      {"", "1", false, "", Qt::Key_Return, 0},  // the numbers themselves are CheckCounterTexts', tested with it
      {"-5", "2", false, "x", Qt::Key_Return, -5},  // the width is not checked while its field is off
      {"12", "0", true, "3", Qt::Key_Return, 12},   {"1", "zwei", false, "", Qt::Key_Escape, 0},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(testing::Message() << Case.Start << "/" << Case.Step << "/" << Case.Width);
    const bool Refused = Case.Key == Qt::Key_Return && Case.Counter == 0;
    Dialogs.Shown.clear();
    Form.SetCounterValue(0);
    Dialogs.ExecScripts.push_back([&](QDialog& Dialog) {
      Form.SetControls(Case.Start, Case.Step, Case.SameWidth, Case.Width, true);
      QTest::keyClick(&Dialog, Case.Key);
      EXPECT_EQ(Dialog.isVisible(), Refused);
      return Dialog.result();
    });
    EXPECT_EQ(Dialogs.Exec(Form), Case.Counter ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(Dialogs.Shown, Refused ? std::vector{Warning} : std::vector<TMessage>{});
    EXPECT_EQ(Form.CounterValue(), Case.Counter);
    TRenameSettings Settings;
    Form.ReadCounterSettings(Settings);
    EXPECT_EQ(Settings.CounterStepSize, Case.Step);
  }
}
