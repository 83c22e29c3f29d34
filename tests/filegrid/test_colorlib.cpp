// Colour conversions, blending, luminance and system colours.
#include <gtest/gtest.h>

#include "filegrid/VmColorLib.h"

namespace {

TColor Rgb(int R, int G, int B) { return RgbToColor({R, G, B}); }

}  // namespace

TEST(ColorLib, ConvertsBlendsAndChangesLuminanceWithHalvesRoundedToEven) {
  EXPECT_EQ(RgbToHsl({0, 0, 128}), (TColorHsl{170, 255, 64}));
  EXPECT_EQ(HslToRgb({170, 255, 64}), (TColorRgb{0, 0, 128}));
  EXPECT_EQ(HslToRgb(RgbToHsl({255, 0, 0})), (TColorRgb{255, 1, 1}));
  const QPalette Palette;
  EXPECT_EQ(BlendColors(clBlack, Rgb(1, 3, 5), 50, Palette), Rgb(0, 2, 2));  // 0.5, 1.5, 2.5 to the even neighbour
  EXPECT_EQ(ChangeLuminance(clWhite, -10, Palette), Rgb(245, 245, 245));
  EXPECT_EQ(ChangeLuminance(clBlack, 300, Palette), clWhite);
}

TEST(ColorLib, ResolvesSystemColoursThroughThePalette) {
  QPalette Palette;
  Palette.setColor(QPalette::Button, QColor(200, 0, 0));
  Palette.setColor(QPalette::Disabled, QPalette::Text, QColor(5, 0, 0));
  EXPECT_EQ(ResolveColor(clGrayText, Palette), Rgb(5, 0, 0));
  EXPECT_EQ(ResolveColor(clSystemColor | 25, Palette), clBlack);  // no such system colour
  EXPECT_EQ(ResolveColor(0x12345678, Palette), 0x345678u);         // plain RGB, high byte dropped
  EXPECT_EQ(BlendColors(clBtnFace, clBlack, 50, Palette), Rgb(100, 0, 0));
  EXPECT_EQ(ToQColor(clBtnFace, Palette), QColor(200, 0, 0));
}
