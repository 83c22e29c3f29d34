// Colour routines: system colours looked up in the application palette,
// conversions between packed RGB and HSL, blending, luminance changes and
// linear colour transitions drawn line by line with a QPainter. Fractions are
// single-precision and round to the nearest integer, halves to the even
// neighbour, so results are the same wherever the routines run.
#pragma once

#include <QPalette>

#include <cstdint>
#include <vector>

class QColor;
class QPainter;
class QRect;

// A colour value: either packed RGB (red in the lowest byte, the high byte
// ignored) or, when the high byte is 0xFF, the index of a system colour.
using TColor = uint32_t;

inline constexpr TColor clSystemColor = 0xFF000000u;
inline constexpr TColor clBlack = 0x000000u;
inline constexpr TColor clWhite = 0xFFFFFFu;

// The system colours by their customary indexes.
inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clActiveBorder = clSystemColor | 10;
inline constexpr TColor clInactiveBorder = clSystemColor | 11;
inline constexpr TColor clAppWorkSpace = clSystemColor | 12;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;
inline constexpr TColor clHotLight = clSystemColor | 26;
inline constexpr TColor clGradientActiveCaption = clSystemColor | 27;
inline constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
inline constexpr TColor clMenuHighlight = clSystemColor | 29;
inline constexpr TColor clMenuBar = clSystemColor | 30;

struct TColorRgb {
  int32_t R = 0, G = 0, B = 0;  // each 0..255
  bool operator==(const TColorRgb&) const = default;
};

// Hue, saturation and luminance, each scaled to 0..255.
struct TColorHsl {
  int32_t H = 0, S = 0, L = 0;
  bool operator==(const TColorHsl&) const = default;
};

// Packed RGB values (R + G*256 + B*65536).
using TRgbHexArray = std::vector<uint32_t>;

// A run of colours that DrawTransition spreads over a rectangle.
class TColorTransitionDef {
 public:
  virtual ~TColorTransitionDef() = default;
  // Swaps the two ends of the run.
  virtual void Reverse() = 0;
  // Fills Colors with Steps + 1 packed colours: entry Steps is the start of
  // the run, entry 0 its end.
  virtual void GetColors(int Steps, TRgbHexArray& Colors) const = 0;
};

// A straight run from one colour to another.
class TColor2ColorTransitionDef : public TColorTransitionDef {
 public:
  TColor2ColorTransitionDef(TColorRgb From, TColorRgb To) : FromColor(From), ToColor(To) {}
  void Reverse() override;
  // With 0 steps the single entry is FromColor.
  void GetColors(int Steps, TRgbHexArray& Colors) const override;

  TColorRgb FromColor;
  TColorRgb ToColor;
};

// Every routine that may meet a system colour takes the palette to look it up
// in; the caller passes its widget's palette.

// Packed RGB of Color; system colours come from Palette's roles (window
// background = Base, button face = Button, grey text = disabled Text, hot
// light = Link, highlight = Highlight, ...). An unknown index gives black.
TColor ResolveColor(TColor Color, const QPalette& Palette);
TColorRgb ColorToRgb(TColor Color, const QPalette& Palette);
// Packed RGB; channels outside 0..255 are clamped so they cannot spill into
// their neighbours.
TColor RgbToColor(TColorRgb Rgb);
TColorHsl RgbToHsl(TColorRgb Rgb);
TColorRgb HslToRgb(TColorHsl Hsl);
// C1 moved Percent of the way towards C2, channel by channel.
TColor BlendColors(TColor C1, TColor C2, int Percent, const QPalette& Palette);
// Color with its HSL luminance moved by Delta (kept within 0..255).
TColor ChangeLuminance(TColor Color, int Delta, const QPalette& Palette);

// The QColor of a colour value (system colours looked up in Palette).
QColor ToQColor(TColor Color, const QPalette& Palette);
// The packed RGB of a QColor; its alpha is dropped.
TColor FromQColor(const QColor& Color);

// Draws Transition over Rect as parallel one-pixel lines. Direction picks the
// angle: 3 from the start colour at the top to the end at the bottom, 1
// bottom to top, 2 left to right, 0 right to left, 4..7 the diagonals, 8..11
// along the rectangle's diagonals, 12 the given Angle in degrees; any other
// code draws as 3. The transition is left as it was given.
void DrawTransition(TColorTransitionDef& Transition, QPainter& Painter, const QRect& Rect, int Angle,
                    int Direction);
// Draws a transition from C1 to C2 over Rect (see DrawTransition).
void DrawGradient(QPainter& Painter, const QRect& Rect, TColor C1, int Angle, int Direction, TColor C2,
                  const QPalette& Palette);
