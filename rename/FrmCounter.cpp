#include "rename/FrmCounter.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <iterator>
#include <optional>

#include "base/Dialogs.h"
#include "base/VmStringLib.h"
#include "filegrid/VmColorLib.h"
#include "rename/TextChecks.h"
#include "ui/FitFont.h"

namespace {

template <typename TWidget>
TWidget* Place(TWidget* Widget, const char* Name, int Left, int Top, int Width, int Height) {
  Widget->setObjectName(QString::fromLatin1(Name));
  Widget->setGeometry(Left, Top, Width, Height);
  return Widget;
}

std::string TextOf(const QLineEdit* Edit) { return Edit->text().toStdString(); }

}  // namespace

TfrmCounter::TfrmCounter(TDialogs& Dialogs, QWidget* Parent)
    : QDialog(Parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), FDialogs(Dialogs) {
  setObjectName("frmCounter");
  setWindowTitle(tr("Eigenschaften Zähler"));
  setFixedSize(201, 209);

  Label1 = Place(new QLabel(tr("Startwert:"), this), "Label1", 8, 8, 50, 13);
  Label2 = Place(new QLabel(tr("Schrittweite:"), this), "Label2", 8, 32, 61, 13);
  Label3 = Place(new QLabel(tr("Breite:"), this), "Label3", 40, 88, 32, 13);
  editStart = Place(new QLineEdit(QStringLiteral("1"), this), "editStart", 80, 8, 113, 21);
  editStepSize = Place(new QLineEdit(QStringLiteral("1"), this), "editStepSize", 80, 32, 113, 21);
  chkSameWidth = Place(new QCheckBox(tr("Zahlen auf gleiche Breite bringen"), this), "chkSameWidth",
                       8, 64, 185, 17);
  editWidth = Place(new QLineEdit(this), "editWidth", 80, 88, 113, 21);
  optFillZeros = Place(new QRadioButton(tr("mit Nullen auffüllen"), this), "optFillZeros", 40, 120,
                       153, 17);
  optFillSpaces = Place(new QRadioButton(tr("mit Leerzeichen auffüllen"), this), "optFillSpaces", 40,
                        144, 153, 17);
  Bevel1 = Place(new QFrame(this), "Bevel1", 0, 168, 201, 2);
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  btnOk = Place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                QString::fromStdString(ModalResultCaption(mrOk)), this),
                "btnOk", 8, 176, 89, 25);
  btnCancel = Place(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                    QString::fromStdString(ModalResultCaption(mrCancel)), this),
                    "btnCancel", 104, 176, 89, 25);
  btnOk->setDefault(true);
  optFillZeros->setChecked(true);

  QWidget* const TabOrder[] = {editStart, editStepSize, chkSameWidth, editWidth,
                               optFillZeros, optFillSpaces, btnOk, btnCancel};
  for (size_t I = 1; I < std::size(TabOrder); ++I) setTabOrder(TabOrder[I - 1], TabOrder[I]);

  // toggled also fires when a profile load changes the box, so the enabled
  // states always follow it.
  connect(chkSameWidth, &QCheckBox::toggled, this, &TfrmCounter::chkSameWidthClick);
  connect(btnOk, &QPushButton::clicked, this, &TfrmCounter::btnOkClick);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmCounter::btnCancelClick);
  chkSameWidthClick();
  // The layout was made for an 8-point font; a larger desktop font would cut
  // the captions off.
  ShrinkFontToFit(*this);
}

std::string TfrmCounter::StartText() const { return TextOf(editStart); }
std::string TfrmCounter::StepSizeText() const { return TextOf(editStepSize); }
std::string TfrmCounter::WidthText() const { return TextOf(editWidth); }
bool TfrmCounter::SameWidth() const { return chkSameWidth->isChecked(); }
bool TfrmCounter::FillZeros() const { return optFillZeros->isChecked(); }

void TfrmCounter::SetControls(const std::string& Start, const std::string& StepSize, bool SameWidth,
                              const std::string& Width, bool FillZeros) {
  editStart->setText(QString::fromStdString(Start));
  editStepSize->setText(QString::fromStdString(StepSize));
  chkSameWidth->setChecked(SameWidth);
  chkSameWidthClick();
  editWidth->setText(QString::fromStdString(Width));
  (FillZeros ? optFillZeros : optFillSpaces)->setChecked(true);
}

void TfrmCounter::ReadCounterSettings(TRenameSettings& Settings) const {
  Settings.CounterStartValue = StartText();
  Settings.CounterStepSize = StepSizeText();
  Settings.CounterSameWidth = SameWidth();
  Settings.CounterWidth = WidthText();
  Settings.CounterFillZeros = FillZeros();
}

void TfrmCounter::LoadCounterSettings(const TRenameSettings& Settings) {
  SetControls(Settings.CounterStartValue, Settings.CounterStepSize, Settings.CounterSameWidth,
              Settings.CounterWidth, Settings.CounterFillZeros);
}

void TfrmCounter::chkSameWidthClick() {
  const bool On = chkSameWidth->isChecked();
  QPalette Palette = editWidth->palette();
  // The system colours come from the dialog's palette, which this edit's own change leaves alone.
  Palette.setColor(QPalette::Base, ToQColor(On ? clWindow : clBtnFace, palette()));
  editWidth->setPalette(Palette);
  editWidth->setEnabled(On);
  optFillZeros->setEnabled(On);
  optFillSpaces->setEnabled(On);
}

void TfrmCounter::btnOkClick() {
  // The check the passes run, so OK accepts exactly what they can use.
  // The width only counts while its field is on.
  const std::string Message =
      CheckCounterTexts(StartText(), StepSizeText(), editWidth->isEnabledTo(this), WidthText());
  if (!Message.empty()) {
    ShowWarningBox(FDialogs, Message);
    return;
  }
  FCounterValue = *TryStrToInt(StartText());
  accept();
}

void TfrmCounter::btnCancelClick() { reject(); }
