// Controls placed at fixed pixel positions that keep their distances to
// chosen edges of their parent when it is resized.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

enum TAnchor : int { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

class TAnchors : public QObject {
 public:
  // DesignSize is the parent's size the positions are given for; they and
  // it are taken at Scale (see DesignScale).
  TAnchors(QWidget* Parent, QSize DesignSize, double Scale = 1);
  // Places Control at Design; with akLeft and akRight it grows with the
  // parent, with only akRight it moves with the right edge (the same for
  // top and bottom).
  void Place(QWidget* Control, QRect Design, int Anchors = akLeft | akTop);
  double Scale() const { return FScale; }
  // The rectangle for a control at Design when the parent has size Now.
  static QRect Arrange(QRect Design, int Anchors, QSize DesignSize, QSize Now);

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  struct TPlaced {
    QWidget* Control;
    QRect Design;
    int Anchors;
  };
  void Apply();

  QWidget* FParent;
  QSize FDesignSize;  // scaled
  double FScale;
  std::vector<TPlaced> FControls;
};
