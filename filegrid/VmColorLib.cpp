#include "filegrid/VmColorLib.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace {

// Nearest integer, halves to the even neighbour, independent of the FPU's
// rounding mode.
int32_t RoundHalfEven(float Value) {
  const float Floor = std::floor(Value);
  const float Fraction = Value - Floor;
  float Result = Floor;
  if (Fraction > 0.5f || (Fraction == 0.5f && std::fmod(Floor, 2.0f) != 0.0f)) Result += 1.0f;
  return static_cast<int32_t>(Result);
}

constexpr float Pi = 3.14159265358979f;

float DegreesToRadians(float Degrees) { return Degrees * (Pi / 180.0f); }

QColor PackedToQColor(uint32_t Rgb) {
  return QColor(static_cast<int>(Rgb & 0xFF), static_cast<int>((Rgb >> 8) & 0xFF), static_cast<int>((Rgb >> 16) & 0xFF));
}

struct TSystemColorRole {
  QPalette::ColorGroup Group;
  QPalette::ColorRole Role;
};

// The palette role that stands for each system colour index. Index 25 has no
// system colour.
constexpr QPalette::ColorGroup Act = QPalette::Active;
constexpr TSystemColorRole SystemColorRoles[] = {
    {Act, QPalette::Button},            // 0 scroll bar
    {Act, QPalette::Dark},              // 1 desktop
    {Act, QPalette::Highlight},         // 2 active caption
    {Act, QPalette::Mid},               // 3 inactive caption
    {Act, QPalette::Window},            // 4 menu
    {Act, QPalette::Base},              // 5 window background
    {Act, QPalette::Shadow},            // 6 window frame
    {Act, QPalette::WindowText},        // 7 menu text
    {Act, QPalette::Text},              // 8 window text
    {Act, QPalette::HighlightedText},   // 9 caption text
    {Act, QPalette::Window},            // 10 active border
    {Act, QPalette::Window},            // 11 inactive border
    {Act, QPalette::Dark},              // 12 application workspace
    {Act, QPalette::Highlight},         // 13 highlight
    {Act, QPalette::HighlightedText},   // 14 highlighted text
    {Act, QPalette::Button},            // 15 button face
    {Act, QPalette::Dark},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text},  // 17 grey text
    {Act, QPalette::ButtonText},        // 18 button text
    {Act, QPalette::WindowText},        // 19 inactive caption text
    {Act, QPalette::Light},             // 20 button highlight
    {Act, QPalette::Shadow},            // 21 dark 3D shadow
    {Act, QPalette::Midlight},          // 22 3D light
    {Act, QPalette::ToolTipText},       // 23 tooltip text
    {Act, QPalette::ToolTipBase},       // 24 tooltip background
    {Act, QPalette::NoRole},            // 25 unused
    {Act, QPalette::Link},              // 26 hot light
    {Act, QPalette::Highlight},         // 27 gradient of the active caption
    {Act, QPalette::Mid},               // 28 gradient of the inactive caption
    {Act, QPalette::Highlight},         // 29 menu highlight
    {Act, QPalette::Window},            // 30 menu bar
};

}  // namespace

void TColor2ColorTransitionDef::Reverse() { std::swap(FromColor, ToColor); }

void TColor2ColorTransitionDef::GetColors(int Steps, TRgbHexArray& Colors) const {
  Colors.clear();
  if (Steps < 0) return;
  Colors.resize(static_cast<size_t>(Steps) + 1);
  if (Steps == 0) {  // one line only: no increment to divide out
    Colors[0] = RgbToColor(FromColor);
    return;
  }
  float R = static_cast<float>(FromColor.R), G = static_cast<float>(FromColor.G),
        B = static_cast<float>(FromColor.B);
  const float StepCount = static_cast<float>(Steps);
  const float IncR = static_cast<float>(ToColor.R - FromColor.R) / StepCount;
  const float IncG = static_cast<float>(ToColor.G - FromColor.G) / StepCount;
  const float IncB = static_cast<float>(ToColor.B - FromColor.B) / StepCount;
  for (int I = Steps; I >= 0; --I) {
    Colors[static_cast<size_t>(I)] = RgbToColor({RoundHalfEven(R), RoundHalfEven(G), RoundHalfEven(B)});
    R += IncR;
    G += IncG;
    B += IncB;
  }
}

