// Positions and sizes given in pixels for the design font, scaled to the
// font in use: one factor from the two fonts' metrics, as a form designed
// at one font is scaled to another. The text keeps the desktop's font.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QFont;

// A font's line height and average character width (over a-z and A-Z), in pixels.
struct TFontSize {
  double Height = 0;
  double AverageWidth = 0;
};

// The font the windows' positions are given for: 8-point Tahoma at 96 dots
// per inch, 13 pixels high with characters 6 pixels wide on average.
inline constexpr TFontSize DesignFontSize{13, 6};

// The factor that scales the design to Font: the larger of the height and
// width ratios, so that text has room both ways. 1 for a font without size.
double DesignScale(TFontSize Font, TFontSize Design = DesignFontSize);
TFontSize MeasureFont(const QFont& Font);
// DesignScale of a widget's font.
double DesignScale(const QFont& Font);

// A designed length, position, size or rectangle at Scale, rounded. A
// rectangle's edges are scaled, so that controls that touch in the design
// still touch.
int Scaled(int Value, double Scale);
QPoint Scaled(QPoint Point, double Scale);
QSize Scaled(QSize Size, double Scale);
QRect Scaled(QRect Rect, double Scale);
