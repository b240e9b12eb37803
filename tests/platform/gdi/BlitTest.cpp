#include <gtest/gtest.h>

#include <random>

#include "platform/gdi/Gdi.h"
#include "tests/platform/gdi/TestCanvas.h"

namespace zel::sys {
namespace {

using testing::kBlack;
using testing::kBlue;
using testing::kRed;
using testing::kWhite;
using testing::TestCanvas;

void Paint(TestCanvas& c, Pixel (*f)(int, int)) {
  Surface& s = c.bmp->surface;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      s.At(x, y) = f(x, y);
}

Pixel Checker(int x, int y) {
  return ((x + y) % 2) ? 0x80FF0000u : 0x400000FFu;
}

TEST(Blit, SrcCopyCopiesAllFourBytesClippedToBothSurfaces) {
  TestCanvas src(4, 4), dst(10, 10);
  Paint(src, Checker);
  for (Pixel& p : dst.bmp->surface.Pixels())
    p = 0xFFFFFFFFu;
  ASSERT_EQ(BitBlt(dst.dc, 2, 3, 6, 6, src.dc, 1, 1, SRCCOPY), 1);
  EXPECT_EQ(dst.Raw(2, 3), Checker(1, 1));
  EXPECT_EQ(dst.Raw(4, 5), Checker(3, 3));
  EXPECT_EQ(dst.Raw(5, 5), 0xFFFFFFFFu) << "beyond the source's right edge";
  EXPECT_EQ(dst.Raw(4, 6), 0xFFFFFFFFu) << "beyond the source's bottom edge";
  EXPECT_EQ(dst.Raw(1, 3), 0xFFFFFFFFu);
  // The destination clip and origin apply.
  SetViewportOrgEx(dst.dc, 1, 0, nullptr);
  IntersectClipRect(dst.dc, 0, 0, 1, 10);
  BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.Raw(1, 0), Checker(0, 0));
  EXPECT_EQ(dst.Raw(2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(dst.Raw(0, 0), 0xFFFFFFFFu);
}

TEST(Blit, RasterOperations) {
  TestCanvas src(2, 1), dst(2, 1);
  src.bmp->surface.At(0, 0) = PixelFromColorRef(RGB(0xF0, 0x0F, 0xAA));
  src.bmp->surface.At(1, 0) = PixelFromColorRef(RGB(0x00, 0xFF, 0x00));
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(RGB(0x11, 0x22, 0x33)));
  SelectObject(dst.dc, brush);
  struct Case {
    DWORD rop;
    COLORREF dest;
    COLORREF want;
  } cases[] = {
      {SRCINVERT, RGB(0xFF, 0xFF, 0x00), RGB(0x0F, 0xF0, 0xAA)},
      {SRCAND, RGB(0x3C, 0xFF, 0x0F), RGB(0x30, 0x0F, 0x0A)},
      {SRCPAINT, RGB(0x0F, 0x00, 0x00), RGB(0xFF, 0x0F, 0xAA)},
      {PATINVERT, RGB(0xFF, 0x00, 0x33), RGB(0xEE, 0x22, 0x00)},
      {PATCOPY, RGB(1, 2, 3), RGB(0x11, 0x22, 0x33)},
      {DSTINVERT, RGB(0x0F, 0xF0, 0x00), RGB(0xF0, 0x0F, 0xFF)},
      {BLACKNESS, RGB(9, 9, 9), kBlack},
      {WHITENESS, RGB(9, 9, 9), kWhite},
      {0x00BB0226, RGB(0x01, 0x00, 0x00), RGB(0x0F, 0xF0, 0x55)}, // MERGEPAINT: ~S | D
  };
  for (const Case& c : cases) {
    dst.bmp->surface.At(0, 0) = PixelFromColorRef(c.dest, 0x77);
    ASSERT_EQ(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop), 1);
    EXPECT_EQ(dst.At(0, 0), c.want) << std::hex << c.rop;
    EXPECT_EQ(dst.Raw(0, 0) >> 24, 0u) << "operations other than copies write alpha 0";
  }
  // Operations without a source take no source context.
  EXPECT_EQ(BitBlt(dst.dc, 0, 0, 2, 1, nullptr, 0, 0, WHITENESS), 1);
  EXPECT_EQ(dst.At(1, 0), kWhite);
  EXPECT_EQ(BitBlt(dst.dc, 0, 0, 2, 1, nullptr, 0, 0, SRCCOPY), 0);
  EXPECT_EQ(PatBlt(dst.dc, 2, 1, -1, -1, PATCOPY), 1) << "negative extents flip the rectangle";
  EXPECT_EQ(dst.At(1, 0), RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(PatBlt(dst.dc, 0, 0, 1, 1, SRCCOPY), 0);
  SelectObject(dst.dc, GetStockObject(WHITE_BRUSH));
}

TEST(Blit, OverlappingCopyWithinOneSurface) {
  TestCanvas c(8, 8);
  Paint(c, [](int x, int y) { return Pixel(y * 8 + x); });
  BitBlt(c.dc, 1, 1, 7, 7, c.dc, 0, 0, SRCCOPY); // scroll down and right
  for (int y = 1; y < 8; ++y)
    for (int x = 1; x < 8; ++x)
      ASSERT_EQ(c.Raw(x, y), Pixel((y - 1) * 8 + x - 1));
  BitBlt(c.dc, 0, 0, 7, 7, c.dc, 1, 1, SRCCOPY); // and back
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x)
      ASSERT_EQ(c.Raw(x, y), Pixel(y * 8 + x));
}

TEST(Stretch, NearestInColorOnColor) {
  TestCanvas src(2, 2), dst(8, 6);
  Paint(src, Checker);
  ASSERT_EQ(StretchBlt(dst.dc, 0, 0, 8, 6, src.dc, 0, 0, 2, 2, SRCCOPY), 1);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ(dst.Raw(x, y), Checker(x / 4, y / 3)) << x << "," << y;
  // Negative destination width mirrors.
  StretchBlt(dst.dc, 7, 0, -8, 6, src.dc, 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(dst.Raw(7, 0), Checker(0, 0));
  EXPECT_EQ(dst.Raw(0, 0), Checker(1, 0));
  EXPECT_EQ(StretchBlt(dst.dc, 0, 0, 0, 6, src.dc, 0, 0, 2, 2, SRCCOPY), 0);
}

TEST(Stretch, HalftoneAveragesWhenShrinkingAndInterpolatesWhenEnlarging) {
  TestCanvas src(4, 4), dst(4, 4);
  Paint(src, [](int x, int y) { return ((x + y) % 2) ? 0x00FFFFFFu : 0x00000000u; });
  SetStretchBltMode(dst.dc, HALFTONE);
  StretchBlt(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, 4, 4, SRCCOPY);
  EXPECT_TRUE(ColorRefFromPixel(dst.Raw(0, 0)) == RGB(128, 128, 128) ||
              ColorRefFromPixel(dst.Raw(0, 0)) == RGB(127, 127, 127));
  EXPECT_EQ(dst.Raw(1, 1), dst.Raw(0, 0));
  // Enlarging a black-to-white pair gives a ramp with the ends kept.
  TestCanvas pair(2, 1), wide(8, 1);
  pair.bmp->surface.At(0, 0) = 0;
  pair.bmp->surface.At(1, 0) = 0x00FFFFFFu;
  SetStretchBltMode(wide.dc, HALFTONE);
  StretchBlt(wide.dc, 0, 0, 8, 1, pair.dc, 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(wide.At(0, 0), kBlack);
  EXPECT_EQ(wide.At(7, 0), kWhite);
  for (int x = 1; x < 8; ++x)
    EXPECT_GE(GetRValue(wide.At(x, 0)), GetRValue(wide.At(x - 1, 0)));
  EXPECT_GT(GetRValue(wide.At(4, 0)), 100);
  EXPECT_LT(GetRValue(wide.At(4, 0)), 200);
  // A uniform picture stays uniform in either direction.
  TestCanvas flat(5, 3, kRed), big(13, 7), small(2, 2);
  SetStretchBltMode(big.dc, HALFTONE);
  SetStretchBltMode(small.dc, HALFTONE);
  StretchBlt(big.dc, 0, 0, 13, 7, flat.dc, 0, 0, 5, 3, SRCCOPY);
  StretchBlt(small.dc, 0, 0, 2, 2, flat.dc, 0, 0, 5, 3, SRCCOPY);
  EXPECT_EQ(big.Count(kRed), 13 * 7);
  EXPECT_EQ(small.Count(kRed), 4);
}

TEST(Stretch, ClippedPartMatchesTheUnclippedPicture) {
  TestCanvas src(16, 16), full(40, 30), part(40, 30);
  std::mt19937 rng(7);
  for (Pixel& p : src.bmp->surface.Pixels())
    p = rng() & 0x00FFFFFFu;
  for (HDC dc : {full.dc, part.dc})
    SetStretchBltMode(dc, HALFTONE);
  for (int pass = 0; pass < 2; ++pass) {
    const int w = pass ? 40 : 9, h = pass ? 30 : 7; // enlarge, then shrink
    StretchBlt(full.dc, 0, 0, w, h, src.dc, 0, 0, 16, 16, SRCCOPY);
    IntersectClipRect(part.dc, 3, 2, 7, 6);
    StretchBlt(part.dc, 0, 0, w, h, src.dc, 0, 0, 16, 16, SRCCOPY);
    SelectClipRgn(part.dc, nullptr);
    for (int y = 2; y < 6; ++y)
      for (int x = 3; x < 7; ++x)
        ASSERT_EQ(part.Raw(x, y), full.Raw(x, y)) << pass;
  }
}

TEST(Transparent, KeyColourIsLeftOut) {
  TestCanvas src(3, 1), dst(6, 2, kBlue);
  const COLORREF magenta = RGB(255, 0, 255);
  src.bmp->surface.At(0, 0) = PixelFromColorRef(kRed);
  src.bmp->surface.At(1, 0) = PixelFromColorRef(magenta, 0xFF); // alpha does not matter
  src.bmp->surface.At(2, 0) = PixelFromColorRef(kBlack);
  ASSERT_EQ(TransparentBlt(dst.dc, 0, 0, 3, 1, src.dc, 0, 0, 3, 1, magenta), 1);
  EXPECT_EQ(dst.At(0, 0), kRed);
  EXPECT_EQ(dst.At(1, 0), kBlue);
  EXPECT_EQ(dst.At(2, 0), kBlack);
  // Stretched: each source pixel becomes two.
  TransparentBlt(dst.dc, 0, 1, 6, 1, src.dc, 0, 0, 3, 1, magenta);
  EXPECT_EQ(dst.At(1, 1), kRed);
  EXPECT_EQ(dst.At(2, 1), kBlue);
  EXPECT_EQ(dst.At(3, 1), kBlue);
  EXPECT_EQ(dst.At(4, 1), kBlack);
  EXPECT_EQ(TransparentBlt(dst.dc, 0, 0, -3, 1, src.dc, 0, 0, 3, 1, magenta), 0);
}

} // namespace
} // namespace zel::sys

namespace zel::sys {
namespace {

// The plain per-pixel meaning of a copy or an inverting blit, to check the
// row-copying paths (contiguous, clipped, overlapping) against.
TEST(Blit, RowPathsMatchAPlainReferenceOnRandomInputs) {
  std::mt19937 rng(99);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 150; ++round) {
    const int sw = pick(1, 24), sh = pick(1, 24), dw = pick(1, 24), dh = pick(1, 24);
    testing::TestCanvas src(sw, sh), dst(dw, dh);
    for (Pixel& p : src.bmp->surface.Pixels())
      p = Pixel(rng());
    for (Pixel& p : dst.bmp->surface.Pixels())
      p = Pixel(rng());
    const Surface before = dst.bmp->surface;
    const int x = pick(-4, dw), y = pick(-4, dh), w = pick(0, 30), h = pick(0, 30);
    const int sx = pick(-4, sw), sy = pick(-4, sh);
    const bool clip = round % 3 == 0;
    RECT clipRect{pick(0, dw), pick(0, dh), 0, 0};
    clipRect.right = pick(clipRect.left, dw);
    clipRect.bottom = pick(clipRect.top, dh);
    if (clip)
      IntersectClipRect(dst.dc, clipRect.left, clipRect.top, clipRect.right, clipRect.bottom);
    const DWORD rop = round % 2 ? SRCCOPY : SRCINVERT;
    BitBlt(dst.dc, x, y, w, h, src.dc, sx, sy, rop);
    for (int ty = 0; ty < dh; ++ty)
      for (int tx = 0; tx < dw; ++tx) {
        const int ux = tx - x + sx, uy = ty - y + sy;
        const bool inside = tx >= x && tx < x + w && ty >= y && ty < y + h && ux >= 0 && ux < sw &&
                            uy >= 0 && uy < sh && (!clip || PtInRect(clipRect, POINT{tx, ty}));
        Pixel want = before.At(tx, ty);
        if (inside) {
          const Pixel s = src.bmp->surface.At(ux, uy);
          want = rop == SRCCOPY ? s : (s ^ want) & 0x00FFFFFFu;
        }
        ASSERT_EQ(dst.Raw(tx, ty), want) << "round " << round << " at " << tx << "," << ty;
      }
  }
}

} // namespace
} // namespace zel::sys
