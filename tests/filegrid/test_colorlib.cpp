// Colour conversions, blending, luminance and gradients drawn into images.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "filegrid/VmColorLib.h"
#include "support/TestApplication.h"

namespace {

TColor Rgb(int R, int G, int B) { return RgbToColor({R, G, B}); }

// A palette whose roles all differ, so each system colour shows where it came from.
QPalette DistinctPalette() {
  QPalette Palette;
  Palette.setColor(QPalette::Base, QColor(1, 2, 3));
  Palette.setColor(QPalette::Button, QColor(4, 5, 6));
  Palette.setColor(QPalette::Disabled, QPalette::Text, QColor(7, 8, 9));
  Palette.setColor(QPalette::Active, QPalette::Text, QColor(70, 80, 90));
  Palette.setColor(QPalette::Link, QColor(10, 11, 12));
  Palette.setColor(QPalette::Highlight, QColor(13, 14, 15));
  return Palette;
}

}  // namespace

TEST(ColorLib, ConvertsBetweenRgbAndHslWithHalvesRoundedToEven) {
  const std::pair<TColorRgb, TColorHsl> ToHsl[] = {
      {{255, 0, 0}, {0, 255, 128}}, {{0, 0, 128}, {170, 255, 64}}, {{255, 255, 255}, {0, 0, 255}}, {{0, 0, 0}, {0, 0, 0}}};
  for (const auto& [In, Out] : ToHsl) {
    SCOPED_TRACE(testing::Message() << In.R << "," << In.G << "," << In.B);
    EXPECT_EQ(RgbToHsl(In), Out);
  }
  const std::pair<TColorHsl, TColorRgb> ToRgb[] = {
      {{0, 255, 128}, {255, 1, 1}}, {{170, 255, 64}, {0, 0, 128}}, {{99, 0, 77}, {77, 77, 77}}};
  for (const auto& [In, Out] : ToRgb) {
    SCOPED_TRACE(testing::Message() << In.H << "," << In.S << "," << In.L);
    EXPECT_EQ(HslToRgb(In), Out);
  }
}

TEST(ColorLib, BlendsAndChangesLuminance) {
  EXPECT_EQ(BlendColors(clBlack, clWhite, 50), Rgb(128, 128, 128));
  EXPECT_EQ(BlendColors(clBlack, Rgb(1, 3, 5), 50), Rgb(0, 2, 2));  // 0.5, 1.5, 2.5 to the even neighbour
  EXPECT_EQ(BlendColors(Rgb(10, 20, 30), Rgb(200, 100, 0), 0), Rgb(10, 20, 30));
  EXPECT_EQ(BlendColors(Rgb(10, 20, 30), Rgb(200, 100, 0), 100), Rgb(200, 100, 0));
  EXPECT_EQ(ChangeLuminance(clWhite, -10), Rgb(245, 245, 245));
  EXPECT_EQ(ChangeLuminance(clBlack, -10), clBlack);
  EXPECT_EQ(ChangeLuminance(clBlack, 300), clWhite);
}

TEST(ColorLib, ResolvesSystemColoursThroughThePalette) {
  const QPalette Palette = DistinctPalette();
  const std::pair<TColor, TColor> Cases[] = {
      {clWindow, Rgb(1, 2, 3)},   {clBtnFace, Rgb(4, 5, 6)},      {clGrayText, Rgb(7, 8, 9)},
      {clHotLight, Rgb(10, 11, 12)}, {clHighlight, Rgb(13, 14, 15)}, {clWindowText, Rgb(70, 80, 90)},
      {clSystemColor | 25, clBlack}, {clSystemColor | 999, clBlack}, {Rgb(1, 200, 3), Rgb(1, 200, 3)},
      {0x12345678, 0x345678}};
  for (const auto& [Color, Expected] : Cases) {
    SCOPED_TRACE(testing::Message() << std::hex << Color);
    EXPECT_EQ(ResolveColor(Color, Palette), Expected);
  }
  QPalette White;
  White.setColor(QPalette::Base, Qt::white);
  EXPECT_EQ(ChangeLuminance(clWindow, -10, White), Rgb(245, 245, 245));
  EXPECT_EQ(ColorToRgb(clBtnFace, Palette), (TColorRgb{4, 5, 6}));
}