TColor ResolveColor(TColor Color, const QPalette& Palette) {
  if ((Color & 0xFF000000u) != clSystemColor) return Color & 0xFFFFFFu;
  const uint32_t Index = Color & 0xFFFFFFu;
  if (Index >= std::size(SystemColorRoles) || SystemColorRoles[Index].Role == QPalette::NoRole) return clBlack;
  const TSystemColorRole& Entry = SystemColorRoles[Index];
  return FromQColor(Palette.color(Entry.Group, Entry.Role));
}

TColorRgb ColorToRgb(TColor Color, const QPalette& Palette) {
  const TColor Rgb = ResolveColor(Color, Palette);
  return {static_cast<int32_t>(Rgb & 0xFF), static_cast<int32_t>((Rgb >> 8) & 0xFF),
          static_cast<int32_t>((Rgb >> 16) & 0xFF)};
}

TColor RgbToColor(TColorRgb Rgb) {
  const auto Channel = [](int32_t Value) { return static_cast<uint32_t>(std::clamp(Value, 0, 255)); };
  return Channel(Rgb.R) | Channel(Rgb.G) << 8 | Channel(Rgb.B) << 16;
}

TColorHsl RgbToHsl(TColorRgb Rgb) {
  const int32_t Max = std::max({Rgb.R, Rgb.G, Rgb.B});
  const int32_t Min = std::min({Rgb.R, Rgb.G, Rgb.B});
  const int32_t Delta = Max - Min;
  float H = 0.0f, S = 0.0f, L = 0.0f;
  if (Delta == 0) {
    L = static_cast<float>(Max) / 255.0f;
  } else {
    L = static_cast<float>(Max + Min) / 2.0f / 255.0f;
    S = L < 0.5f ? static_cast<float>(Delta) / static_cast<float>(Max + Min)
                 : static_cast<float>(Delta) / static_cast<float>(510 - Max - Min);
    const float FDelta = static_cast<float>(Delta);
    const auto Distance = [&](int32_t Channel) {
      return (static_cast<float>(Max - Channel) / 6.0f + FDelta / 2.0f) / FDelta;
    };
    const float DR = Distance(Rgb.R), DG = Distance(Rgb.G), DB = Distance(Rgb.B);
    if (Rgb.B == Max)
      H = 2.0f / 3.0f + DG - DR;
    else if (Rgb.G == Max)
      H = 1.0f / 3.0f + DR - DB;
    else
      H = DB - DG;
    if (H > 1.0f) H -= 1.0f;
    if (H < 0.0f) H += 1.0f;
  }
  return {RoundHalfEven(H * 255.0f), RoundHalfEven(S * 255.0f), RoundHalfEven(L * 255.0f)};
}

TColorRgb HslToRgb(TColorHsl Hsl) {
  if (Hsl.S == 0) return {Hsl.L, Hsl.L, Hsl.L};
  const float H = static_cast<float>(Hsl.H) / 255.0f;
  const float S = static_cast<float>(Hsl.S) / 255.0f;
  const float L = static_cast<float>(Hsl.L) / 255.0f;
  const float Q = L < 0.5f ? L * (1.0f + S) : L + S - S * L;
  const float P = 2.0f * L - Q;
  const auto Channel = [&](float T) {
    if (T < 0.0f) T += 1.0f;
    if (T > 1.0f) T -= 1.0f;
    float Value = P;
    if (6.0f * T < 1.0f)
      Value = P + (Q - P) * 6.0f * T;
    else if (2.0f * T < 1.0f)
      Value = Q;
    else if (3.0f * T < 2.0f)
      Value = P + (Q - P) * (2.0f / 3.0f - T) * 6.0f;
    return RoundHalfEven(Value * 255.0f);
  };
  return {Channel(H + 1.0f / 3.0f), Channel(H), Channel(H - 1.0f / 3.0f)};
}

