#include "ui/FitFont.h"

#include <QAbstractButton>
#include <QLabel>

#include <algorithm>

namespace {

bool CaptionFits(const QWidget* Widget) {
  if (const auto* Label = qobject_cast<const QLabel*>(Widget); Label && Label->wordWrap()) return true;
  if (!qobject_cast<const QLabel*>(Widget) && !qobject_cast<const QAbstractButton*>(Widget)) return true;
  return Widget->sizeHint().width() <= Widget->width();
}

bool CaptionsFit(const QWidget& Widget) {
  if (!CaptionFits(&Widget)) return false;
  const QList<QWidget*> Children = Widget.findChildren<QWidget*>();
  return std::all_of(Children.begin(), Children.end(), CaptionFits);
}

}  // namespace

void ShrinkFontToFit(QWidget& Widget, double MinPointSize) {
  QFont Font = Widget.font();
  while (Font.pointSizeF() - 0.5 >= MinPointSize && !CaptionsFit(Widget)) {
    Font.setPointSizeF(Font.pointSizeF() - 0.5);
    Widget.setFont(Font);
  }
}
