#include "framework/graphics/Colors.h"

#include <gtest/gtest.h>

#include "framework/core/Exceptions.h"

namespace zel {
namespace {

using sys::RGB;

TEST(Colors, SpecialAndSystemValuesHaveTheirBitPatterns) {
  EXPECT_EQ(uint32_t(clNone), 0x1FFFFFFFu);
  EXPECT_EQ(uint32_t(clDefault), 0x20000000u);
  EXPECT_EQ(uint32_t(clBtnFace), 0xFF00000Fu);
  EXPECT_EQ(uint32_t(clMenuBar), 0xFF00001Eu);
  EXPECT_TRUE(IsSysColor(clHotLight));
  EXPECT_FALSE(IsSysColor(clNone));
  EXPECT_LT(clBtnFace, 0) << "a system colour is a negative TColor";
}

TEST(Colors, ColorToRGBResolvesSystemColoursOnly) {
  EXPECT_EQ(ColorToRGB(clBtnFace), TColor(RGB(236, 236, 236)));
  EXPECT_EQ(ColorToRGB(clBtnShadow), TColor(RGB(182, 182, 182)));
  EXPECT_EQ(ColorToRGB(clBtnHighlight), TColor(RGB(255, 255, 255)));
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(clDefault), clDefault);
  EXPECT_EQ(ColorToColorRef(clNone), 0xFFFFFFu);
  for (int i = 0; i <= 30; ++i)
    EXPECT_GE(ColorToRGB(MakeSysColor(i)), 0);
}

TEST(Colors, NamesAndNumbersConvertBothWays) {
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(clRed), "clRed");
  EXPECT_EQ(ColorToString(clNone), "clNone");
  EXPECT_EQ(ColorToString(TColor(RGB(1, 2, 3))), "$00030201");
  EXPECT_EQ(IdentToColor("CLBTNFACE"), clBtnFace);
  EXPECT_EQ(IdentToColor("clNoSuchColour"), std::nullopt);
  EXPECT_EQ(StringToColor("clHighlight"), clHighlight);
  EXPECT_EQ(StringToColor("$00FF00FF"), clFuchsia);
  EXPECT_EQ(StringToColor("$FF00000F"), clBtnFace);
  EXPECT_EQ(StringToColor("16711935"), 0xFF00FF);
  EXPECT_EQ(StringToColor("-16777201"), clBtnFace);
  EXPECT_EQ(TryStringToColor("$"), std::nullopt);
  EXPECT_EQ(TryStringToColor("$1FFFFFFFF"), std::nullopt);
  EXPECT_EQ(TryStringToColor("12x"), std::nullopt);
  EXPECT_EQ(TryStringToColor(""), std::nullopt);
  EXPECT_THROW(StringToColor("clNotAColour"), EConvertError);
  for (int i = 0; i < NamedColorCount(); ++i)
    EXPECT_EQ(StringToColor(ColorToString(NamedColorValue(i))), NamedColorValue(i));
}

TEST(Colors, HLSOfKnownColours) {
  EXPECT_EQ(ColorRGBToHLS(RGB(255, 0, 0)), (THLS{0, 120, 240}));
  EXPECT_EQ(ColorRGBToHLS(RGB(0, 255, 0)), (THLS{80, 120, 240}));
  EXPECT_EQ(ColorRGBToHLS(RGB(0, 0, 255)), (THLS{160, 120, 240}));
  EXPECT_EQ(ColorRGBToHLS(RGB(255, 255, 255)), (THLS{HLSUndefinedHue, 240, 0}));
  EXPECT_EQ(ColorRGBToHLS(RGB(0, 0, 0)), (THLS{HLSUndefinedHue, 0, 0}));
  EXPECT_EQ(ColorRGBToHLS(RGB(236, 236, 236)).luminance, 222);
  EXPECT_EQ(ColorHLSToRGB(0, 120, 240), RGB(255, 0, 0));
  EXPECT_EQ(ColorHLSToRGB(160, 120, 240), RGB(0, 0, 255));
  EXPECT_EQ(ColorHLSToRGB(0, 240, 0), RGB(255, 255, 255));
}

// The integer conversion loses at most a step per channel, and never drifts
// on a second round trip.
TEST(Colors, HLSRoundTripsStayClose) {
  for (int r = 0; r < 256; r += 15) {
    for (int g = 0; g < 256; g += 17) {
      for (int b = 0; b < 256; b += 51) {
        const THLS hls = ColorRGBToHLS(RGB(r, g, b));
        const sys::COLORREF back = ColorHLSToRGB(hls.hue, hls.luminance, hls.saturation);
        EXPECT_NEAR(sys::GetRValue(back), r, 3) << r << "," << g << "," << b;
        EXPECT_NEAR(sys::GetGValue(back), g, 3) << r << "," << g << "," << b;
        EXPECT_NEAR(sys::GetBValue(back), b, 3) << r << "," << g << "," << b;
      }
    }
  }
  for (int v = 0; v < 256; ++v) {
    const THLS hls = ColorRGBToHLS(RGB(v, v, v));
    EXPECT_EQ(hls.saturation, 0);
    EXPECT_NEAR(sys::GetRValue(ColorHLSToRGB(hls.hue, hls.luminance, 0)), v, 1);
  }
}

TEST(Colors, ButtonFaceStepsGiveShadowAndHighlight) {
  EXPECT_EQ(Darken(clBtnFace, -50), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Lighten(clBtnFace, 19), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Darken(clBtnFace, -50), TColor(RGB(182, 182, 182)));
}

TEST(Colors, LightenLowersTheLuminanceOfSaturatedColours) {
  // Pure red has saturation 240, so "lighten" goes the other way.
  const THLS before = ColorRGBToHLS(RGB(255, 0, 0));
  const THLS after = ColorRGBToHLS(sys::COLORREF(Lighten(clRed, 20)));
  EXPECT_EQ(after.luminance, before.luminance - 20);
  const THLS pale = ColorRGBToHLS(RGB(200, 180, 170));
  ASSERT_LT(pale.saturation, 221);
  EXPECT_GT(ColorRGBToHLS(sys::COLORREF(Lighten(TColor(RGB(200, 180, 170)), 20))).luminance,
            pale.luminance);
}

TEST(Colors, LumaAdjustmentClampsAndScales) {
  EXPECT_EQ(ColorAdjustLuma(RGB(250, 250, 250), 100, false), RGB(255, 255, 255));
  EXPECT_EQ(ColorAdjustLuma(RGB(5, 5, 5), -100, false), RGB(0, 0, 0));
  EXPECT_EQ(ColorAdjustLuma(RGB(128, 128, 128), 1000, true), RGB(255, 255, 255));
  EXPECT_EQ(ColorAdjustLuma(RGB(128, 128, 128), -1000, true), RGB(0, 0, 0));
  EXPECT_EQ(ColorAdjustLuma(RGB(10, 20, 30), 0, true), ColorAdjustLuma(RGB(10, 20, 30), 0, false));
  // Out-of-range input never leaves the channel range.
  EXPECT_EQ(ColorHLSToRGB(-5, 500, 999) >> 24, 0u);
}

} // namespace
} // namespace zel
