// Composing cells: cutting strips, scaling with fitting and centring, the
// transparent colour kept out of scaled colours, crossed boxes for cells a
// strip lacks, and the background colour.

#include "tests/imagelist/ImageListTestSupport.h"

namespace zel::test {
namespace {

class Compose : public ImageListTest {
protected:
  void SetUp() override {
    ImageListTest::SetUp();
    list.SetBkColor(clWhite);
  }
  // A strip with the key made transparent, as a rebuild prepares it.
  void MakeKeyed(TBitmap& strip, int cell, int count, int inset) {
    MakeStrip(strip, cell, count, inset, &colors);
    strip.SetPixelFormat(pf32bit);
    strip.SetTransparentColor(kMagenta);
    strip.SetTransparent(true);
  }
  // The box of drawn pixels of an image: left, top, right, bottom (exclusive).
  sys::RECT DrawnBox(int index) {
    sys::RECT r{list.Width(), list.Height(), 0, 0};
    for (int y = 0; y < list.Height(); ++y)
      for (int x = 0; x < list.Width(); ++x)
        if (Drawn(list, index, x, y)) {
          r.left = std::min(r.left, x);
          r.top = std::min(r.top, y);
          r.right = std::max(r.right, x + 1);
          r.bottom = std::max(r.bottom, y + 1);
        }
    return r;
  }

