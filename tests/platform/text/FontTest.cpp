// Font resolution, metrics, measuring and UTF-8 decoding.

#include <fontconfig/fontconfig.h>

#include "platform/text/FontFace.h"
#include "platform/text/Utf8.h"
#include "tests/platform/text/TextFixture.h"

namespace zel::sys::testing {
namespace {

using FontMeasureTest = TextTest;

TEST(FontResolverTest, NarrowUiFacesGetTheCondensedSubstitute) {
  for (const char* name : {"Tahoma", "MS Sans Serif", "Small Fonts", "Segoe UI", "verdana"}) {
    LOGFONT lf;
    lf.lfFaceName = name;
    EXPECT_NE(ResolveFontFile(lf).find("Condensed"), std::string::npos) << name;
  }
  LOGFONT bold;
  bold.lfFaceName = "Tahoma";
  bold.lfWeight = FW_BOLD;
  EXPECT_NE(ResolveFontFile(bold).find("Bold"), std::string::npos);
  // A face that is not installed still gets some sans face.
  LOGFONT unknown;
  unknown.lfFaceName = "No Such Face 12345";
  EXPECT_FALSE(ResolveFontFile(unknown).empty());
}

TEST(FontResolverTest, NoInstalledFontsIsAClearFailure) {
  FcConfig* empty = FcConfigCreate();
  ASSERT_NE(empty, nullptr);
  FontResolver resolver(empty);
  LOGFONT lf;
  lf.lfFaceName = "Tahoma";
  EXPECT_FALSE(resolver.Resolve("Tahoma", FW_NORMAL, false).has_value());
  EXPECT_EQ(FontFace::ForLogFont(lf, resolver), nullptr);
  FcConfigDestroy(empty);
}

TEST_F(FontMeasureTest, MetricsAreCoherentForTheUiSizes) {
  for (LONG h : {-10, -11, -16, -1, -200}) {
    UseFont(h);
    const TEXTMETRIC tm = Metrics();
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight) << h;
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -h) << "em size of " << h;
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    EXPECT_GT(Width("Ag"), 0);
  }
  // A positive height is the whole cell.
  for (LONG h : {13, 20, 37}) {
    UseFont(h);
    const TEXTMETRIC tm = Metrics();
    EXPECT_EQ(tm.tmHeight, h);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, h);
  }
  // Height 0 gets a usable default; absurd heights are limited, not fatal.
  UseFont(0);
  EXPECT_GT(Metrics().tmHeight, 8);
  UseFont(LONG(-2147483647 - 1));
  EXPECT_GT(Metrics().tmHeight, 0);
}

TEST_F(FontMeasureTest, ExtentGrowsWithTextAndMeasuresCyrillic) {
  UseFont(-11);
  EXPECT_EQ(Width(""), 0);
  EXPECT_LT(Width("Ф"), Width("Фо"));
  EXPECT_LT(Width("Форма"), Width("Форма 1"));
  EXPECT_EQ(Width("ab") + Width("cd"), Width("abcd")); // no kerning: additive
  // The narrow substitute keeps the UI's caption close to its designed width.
  const int w11 = Width(kSettings);
  EXPECT_GT(w11, 110);
  EXPECT_LT(w11, 150);
  SIZE size;
  ASSERT_TRUE(GetTextExtentPoint32(dc_, kSettings, &size));
  EXPECT_EQ(size.cy, Metrics().tmHeight);
  UseFont(-16);
  EXPECT_GT(Width(kSettings), w11 * 4 / 3);
  UseFont(-11, 0, FW_BOLD);
  EXPECT_GT(Width(kSettings), w11);
  // A turned font measures along the text, the same as an upright one.
  UseFont(-11, 900);
  EXPECT_EQ(Width(kSettings), w11);
}

TEST_F(FontMeasureTest, MissingArgumentsFailCleanly) {
  EXPECT_FALSE(GetTextExtentPoint32(dc_, "x", nullptr));
  EXPECT_FALSE(GetTextMetrics(dc_, nullptr));
  EXPECT_FALSE(GetTextMetrics(nullptr, nullptr));
  EXPECT_EQ(DrawText(dc_, "x", nullptr, 0), 0);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(DrawText(nullptr, "x", &r, 0), 0);
}

TEST(Utf8Test, InvalidSequencesBecomeReplacementCharacters) {
  EXPECT_EQ(DecodeUtf8("Aж€😀"), std::u32string(U"Aж€😀"));
  EXPECT_EQ(DecodeUtf8("\xFF"), std::u32string(U"\uFFFD"));
  EXPECT_EQ(DecodeUtf8("a\xD0"), std::u32string(U"a\uFFFD"));                   // cut short
  EXPECT_EQ(DecodeUtf8("\xD0z"), std::u32string(U"\uFFFDz"));                   // bad continuation
  EXPECT_EQ(DecodeUtf8("\xC0\xAF"), std::u32string(U"\uFFFD\uFFFD"));           // overlong
  EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), std::u32string(U"\uFFFD\uFFFD\uFFFD")); // surrogate
  EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80").front(), U'\uFFFD');                 // past U+10FFFF
  EXPECT_EQ(EncodeUtf8(DecodeUtf8(kSettings)), kSettings);
}

TEST_F(FontMeasureTest, InvalidUtf8IsMeasuredAndDrawnAsReplacement) {
  UseFont(-11);
  EXPECT_EQ(Width("a\xFF"
                  "b"),
            Width("a\xEF\xBF\xBD"
                  "b"));
  RECT r{0, 0, 200, 40};
  EXPECT_GT(DrawText(dc_, "\xD0\xFF\xC3", &r, DT_SINGLELINE), 0);
  EXPECT_TRUE(TextOut(dc_, 0, 0, std::string("\x80\0\xF0", 3)));
  EXPECT_FALSE(IsRectEmpty(Ink()));
}

} // namespace
} // namespace zel::sys::testing

namespace zel::sys::testing {
namespace {

// A face installed only in its regular style gets bold and italic made up.
TEST_F(FontMeasureTest, MissingStylesAreSynthesised) {
  const std::string regularOnly = "DejaVu Math TeX Gyre";
  LOGFONT lf;
  lf.lfHeight = -16;
  lf.lfFaceName = regularOnly;
  if (ResolveFontFile(lf).find("MathTeXGyre") == std::string::npos)
    GTEST_SKIP() << "the regular-only face is not installed";
  UseFont(lf);
  TextOut(dc_, 10, 10, "Hello");
  const long regular = Darkness();
  const int regularWidth = Width("Hello");
  const RECT upright = Ink();

  lf.lfWeight = FW_BOLD;
  UseFont(lf);
  Clear();
  TextOut(dc_, 10, 10, "Hello");
  EXPECT_GT(Darkness(), regular * 11 / 10);
  EXPECT_GT(Width("Hello"), regularWidth);

  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = 1;
  UseFont(lf);
  Clear();
  TextOut(dc_, 10, 10, "Hello");
  EXPECT_GT(Ink().right, upright.right); // slanted tops lean right
  EXPECT_EQ(Width("Hello"), regularWidth);
}

} // namespace
} // namespace zel::sys::testing
