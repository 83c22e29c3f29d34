#include "ui/Anchors.h"

#include <QEvent>
#include <QWidget>

#include "ui/DesignScale.h"

TAnchors::TAnchors(QWidget* Parent, QSize DesignSize, double Scale)
    : QObject(Parent), FParent(Parent), FDesignSize(Scaled(DesignSize, Scale)), FScale(Scale) {
  Parent->installEventFilter(this);
}

void TAnchors::Place(QWidget* Control, QRect Design, int Anchors) {
  FControls.push_back({Control, Scaled(Design, FScale), Anchors});
  Control->setGeometry(Arrange(FControls.back().Design, Anchors, FDesignSize, FParent->size()));
}

QRect TAnchors::Arrange(QRect Design, int Anchors, QSize DesignSize, QSize Now) {
  const int GrowX = Now.width() - DesignSize.width();
  const int GrowY = Now.height() - DesignSize.height();
  QRect Rect = Design;
  if ((Anchors & akRight) && (Anchors & akLeft)) Rect.setWidth(std::max(0, Design.width() + GrowX));
  else if (Anchors & akRight) Rect.moveLeft(Design.left() + GrowX);
  if ((Anchors & akBottom) && (Anchors & akTop)) Rect.setHeight(std::max(0, Design.height() + GrowY));
  else if (Anchors & akBottom) Rect.moveTop(Design.top() + GrowY);
  return Rect;
}

bool TAnchors::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == FParent && Event->type() == QEvent::Resize) Apply();
  return QObject::eventFilter(Watched, Event);
}

void TAnchors::Apply() {
  for (const TPlaced& Placed : FControls)
    Placed.Control->setGeometry(Arrange(Placed.Design, Placed.Anchors, FDesignSize, FParent->size()));
}