  TCustomImg list{nullptr};
  std::vector<TColor> colors;
};

TEST_F(Compose, CutsCellsRowByRowAndKeepsPixelsAtTheirOwnSize) {
  list.SetSize(8, 8);
  TBitmap strip;
  MakeKeyed(strip, 8, 3, 2);
  EXPECT_EQ(list.AddStrip(0, &strip, 8, 8, 0), 3);
  ASSERT_EQ(list.Count(), 3);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(DrawnBox(k), (sys::RECT{2, 2, 6, 6})) << k;
    EXPECT_EQ(ColorAt(list, k, 3, 3), colors[size_t(k)]) << k;
  }
  // A two-row strip: the second row follows the first.
  TBitmap grid;
  grid.SetPixelFormat(pf32bit);
  grid.SetSize(16, 16);
  sys::Surface& s = grid.Handle()->surface;
  const sys::COLORREF quads[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      s.At(x, y) = sys::PixelFromColorRef(quads[(y / 8) * 2 + x / 8]);
  list.Clear();
  EXPECT_EQ(list.AddStrip(0, &grid, 8, 8, 0), 4);
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(ColorAt(list, k, 4, 4), TColor(quads[k])) << k;
}

TEST_F(Compose, ShrinksToFitAndCentres) {
  // Height 20 from a 24 cell: scaled by 20/24 to fill 20 x 20.
  TBitmap strip;
  MakeKeyed(strip, 24, 1, 0);
  list.SetSize(20, 20);
  list.AddStrip(0, &strip, 24, 24, 1);
  EXPECT_EQ(DrawnCount(list, 0), 400);
  // Width 20, Height 24: a 20 x 20 image centred at (0, 2).
  list.SetSize(20, 24);
  list.AddStrip(0, &strip, 24, 24, 1);
  EXPECT_EQ(DrawnBox(0), (sys::RECT{0, 2, 20, 22}));
  // Width 24, Height 20 centres across: (2, 0).
  list.SetSize(24, 20);
  list.AddStrip(0, &strip, 24, 24, 1);
  EXPECT_EQ(DrawnBox(0), (sys::RECT{2, 0, 22, 20}));
  // An odd difference truncates: 16 in 19 starts at 1.
  list.SetSize(19, 16);
  MakeKeyed(strip, 16, 1, 0);
  list.AddStrip(0, &strip, 16, 16, 1);
  EXPECT_EQ(DrawnBox(0), (sys::RECT{1, 0, 17, 16}));
  EXPECT_EQ(ColorAt(list, 0, 8, 8), colors.back());
}

TEST_F(Compose, EnlargesAndShrinksWithoutFringes) {
  // No pixel near the edge takes anything of the key: each drawn pixel lies
  // between the glyph colour and the background (white), and an edge that
  // falls inside a pixel blends the two in proportion.
  TBitmap strip;
  MakeKeyed(strip, 32, 1, 5);
  const TColor c = colors[0];
  // p = c + t * (white - c) with one t for all three channels.
  auto between = [&](TColor p) {
    double lo = 1, hi = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int v = (p >> shift) & 0xFF, from = (c >> shift) & 0xFF;
      const double t = double(v - from) / (255 - from);
      lo = std::min(lo, t);
      hi = std::max(hi, t);
    }
    return lo >= 0 && hi <= 1 && hi - lo < 0.03;
  };
  for (int size : {10, 16, 20, 28, 33, 40}) {
    list.SetSize(size, size);
    list.Clear();
    list.AddStrip(0, &strip, 32, 32, 1);
    int drawn = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        if (Drawn(list, 0, x, y)) {
          ++drawn;
          EXPECT_TRUE(between(ColorAt(list, 0, x, y))) << size << " at " << x << "," << y;
        }
    EXPECT_EQ(ColorAt(list, 0, size / 2, size / 2), c) << size;
    // The square keeps its share of the cell: (22/32)^2 of it, give or take
    // an edge row.
    const double side = 22.0 * size / 32;
    EXPECT_NEAR(drawn, side * side, 2 * side + 4) << size;
  }
}

TEST_F(Compose, ThinPartsBlendOverTheBackgroundInsteadOfVanishing) {
  // Two-pixel stripes of two colours shrunk to half: every target pixel is
  // their mean.
  TBitmap strip;
  strip.SetPixelFormat(pf32bit);
  strip.SetSize(8, 8);
  sys::Surface& s = strip.Handle()->surface;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      s.At(x, y) = sys::PixelFromColorRef(x % 2 ? 0x0000C8 : 0x000064);
  list.SetSize(4, 4);
  list.AddStrip(0, &strip, 8, 8, 1);
  EXPECT_EQ(ColorAt(list, 0, 1, 1), TColor(0x000096));
  // A pixel three quarters transparent is drawn, a quarter of the glyph over
  // three quarters of the white background; only a pixel with no glyph at
  // all is left out.
  s.At(0, 0) = s.At(1, 0) = s.At(0, 1) = sys::PixelFromColorRef(0xFF00FF);
  for (int y = 4; y < 8; ++y)
    for (int x = 4; x < 8; ++x)
      s.At(x, y) = sys::PixelFromColorRef(0xFF00FF);
  s.At(7, 7) = sys::PixelFromColorRef(0x000064);
  strip.SetTransparentColor(kMagenta);
  strip.SetTransparent(true);
  list.Clear();
  list.AddStrip(0, &strip, 8, 8, 1);
  ASSERT_TRUE(Drawn(list, 0, 0, 0));
  EXPECT_EQ(ColorAt(list, 0, 0, 0), TColor(0xBFBFF1)); // (200 + 3 * 255) / 4 in red
  EXPECT_FALSE(Drawn(list, 0, 2, 2));
  ASSERT_TRUE(Drawn(list, 0, 3, 3));
  EXPECT_EQ(ColorAt(list, 0, 3, 3), TColor(0xBFBFD8)); // (100 + 3 * 255) / 4 in red
}

TEST_F(Compose, TheBracketIsTheListsOwnThroughThePlainListType) {
  TCustomImageList& plain = list;
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  plain.BeginUpdate();
  EXPECT_EQ(list.UpdateCounter(), 1);
  EXPECT_TRUE(list.ComponentState().Contains(csUpdating));
  plain.EndUpdate();
  EXPECT_EQ(list.UpdateCounter(), 0);
  EXPECT_EQ(changes, 0) << "the change waits for the quiet time";
  clock.Advance(TCustomImg::kChangeDelay);
  sys::PumpMessages();
  EXPECT_EQ(changes, 1);
}

TEST_F(Compose, MissingCellsBecomeCrossedBoxes) {
  list.SetSize(8, 8);
  TBitmap strip;
  MakeKeyed(strip, 8, 3, 2);
  EXPECT_EQ(list.AddStrip(0, &strip, 8, 8, 5), 5);
  ASSERT_EQ(list.Count(), 5);
  for (int k = 3; k < 5; ++k) {
    // Outline, both diagonals, nothing else.
    EXPECT_TRUE(Drawn(list, k, 0, 0));
    EXPECT_TRUE(Drawn(list, k, 7, 7));
    EXPECT_TRUE(Drawn(list, k, 4, 0));
    EXPECT_TRUE(Drawn(list, k, 0, 4));
    EXPECT_TRUE(Drawn(list, k, 3, 3));
    EXPECT_TRUE(Drawn(list, k, 7, 0));
    EXPECT_TRUE(Drawn(list, k, 6, 1));
    EXPECT_FALSE(Drawn(list, k, 3, 1));
    EXPECT_FALSE(Drawn(list, k, 1, 4));
    EXPECT_EQ(ColorAt(list, k, 0, 0), clBlack);
  }
  // Fewer than the strip holds: only those; 0: all of them; none: nothing.
  list.Clear();
  EXPECT_EQ(list.AddStrip(0, &strip, 8, 8, 2), 2);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.AddStrip(2, &strip, 8, 8, 0), 3);
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.AddStrip(5, nullptr, 8, 8, 3), 0);
  EXPECT_EQ(list.AddStrip(5, &strip, 0, 8, 3), 0);
  // An empty strip (a resource that could not be loaded): all boxes.
  TBitmap empty;
  list.Clear();
  EXPECT_EQ(list.AddStrip(0, &empty, 8, 8, 4), 4);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(DrawnCount(list, 3), DrawnCount(list, 0));
}