TEST(ColorLib, TransitionColoursRunFromTheLastEntryToTheFirst) {
  TColor2ColorTransitionDef Transition({0, 0, 0}, {255, 0, 0});
  TRgbHexArray Colors;
  Transition.GetColors(4, Colors);
  EXPECT_EQ(Colors, (TRgbHexArray{255, 191, 128, 64, 0}));
  Transition.GetColors(0, Colors);
  EXPECT_EQ(Colors, (TRgbHexArray{0}));
  Transition.Reverse();
  Transition.GetColors(1, Colors);
  EXPECT_EQ(Colors, (TRgbHexArray{0, 255}));
}

class GradientTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApplication(); }

  // A white 14 x 16 image with a gradient over the 10 x 10 square at (2, 3).
  static QImage Draw(int Direction, int Angle = 0, QRect Rect = QRect(2, 3, 10, 10)) {
    QImage Image(14, 16, QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter Painter(&Image);
    DrawGradient(Painter, Rect, Rgb(0, 0, 0), Angle, Direction, Rgb(90, 180, 9));
    return Image;
  }
  // Line I of ten, counted from the first colour: 0, 0, 0 to 90, 180, 9.
  static QRgb Line(int I) { return qRgb(10 * I, 20 * I, I); }
};

TEST_F(GradientTest, DrawsOneLinePerPixelRowOrColumnInsideTheRectangleOnly) {
  const struct {
    int Direction;
    const char* Name;
    std::function<QRgb(int X, int Y)> Expected;  // X, Y inside the square
  } Cases[] = {
      {3, "first colour at the top", [](int, int Y) { return Line(Y); }},
      {1, "first colour at the bottom", [](int, int Y) { return Line(9 - Y); }},
      {2, "first colour at the left", [](int X, int) { return Line(X); }},
      {0, "first colour at the right", [](int X, int) { return Line(9 - X); }},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    const QImage Image = Draw(Case.Direction);
    for (int Y = 0; Y < Image.height(); ++Y) {
      for (int X = 0; X < Image.width(); ++X) {
        const bool Inside = X >= 2 && X < 12 && Y >= 3 && Y < 13;
        const QRgb Expected = Inside ? Case.Expected(X - 2, Y - 3) : qRgb(255, 255, 255);
        ASSERT_EQ(Image.pixel(X, Y), Expected) << "at " << X << ", " << Y;
      }
    }
  }
}

TEST_F(GradientTest, GivenAnglesAreTakenModulo360AndTheTransitionIsLeftAsGiven) {
  EXPECT_EQ(Draw(12, -90), Draw(0));
  EXPECT_EQ(Draw(12, 540), Draw(1));

  TColor2ColorTransitionDef Transition({1, 2, 3}, {4, 5, 6});
  QImage Image(4, 4, QImage::Format_RGB32);
  QPainter Painter(&Image);
  DrawTransition(Transition, Painter, QRect(0, 0, 4, 4), 0, 1);
  EXPECT_EQ(Transition.FromColor, (TColorRgb{1, 2, 3}));
}

TEST_F(GradientTest, OnePixelHighRectangleTakesTheFirstColour) {
  const QImage Image = Draw(3, 0, QRect(2, 3, 10, 1));
  for (int X = 2; X < 12; ++X) EXPECT_EQ(Image.pixel(X, 3), Line(0));
  EXPECT_EQ(Image.pixel(2, 4), qRgb(255, 255, 255));
}

TEST_F(GradientTest, DiagonalsStayInsideTheRectangle) {
  for (int Direction : {4, 5, 6, 7, 8, 9, 10, 11}) {
    SCOPED_TRACE(Direction);
    const QImage Image = Draw(Direction);
    for (int Y = 0; Y < Image.height(); ++Y)
      for (int X = 0; X < Image.width(); ++X) {
        const bool Inside = X >= 2 && X < 12 && Y >= 3 && Y < 13;
        ASSERT_EQ(Image.pixel(X, Y) == qRgb(255, 255, 255), !Inside) << "at " << X << ", " << Y;
      }
  }
}
