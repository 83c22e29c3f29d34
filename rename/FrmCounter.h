// The counter dialog: start value, step and the same-width options of the
// counter field. One instance lives as long as the program; its fields hold
// the counter settings between passes, and it keeps the running counter.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

#include "rename/RenameSettings.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDialogs;

class TfrmCounter : public QDialog {
  Q_OBJECT

 public:
  // Warnings are shown through Dialogs, which must outlive the dialog.
  explicit TfrmCounter(TDialogs& Dialogs, QWidget* Parent = nullptr);

  // The texts as typed and the options, read by the passes and by profiles.
  std::string StartText() const;
  std::string StepSizeText() const;
  std::string WidthText() const;
  bool SameWidth() const;
  bool FillZeros() const;

  // Sets every control at once, as a profile load does; the enabled states
  // and the width field's background follow the same-width option.
  void SetControls(const std::string& Start, const std::string& StepSize, bool SameWidth,
                   const std::string& Width, bool FillZeros);
  // Copies the five counter fields into Settings; the others stay.
  void ReadCounterSettings(TRenameSettings& Settings) const;
  // Sets the controls from the five counter fields of Settings.
  void LoadCounterSettings(const TRenameSettings& Settings);

  // The running counter: the value the next name receives. Starts at 0.
  int32_t CounterValue() const { return FCounterValue; }
  void SetCounterValue(int32_t Value) { FCounterValue = Value; }

  // Same width on: the width field gets the window background and it and
  // both fill options are enabled; off: button-face background, all disabled.
  void chkSameWidthClick();
  // Refuses numbers that are not integers with a warning and stays open;
  // otherwise sets the counter to the start value and closes with OK.
  void btnOkClick();
  // Closes with Cancel; the fields keep what was typed.
  void btnCancelClick();

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLineEdit* editStart;
  QLineEdit* editStepSize;
  QCheckBox* chkSameWidth;
  QLineEdit* editWidth;
  QRadioButton* optFillZeros;
  QRadioButton* optFillSpaces;
  QFrame* Bevel1;
  QPushButton* btnOk;
  QPushButton* btnCancel;

 private:
  TDialogs& FDialogs;
  int32_t FCounterValue = 0;
};
