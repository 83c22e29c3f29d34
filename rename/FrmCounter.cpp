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
#include "ui/Anchors.h"
#include "ui/DesignScale.h"

namespace {

// Places Widget at its designed rectangle, scaled to the dialog's font.
template <typename TWidget>
TWidget* Place(TAnchors& Anchors, TWidget* Widget, const char* Name, QRect Design, int Anchor = akLeft | akTop) {
  Widget->setObjectName(QString::fromLatin1(Name));
  Anchors.Place(Widget, Design, Anchor);
  return Widget;
}

std::string TextOf(const QLineEdit* Edit) { return Edit->text().toStdString(); }

}  // namespace

TfrmCounter::TfrmCounter(TDialogs& Dialogs, QWidget* Parent)
    : QDialog(Parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), FDialogs(Dialogs) {
  setObjectName("frmCounter");
  setWindowTitle(tr("Eigenschaften Zähler"));
  // The design at the dialog's font; wide enough besides for the title, which
  // a window manager sets in bold.
  const double Scale = DesignScale(font());
  const QSize Design(201, 209);
  QFont TitleFont = font();
  TitleFont.setBold(true);
  QSize Size = Scaled(Design, Scale);
  Size.setWidth(std::max(Size.width(), QFontMetrics(TitleFont).horizontalAdvance(windowTitle()) + Scaled(48, Scale)));
  setFixedSize(Size);
  auto& Anchors = *new TAnchors(this, Design, Scale);
  constexpr int Wide = akLeft | akTop | akRight;

  Label1 = Place(Anchors, new QLabel(tr("Startwert:"), this), "Label1", {8, 8, 50, 13});
  Label2 = Place(Anchors, new QLabel(tr("Schrittweite:"), this), "Label2", {8, 32, 61, 13});
  Label3 = Place(Anchors, new QLabel(tr("Breite:"), this), "Label3", {40, 88, 32, 13});
  editStart = Place(Anchors, new QLineEdit(QStringLiteral("1"), this), "editStart", {80, 8, 113, 21}, Wide);
  editStepSize = Place(Anchors, new QLineEdit(QStringLiteral("1"), this), "editStepSize", {80, 32, 113, 21}, Wide);
  chkSameWidth = Place(Anchors, new QCheckBox(tr("Zahlen auf gleiche Breite bringen"), this),
                       "chkSameWidth", {8, 64, 185, 17}, Wide);
  editWidth = Place(Anchors, new QLineEdit(this), "editWidth", {80, 88, 113, 21}, Wide);
  optFillZeros = Place(Anchors, new QRadioButton(tr("mit Nullen auffüllen"), this), "optFillZeros",
                       {40, 120, 153, 17}, Wide);
  optFillSpaces = Place(Anchors, new QRadioButton(tr("mit Leerzeichen auffüllen"), this),
                        "optFillSpaces", {40, 144, 153, 17}, Wide);
  Bevel1 = Place(Anchors, new QFrame(this), "Bevel1", {0, 168, 201, 2}, Wide);
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  btnOk = Place(Anchors,
                new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QString::fromStdString(ModalResultCaption(mrOk)), this),
                "btnOk", {8, 176, 89, 25});
  btnCancel = Place(Anchors,
                    new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                    QString::fromStdString(ModalResultCaption(mrCancel)), this),
                    "btnCancel", {104, 176, 89, 25}, akTop | akRight);
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