TColor BlendColors(TColor C1, TColor C2, int Percent, const QPalette& Palette) {
  const TColorRgb A = ColorToRgb(C1, Palette), B = ColorToRgb(C2, Palette);
  const float Fraction = static_cast<float>(Percent) / 100.0f;
  const auto Blend = [Fraction](int32_t From, int32_t To) {
    return From + RoundHalfEven(static_cast<float>(To - From) * Fraction);
  };
  return RgbToColor({Blend(A.R, B.R), Blend(A.G, B.G), Blend(A.B, B.B)});
}

TColor ChangeLuminance(TColor Color, int Delta, const QPalette& Palette) {
  TColorHsl Hsl = RgbToHsl(ColorToRgb(Color, Palette));
  Hsl.L = std::clamp(Hsl.L + Delta, 0, 255);
  return RgbToColor(HslToRgb(Hsl));
}

QColor ToQColor(TColor Color, const QPalette& Palette) {
  return PackedToQColor(ResolveColor(Color, Palette));
}

TColor FromQColor(const QColor& Color) { return RgbToColor({Color.red(), Color.green(), Color.blue()}); }

void DrawTransition(TColorTransitionDef& Transition, QPainter& Painter, const QRect& Rect, int Angle,
                    int Direction) {
  if (Rect.isEmpty()) return;
  const int Width = Rect.width(), Height = Rect.height();
  const int Diagonal =
      RoundHalfEven(std::atan(static_cast<float>(Width) / static_cast<float>(Height)) * (180.0f / Pi));

  int A = 0;
  switch (Direction) {
    case 0: A = 270; break;
    case 1: A = 180; break;
    case 2: A = 90; break;
    case 4: A = 45; break;
    case 5: A = 315; break;
    case 6: A = 225; break;
    case 7: A = 135; break;
    case 8: A = Diagonal; break;
    case 9: A = 360 - Diagonal; break;
    case 10: A = Diagonal + 180; break;
    case 11: A = 180 - Diagonal; break;
    // Negative angles are brought into 0..359 so they draw like their positive twins.
    case 12: A = (Angle % 360 + 360) % 360; break;
    default: A = 0; break;
  }

  // Only the lower-right half of the circle is drawn directly; the other
  // half is the same lines with the run reversed.
  const bool Reversed = 136 <= A && A < 315;
  if (Reversed) {
    A = (A + 180) % 360;
    Transition.Reverse();
  }

  // The first line through the top-left corner, and the step between lines.
  QPoint Start(Rect.left(), Rect.top()), End, Step;
  int LastLine = 0;
  if (A < 46 || A >= 315) {
    const int Offset = RoundHalfEven(std::tan(DegreesToRadians(static_cast<float>(A))) * static_cast<float>(Width));
    const int K = std::abs(Offset);
    LastLine = K + Height - 1;
    End = QPoint(Rect.left() + Width, Rect.top());
    (Offset >= 0 ? End : Start).ry() -= K;
    Step = QPoint(0, 1);
  } else {
    const int Offset =
        RoundHalfEven(std::tan(DegreesToRadians(static_cast<float>(450 - A))) * static_cast<float>(Height));
    const int K = std::abs(Offset);
    LastLine = K + Width - 1;
    End = QPoint(Rect.left(), Rect.top() + Height);
    (Offset >= 0 ? End : Start).rx() -= K;
    Step = QPoint(1, 0);
  }

  TRgbHexArray Colors;
  Transition.GetColors(LastLine, Colors);
  if (Reversed) Transition.Reverse();  // the caller's transition stays as it was

  Painter.save();
  Painter.setClipRect(Rect, Painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  Painter.setRenderHint(QPainter::Antialiasing, false);
  for (int J = 0; J <= LastLine; ++J) {
    // A flat cap leaves out the end point, as the lines are meant to.
    Painter.setPen(QPen(PackedToQColor(Colors[static_cast<size_t>(LastLine - J)]), 1, Qt::SolidLine, Qt::FlatCap));
    Painter.drawLine(Start + Step * J, End + Step * J);
  }
  Painter.restore();
}

void DrawGradient(QPainter& Painter, const QRect& Rect, TColor C1, int Angle, int Direction, TColor C2,
                  const QPalette& Palette) {
  TColor2ColorTransitionDef Transition(ColorToRgb(C1, Palette), ColorToRgb(C2, Palette));
  DrawTransition(Transition, Painter, Rect, Angle, Direction);
}