TEST_F(Compose, PutsOverExistingImagesAndAppendsTheRest) {
  list.SetSize(8, 8);
  TBitmap strip;
  MakeKeyed(strip, 8, 3, 0);
  list.AddStrip(0, &strip, 8, 8, 0);
  // Overwrite images 1 and 2 and append two crossed boxes after them.
  MakeKeyed(strip, 8, 2, 0);
  EXPECT_EQ(list.AddStrip(1, &strip, 8, 8, 4), 4);
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(ColorAt(list, 0, 1, 1), colors[0]);
  EXPECT_EQ(ColorAt(list, 1, 1, 1), colors[3]);
  EXPECT_EQ(ColorAt(list, 2, 1, 1), colors[4]);
  EXPECT_FALSE(Drawn(list, 4, 3, 1));
  // Boxes over existing images replace each of them, not just the first.
  list.AddStrip(0, &strip, 8, 8, 5);
  for (int k = 2; k < 5; ++k)
    EXPECT_FALSE(Drawn(list, k, 3, 1)) << k;
  // The whole strip as one image.
  list.Clear();
  list.SetSize(16, 16);
  EXPECT_EQ(list.AddStrip(0, &strip, 8, 8, -1), 1);
  EXPECT_EQ(DrawnCount(list, 0), 16 * 8);
}

TEST_F(Compose, BackgroundColourPixelsAreTransparentButGlyphsKeepThatColour) {
  list.SetSize(4, 4);
  list.SetBkColor(0x123456);
  EXPECT_EQ(list.GetBackColor(), TColor(0x123456));
  TBitmap cell;
  cell.SetPixelFormat(pf32bit);
  cell.SetSize(4, 4);
  sys::Surface& s = cell.Handle()->surface;
  for (sys::Pixel& p : s.Pixels())
    p = sys::PixelFromColorRef(0x123456);
  s.At(1, 1) = sys::PixelFromColorRef(0x00FF00);
  list.PutImage(0, &cell, sys::RECT{0, 0, 4, 4});
  EXPECT_EQ(DrawnCount(list, 0), 1);
  EXPECT_TRUE(Drawn(list, 0, 1, 1));
  // Pixels outside the source are background.
  list.PutImage(0, &cell, sys::RECT{2, 2, 6, 6});
  EXPECT_EQ(DrawnCount(list, 0), 0);
  EXPECT_EQ(list.Count(), 1);
  // A reversed rectangle means the same cells.
  list.PutImage(0, &cell, sys::RECT{4, 4, 0, 0});
  EXPECT_TRUE(Drawn(list, 0, 1, 1));
}

TEST_F(Compose, BackColorFallsBackToOwnerThenButtonShadow) {
  TCustomImg loose(nullptr);
  EXPECT_EQ(loose.GetBackColor(), ColorToRGB(clBtnShadow));
  TCustomImg inner(&list);
  list.SetBkColor(0x0000FF);
  EXPECT_EQ(inner.GetBackColor(), TColor(0x0000FF));
  inner.SetBkColor(clDefault);
  EXPECT_EQ(inner.GetBackColor(), TColor(0x0000FF));
  inner.SetBkColor(clBtnFace);
  EXPECT_EQ(inner.GetBackColor(), ColorToRGB(clBtnFace));
}

TEST_F(Compose, AssignCopiesSizeColoursAndImages) {
  list.SetSize(8, 8);
  list.SetBlendColor(clRed);
  TBitmap strip;
  MakeKeyed(strip, 8, 2, 1);
  list.AddStrip(0, &strip, 8, 8, 0);
  TCustomImg copy(nullptr);
  copy.Assign(&list);
  EXPECT_EQ(copy.Width(), 8);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.BkColor(), clWhite);
  EXPECT_EQ(copy.BlendColor(), clRed);
  EXPECT_EQ(ColorAt(copy, 1, 3, 3), colors[1]);
  copy.SetTag(5);
  copy.SetMasked(false);
  copy.Assign(nullptr);
  EXPECT_EQ(copy.Count(), 0);
  EXPECT_EQ(copy.Width(), 16);
  EXPECT_EQ(copy.Height(), 16);
  EXPECT_EQ(copy.BkColor(), clNone);
  EXPECT_EQ(copy.BlendColor(), clNone);
  EXPECT_TRUE(copy.Masked());
  EXPECT_EQ(copy.Tag(), 0);
}

} // namespace
} // namespace zel::test
