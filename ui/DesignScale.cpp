#include "ui/DesignScale.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

double DesignScale(TFontSize Font, TFontSize Design) {
  if (Font.Height <= 0 || Font.AverageWidth <= 0) return 1;
  return std::max(Font.Height / Design.Height, Font.AverageWidth / Design.AverageWidth);
}

TFontSize MeasureFont(const QFont& Font) {
  const QFontMetricsF Metrics(Font);
  static const QString Letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  return {Metrics.height(), Metrics.horizontalAdvance(Letters) / Letters.size()};
}

double DesignScale(const QFont& Font) { return DesignScale(MeasureFont(Font)); }

int Scaled(int Value, double Scale) { return static_cast<int>(std::lround(Value * Scale)); }

QPoint Scaled(QPoint Point, double Scale) { return {Scaled(Point.x(), Scale), Scaled(Point.y(), Scale)}; }

QSize Scaled(QSize Size, double Scale) { return {Scaled(Size.width(), Scale), Scaled(Size.height(), Scale)}; }

QRect Scaled(QRect Rect, double Scale) {
  const QPoint TopLeft = Scaled(Rect.topLeft(), Scale);
  const QPoint End = Scaled(Rect.topLeft() + QPoint(Rect.width(), Rect.height()), Scale);
  return {TopLeft, QSize(End.x() - TopLeft.x(), End.y() - TopLeft.y())};
}
