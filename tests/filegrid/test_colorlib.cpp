// Colour conversions, blending, luminance and gradients drawn into images.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "filegrid/VmColorLib.h"

namespace {

TColor Rgb(int R, int G, int B) { return RgbToColor({R, G, B}); }

}  // namespace

TEST(ColorLib, ConvertsBetweenRgbAndHslWithHalvesRoundedToEven) {
  EXPECT_EQ(RgbToHsl({255, 0, 0}), (TColorHsl{0, 255, 128}));
  EXPECT_EQ(HslToRgb({0, 255, 128}), (TColorRgb{255, 1, 1}));
  EXPECT_EQ(RgbToHsl({0, 0, 128}), (TColorHsl{170, 255, 64}));
  EXPECT_EQ(HslToRgb({170, 255, 64}), (TColorRgb{0, 0, 128}));
  EXPECT_EQ(HslToRgb({99, 0, 77}), (TColorRgb{77, 77, 77}));
}

TEST(ColorLib, BlendsAndChangesLuminance) {
  const QPalette Palette;
  EXPECT_EQ(BlendColors(clBlack, clWhite, 50, Palette), Rgb(128, 128, 128));
  EXPECT_EQ(BlendColors(clBlack, Rgb(1, 3, 5), 50, Palette), Rgb(0, 2, 2));  // 0.5, 1.5, 2.5 to the even neighbour
  EXPECT_EQ(ChangeLuminance(clWhite, -10, Palette), Rgb(245, 245, 245));
  EXPECT_EQ(ChangeLuminance(clBlack, -10, Palette), clBlack);
  EXPECT_EQ(ChangeLuminance(clBlack, 300, Palette), clWhite);
}

TEST(ColorLib, ResolvesSystemColoursThroughThePalette) {
  QPalette Palette;
  const std::pair<QPalette::ColorRole, TColor> Roles[] = {{QPalette::Base, clWindow}, {QPalette::Button, clBtnFace},
                                                          {QPalette::Link, clHotLight}, {QPalette::Highlight, clHighlight}};
  for (int I = 0; const auto& [Role, Color] : Roles) Palette.setColor(Role, QColor(++I, 0, 0));
  Palette.setColor(QPalette::Disabled, QPalette::Text, QColor(5, 0, 0));
  for (int I = 0; TColor Color : {clWindow, clBtnFace, clHotLight, clHighlight, clGrayText})
    EXPECT_EQ(ResolveColor(Color, Palette), Rgb(++I, 0, 0)) << std::hex << Color;
  EXPECT_EQ(ResolveColor(clSystemColor | 25, Palette), clBlack);  // no such system colour
  EXPECT_EQ(ResolveColor(0x12345678, Palette), 0x345678u);         // plain RGB, high byte dropped
  Palette.setColor(QPalette::Base, Qt::white);
  EXPECT_EQ(ChangeLuminance(clWindow, -10, Palette), Rgb(245, 245, 245));
  Palette.setColor(QPalette::Button, QColor(200, 0, 0));
  EXPECT_EQ(BlendColors(clBtnFace, clBlack, 50, Palette), Rgb(100, 0, 0));
  EXPECT_EQ(ToQColor(clBtnFace, Palette), QColor(200, 0, 0));
}

class GradientTest : public ::testing::Test {
 protected:
  // A white 14 x 16 image with a gradient over Rect from 0, 0, 0 to 90, 180, 9.
  static QImage Draw(int Direction, int Angle = 0, QRect Rect = QRect(2, 3, 10, 10)) {
    QImage Image(14, 16, QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter Painter(&Image);
    DrawGradient(Painter, Rect, Rgb(0, 0, 0), Angle, Direction, Rgb(90, 180, 9), QPalette());
    return Image;
  }
  // Line I of ten, counted from the first colour.
  static QRgb Line(int I) { return qRgb(10 * I, 20 * I, I); }
};

TEST_F(GradientTest, DrawsOneLinePerPixelRowOrColumnInsideTheRectangleOnly) {
  const std::pair<int, std::function<QRgb(int X, int Y)>> Cases[] = {
      {3, [](int, int Y) { return Line(Y); }},      // first colour at the top
      {1, [](int, int Y) { return Line(9 - Y); }},  // at the bottom
      {2, [](int X, int) { return Line(X); }},      // at the left
      {0, [](int X, int) { return Line(9 - X); }},  // at the right
  };
  for (const auto& [Direction, Expected] : Cases) {
    SCOPED_TRACE(Direction);
    const QImage Image = Draw(Direction);
    for (int Y = 0; Y < Image.height(); ++Y)
      for (int X = 0; X < Image.width(); ++X) {
        const bool Inside = X >= 2 && X < 12 && Y >= 3 && Y < 13;
        ASSERT_EQ(Image.pixel(X, Y), Inside ? Expected(X - 2, Y - 3) : qRgb(255, 255, 255)) << X << ", " << Y;
      }
  }
}

TEST_F(GradientTest, AnglesAreTakenModulo360AndTheTransitionIsLeftAsGiven) {
  EXPECT_EQ(Draw(12, -90), Draw(0));
  EXPECT_EQ(Draw(12, 540), Draw(1));
  const QImage Thin = Draw(3, 0, QRect(2, 3, 10, 1));  // one line: no steps
  EXPECT_EQ(Thin.pixel(11, 3), Line(0));

  TColor2ColorTransitionDef Transition({1, 2, 3}, {4, 5, 6});
  QImage Image(4, 4, QImage::Format_RGB32);
  QPainter Painter(&Image);
  DrawTransition(Transition, Painter, QRect(0, 0, 4, 4), 0, 1);
  EXPECT_EQ(Transition.FromColor, (TColorRgb{1, 2, 3}));
}
