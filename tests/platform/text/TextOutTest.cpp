// TextOut and ExtTextOut: where pixels land, colours, background modes,
// clipping and turned text.

#include "tests/platform/text/TextFixture.h"

namespace zel::sys::testing {
namespace {

using TextOutTest = TextTest;

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST_F(TextOutTest, InkStaysInTheCellInTheTextColour) {
  for (LONG h : {-10, -11, -16}) {
    Clear();
    UseFont(h);
    SetTextColor(dc_, RGB(200, 0, 0));
    const std::string text = kSettings + " ЁЙ";
    ASSERT_TRUE(TextOut(dc_, 20, 30, text));
    SIZE size;
    GetTextExtentPoint32(dc_, text, &size);
    const RECT ink = Ink();
    EXPECT_TRUE(Inside(ink, RECT{20, 30, 20 + size.cx + 1, 30 + size.cy}))
        << h << ": " << ink.left << "," << ink.top << "," << ink.right << "," << ink.bottom
        << " cell " << size.cx << "x" << size.cy;
    EXPECT_GT(ink.Width(), size.cx * 9 / 10);
    // Stems are fully covered: the exact text colour appears, with alpha 0.
    bool solid = false;
    for (int y = ink.top; y < ink.bottom; ++y)
      for (int x = ink.left; x < ink.right; ++x)
        if (Target().At(x, y) == PixelFromColorRef(RGB(200, 0, 0), 0)) solid = true;
    EXPECT_TRUE(solid) << h;
  }
}

TEST_F(TextOutTest, BackgroundModeAndViewportOrigin) {
  UseFont(-11);
  SetBkColor(dc_, RGB(0, 0, 255));
  SetBkMode(dc_, OPAQUE);
  SetViewportOrgEx(dc_, 5, 7, nullptr);
  TextOut(dc_, 10, 10, "Форма 1");
  SIZE size;
  GetTextExtentPoint32(dc_, "Форма 1", &size);
  // The whole cell is filled, and nothing outside it.
  EXPECT_EQ(Ink(), (RECT{15, 17, 15 + size.cx, 17 + size.cy}));
  EXPECT_EQ(At(15, 17), RGB(0, 0, 255));
  EXPECT_EQ(At(15 + size.cx - 1, 17 + size.cy - 1), RGB(0, 0, 255));

  Clear();
  SetBkMode(dc_, TRANSPARENT);
  TextOut(dc_, 10, 10, "Форма 1");
  EXPECT_EQ(At(15, 17), kWhite); // the cell's corner is blank in this text
  EXPECT_FALSE(IsRectEmpty(Ink()));
}

TEST_F(TextOutTest, ClippedToTheClipRegionAndTheBitmap) {
  UseFont(-16);
  IntersectClipRect(dc_, 30, 0, 60, 200);
  TextOut(dc_, 20, 20, kSettings);
  const RECT ink = Ink();
  EXPECT_FALSE(IsRectEmpty(ink));
  EXPECT_TRUE(Inside(ink, RECT{30, 0, 60, 200}));

  // Text partly or wholly off the bitmap draws what is inside, safely.
  SelectClipRgn(dc_, nullptr);
  Clear();
  TextOut(dc_, -50, -5, kSettings);
  TextOut(dc_, kWidth - 20, kHeight - 5, kSettings);
  TextOut(dc_, 100000, -100000, kSettings);
  EXPECT_FALSE(IsRectEmpty(Ink()));
  // Coordinates at the ends of the integer range are refused, not overflowed.
  const RECT before = Ink();
  constexpr int kMax = 2147483647, kMin = -2147483647 - 1;
  TextOut(dc_, kMax, kMin, kSettings);
  RECT huge{kMin, kMin, kMax, kMax};
  DrawText(dc_, kSettings, &huge, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EXPECT_EQ(DrawText(dc_, kSettings, &huge, DT_CALCRECT), 0);
  RECT bounds;
  EXPECT_FALSE(GetTextOutBounds(dc_, kMax, 0, kSettings, &bounds));
  EXPECT_EQ(Ink(), before);
}

TEST_F(TextOutTest, ExtTextOutFillsAndClipsToItsRectangle) {
  UseFont(-16);
  SetBkColor(dc_, RGB(0, 255, 0));
  const RECT r{10, 10, 50, 40};
  ExtTextOut(dc_, 12, 12, ETO_OPAQUE | ETO_CLIPPED, &r, kSettings);
  EXPECT_EQ(Ink(), r);
  EXPECT_EQ(At(10, 10), RGB(0, 255, 0));
  EXPECT_EQ(At(49, 39), RGB(0, 255, 0));
  bool dark = false;
  for (int x = 12; x < 50; ++x)
    for (int y = 12; y < 30; ++y)
      dark |= GetGValue(At(x, y)) < 100;
  EXPECT_TRUE(dark);
}

TEST_F(TextOutTest, UnderlineAndStrikeOutDrawLinesAcrossTheText) {
  LOGFONT lf;
  lf.lfHeight = -16;
  lf.lfFaceName = "Tahoma";
  UseFont(lf);
  TextOut(dc_, 10, 10, "x x");
  const long plain = Darkness();
  lf.lfUnderline = 1;
  lf.lfStrikeOut = 1;
  UseFont(lf);
  Clear();
  TextOut(dc_, 10, 10, "x x");
  EXPECT_GT(Darkness(), plain + 255 * Width("x x"));
  // The underline runs under the space between the letters.
  const TEXTMETRIC tm = Metrics();
  bool under = false;
  const int mid = 10 + Width("x") + Width(" ") / 2;
  for (int y = 10 + tm.tmAscent; y < 10 + tm.tmHeight; ++y)
    under |= At(mid, y) != kWhite;
  EXPECT_TRUE(under);
}

// Escapement 900 reads upwards: the text turns counter-clockwise around the
// cell's top-left corner, so it lies above the origin and to its right.
TEST_F(TextOutTest, TurnedTextLandsWhereItsBoundsSay) {
  struct Case {
    LONG escapement;
    RECT expected; // relative to the origin, from width w and height h
  };
  UseFont(-11);
  const int w = Width("Форма 1");
  const int h = Metrics().tmHeight;
  const Case cases[] = {
      {0, {0, 0, w, h}}, {900, {0, -w, h, 0}}, {1800, {-w, -h, 0, 0}}, {2700, {-h, 0, 0, w}}};
  UseFont(-11);
  TextOut(dc_, 200, 100, "Форма 1");
  const long upright = Darkness();
  for (const Case& c : cases) {
    Clear();
    UseFont(-11, c.escapement);
    RECT bounds;
    ASSERT_TRUE(GetTextOutBounds(dc_, 200, 100, "Форма 1", &bounds));
    RECT expected = c.expected;
    OffsetRect(expected, 200, 100);
    EXPECT_EQ(bounds, expected) << c.escapement;
    TextOut(dc_, 200, 100, "Форма 1");
    const RECT ink = Ink();
    RECT grown = expected;
    InflateRect(grown, 1, 1); // antialiasing may touch the cell's edge
    EXPECT_TRUE(Inside(ink, grown)) << c.escapement;
    // Quarter turns move pixels without resampling them.
    EXPECT_EQ(Darkness(), upright) << c.escapement;
  }
  // Any other angle draws too, near where it should.
  Clear();
  UseFont(-16, 450);
  TextOut(dc_, 100, 150, kSettings);
  const RECT ink = Ink();
  EXPECT_FALSE(IsRectEmpty(ink));
  EXPECT_LT(ink.bottom, 150 + 25);
  EXPECT_GT(ink.right, 150);
}

TEST_F(TextOutTest, TurnedOpaqueCellIsFilledExactly) {
  UseFont(-11, 900);
  SetBkMode(dc_, OPAQUE);
  SetBkColor(dc_, RGB(0, 0, 255));
  TextOut(dc_, 50, 150, "Главное меню");
  RECT bounds;
  GetTextOutBounds(dc_, 50, 150, "Главное меню", &bounds);
  EXPECT_EQ(Ink(), bounds);
  EXPECT_EQ(bounds.bottom, 150);
  EXPECT_EQ(bounds.left, 50);
}

} // namespace
} // namespace zel::sys::testing
