#include <gtest/gtest.h>

#include <functional>
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

TEST(Objects, SelectReturnsThePreviousObjectAndGuardsDeletion) {
  TestCanvas c(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 0, kRed);
  EXPECT_EQ(pen->width, 1);
  HGDIOBJ previous = SelectObject(c.dc, pen);
  EXPECT_EQ(previous, GetStockObject(BLACK_PEN)) << "a fresh context has the black pen";
  EXPECT_EQ(GetCurrentObject(c.dc, GdiKind::Pen), pen);
  EXPECT_EQ(DeleteObject(pen), 0) << "a selected pen is not deleted";
  EXPECT_EQ(SelectObject(c.dc, previous), pen);
  EXPECT_EQ(DeleteObject(pen), 1);
  EXPECT_EQ(DeleteObject(nullptr), 0);
  EXPECT_EQ(DeleteObject(GetStockObject(WHITE_BRUSH)), 1) << "stock objects ignore deletion";
  EXPECT_EQ(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))->color, kWhite);
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(999), nullptr);
  EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(SelectObject(c.dc, nullptr), nullptr);
}

TEST(Objects, BitmapsAndMemoryContexts) {
  EXPECT_EQ(CreateBitmap(4, 4, 8), nullptr);
  EXPECT_EQ(CreateBitmap(-1, 4, 32), nullptr);
  UniqueGdi<HBITMAP> b24(CreateBitmap(3, 2, 24));
  SIZE size;
  ASSERT_EQ(GetBitmapSize(b24, size), 1);
  EXPECT_EQ(size, (SIZE{3, 2}));
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc->target, nullptr);
  EXPECT_EQ(dc->target->Width(), 1) << "a memory context starts with a 1 x 1 bitmap";
  HGDIOBJ old = SelectObject(dc, b24);
  EXPECT_EQ(dc->target, &b24.get()->surface);
  EXPECT_EQ(SelectObject(dc, old), b24.get());
  DeleteDC(dc);
  BITMAPINFO info;
  info.bmiHeader.biWidth = 5;
  info.bmiHeader.biHeight = -7;
  info.bmiHeader.biBitCount = 32;
  UniqueGdi<HBITMAP> dib(CreateDIBSection(nullptr, info));
  ASSERT_NE(dib.get(), nullptr);
  EXPECT_EQ(dib.get()->surface.Height(), 7);
  info.bmiHeader.biCompression = 3;
  EXPECT_EQ(CreateDIBSection(nullptr, info), nullptr);
}

TEST(Objects, AWindowContextCannotTakeABitmap) {
  Surface screen(8, 8);
  DC dc;
  dc.isMemory = false;
  dc.target = &screen;
  UniqueGdi<HBITMAP> bmp(CreateBitmap(2, 2, 32));
  EXPECT_EQ(SelectObject(&dc, bmp), nullptr);
  EXPECT_EQ(dc.target, &screen);
  // An unselected window context draws with the default objects.
  EXPECT_EQ(GetCurrentObject(&dc, GdiKind::Brush), GetStockObject(WHITE_BRUSH));
}

TEST(Objects, DeviceCapsDescribeA32BitDevice) {
  HDC dc = CreateCompatibleDC(nullptr);
  const std::pair<int, int> caps[] = {{BITSPIXEL, 32},  {PLANES, 1},      {NUMCOLORS, -1},
                                      {LOGPIXELSX, 96}, {LOGPIXELSY, 96}, {-5, 0}};
  for (auto [index, value] : caps)
    EXPECT_EQ(GetDeviceCaps(dc, index), value) << "index " << index;
  DeleteDC(dc);
  EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 0);
}

TEST(SaveRestore, RelativeAndAbsoluteLevels) {
  TestCanvas c(4, 4);
  SetTextColor(c.dc, kRed);
  EXPECT_EQ(SaveDC(c.dc), 1);
  SetTextColor(c.dc, kBlue);
  SetViewportOrgEx(c.dc, 3, 4, nullptr);
  EXPECT_EQ(SaveDC(c.dc), 2);
  SetTextColor(c.dc, kBlack);
  EXPECT_EQ(SaveDC(c.dc), 3);
  SetTextColor(c.dc, kWhite);

  EXPECT_EQ(RestoreDC(c.dc, -1), 1);
  EXPECT_EQ(GetTextColor(c.dc), kBlack);
  EXPECT_EQ(c.dc->saved.size(), 2u);
  EXPECT_EQ(RestoreDC(c.dc, 1), 1) << "absolute level 1 drops every later state";
  EXPECT_EQ(GetTextColor(c.dc), kRed);
  POINT org{9, 9};
  GetViewportOrgEx(c.dc, &org);
  EXPECT_EQ(org, (POINT{0, 0}));
  EXPECT_TRUE(c.dc->saved.empty());

  EXPECT_EQ(RestoreDC(c.dc, -1), 0) << "nothing saved";
  EXPECT_EQ(SaveDC(c.dc), 1);
  EXPECT_EQ(RestoreDC(c.dc, 2), 0);
  EXPECT_EQ(RestoreDC(c.dc, -2), 0);
  EXPECT_EQ(RestoreDC(c.dc, 0), 0);
  EXPECT_EQ(RestoreDC(c.dc, -1), 1);
}

TEST(SaveRestore, BringsBackObjectsClipAndTheSelectedBitmap) {
  TestCanvas c(10, 10);
  HBRUSH red = CreateSolidBrush(kRed);
  HBITMAP other = CreateBitmap(2, 2, 32);
  const int level = SaveDC(c.dc);
  SelectObject(c.dc, red);
  SelectObject(c.dc, other);
  IntersectClipRect(c.dc, 0, 0, 1, 1);
  EXPECT_EQ(c.dc->target, &other->surface);
  SaveDC(c.dc);
  SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
  EXPECT_EQ(DeleteObject(red), 0) << "a saved state still holds the brush";
  ASSERT_EQ(RestoreDC(c.dc, level), 1);
  EXPECT_EQ(c.dc->target, &c.bmp->surface);
  EXPECT_EQ(GetCurrentObject(c.dc, GdiKind::Brush), GetStockObject(WHITE_BRUSH));
  RECT box;
  EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 10, 10}));
  EXPECT_EQ(DeleteObject(red), 1);
  EXPECT_EQ(DeleteObject(other), 1);
}

TEST(SaveRestore, DeletingAContextReleasesSavedObjects) {
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  SelectObject(dc, pen);
  SaveDC(dc);
  SaveDC(dc);
  DeleteDC(dc);
  EXPECT_EQ(DeleteObject(pen), 1);
}

TEST(Clipping, FillRectHonoursClipCallsAndOrigins) {
  TestCanvas c(20, 20);
  UniqueGdi<HBRUSH> red(CreateSolidBrush(kRed));
  IntersectClipRect(c.dc, 2, 2, 12, 12);
  ExcludeClipRect(c.dc, 4, 4, 6, 6);
  FillRect(c.dc, RECT{0, 0, 20, 20}, red);
  EXPECT_EQ(c.Count(kRed), 100 - 4);
  EXPECT_EQ(c.At(2, 2), kRed);
  EXPECT_EQ(c.At(11, 11), kRed);
  EXPECT_EQ(c.At(12, 11), kWhite);
  EXPECT_EQ(c.At(1, 2), kWhite);
  EXPECT_EQ(c.At(4, 4), kWhite);
  EXPECT_EQ(c.At(5, 5), kWhite);
  EXPECT_EQ(c.At(6, 5), kRed);
  RECT box;
  EXPECT_EQ(GetClipBox(c.dc, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{2, 2, 12, 12}));
  c.Save("clip_exclude");
}

TEST(Clipping, ViewportOriginMovesDrawingAndClipRectsButNotSelectedRegions) {
  TestCanvas c(20, 20);
  UniqueGdi<HBRUSH> red(CreateSolidBrush(kRed));
  SetViewportOrgEx(c.dc, 5, 6, nullptr);
  // Clip calls with a rectangle take logical coordinates...
  IntersectClipRect(c.dc, 0, 0, 3, 3);
  FillRect(c.dc, RECT{-10, -10, 10, 10}, red);
  EXPECT_EQ(c.Count(kRed), 9);
  EXPECT_EQ(c.At(5, 6), kRed);
  EXPECT_EQ(c.At(7, 8), kRed);
  RECT box;
  GetClipBox(c.dc, &box);
  EXPECT_EQ(box, (RECT{0, 0, 3, 3})) << "the clip box is logical";
  // ...while a selected region is in device coordinates.
  UniqueGdi<HRGN> rgn(CreateRectRgn(0, 0, 2, 2));
  SelectClipRgn(c.dc, rgn);
  FillRect(c.dc, RECT{-10, -10, 10, 10}, red);
  EXPECT_EQ(c.At(0, 0), kRed);
  EXPECT_EQ(c.At(1, 1), kRed);
  EXPECT_EQ(c.At(2, 2), kWhite);
  SelectClipRgn(c.dc, nullptr);
  GetClipBox(c.dc, &box);
  EXPECT_EQ(box, (RECT{-5, -6, 15, 14}));
  // The region handle was copied: changing it later changes nothing.
  OffsetRgn(rgn, 100, 100);
  EXPECT_TRUE(RectVisible(c.dc, RECT{0, 0, 1, 1}));
  EXPECT_FALSE(RectVisible(c.dc, RECT{15, 0, 16, 1}));
}

TEST(Clipping, DeviceOriginAndVisibleRegionOfAWindowContext) {
  Surface screen(30, 30, PixelFromColorRef(kWhite));
  DC dc;
  dc.isMemory = false;
  dc.target = &screen;
  dc.deviceOrigin = POINT{10, 10};
  dc.hasVisRgn = true;
  dc.visRgn = Region(RECT{10, 10, 20, 20});
  dc.visRgn.Exclude(RECT{12, 12, 14, 14});
  UniqueGdi<HBRUSH> red(CreateSolidBrush(kRed));
  UniqueGdi<HRGN> clip(CreateRectRgn(0, 0, 5, 30));
  SelectClipRgn(&dc, clip);
  FillRect(&dc, RECT{-10, -10, 40, 40}, red);
  int n = 0;
  for (Pixel p : screen.Pixels())
    n += ColorRefFromPixel(p) == kRed;
  EXPECT_EQ(n, 5 * 10 - 4);
  EXPECT_EQ(ColorRefFromPixel(screen.At(10, 10)), kRed);
  EXPECT_EQ(ColorRefFromPixel(screen.At(12, 12)), kWhite);
  EXPECT_EQ(ColorRefFromPixel(screen.At(15, 10)), kWhite);
  EXPECT_EQ(ColorRefFromPixel(screen.At(9, 10)), kWhite);
  RECT box;
  GetClipBox(&dc, &box);
  EXPECT_EQ(box, (RECT{0, 0, 5, 10}));
  // FillTargetRect works in target coordinates with the same clip.
  FillTargetRect(&dc, RECT{0, 0, 30, 30}, kBlue);
  EXPECT_EQ(ColorRefFromPixel(screen.At(10, 19)), kBlue);
  EXPECT_EQ(ColorRefFromPixel(screen.At(0, 0)), kWhite);
}

// The effective clip is kept between drawing calls; every one of its parts
// changed on the same context (visible region, clip region, device origin,
// target) must show in the very next call.
TEST(Clipping, EachChangeOfTheClipsPartsTakesEffectAtOnce) {
  Surface screen(20, 20, PixelFromColorRef(kWhite)), other(8, 8, PixelFromColorRef(kWhite));
  DC dc;
  dc.isMemory = false;
  dc.target = &screen;
  dc.hasVisRgn = true;
  dc.visRgn = Region(RECT{0, 0, 4, 4});
  UniqueGdi<HBRUSH> red(CreateSolidBrush(kRed));
  const RECT all{-50, -50, 50, 50};
  auto count = [](const Surface& s) {
    int n = 0;
    for (Pixel p : s.Pixels())
      n += ColorRefFromPixel(p) == kRed;
    return n;
  };
  auto clear = [](Surface& s) {
    for (Pixel& p : s.Pixels())
      p = PixelFromColorRef(kWhite);
  };
  struct Step {
    const char* what;
    std::function<void()> change;
    Surface* target;
    int red;
  } steps[] = {
      {"first", [] {}, &screen, 16},
      {"visible region grows", [&] { dc.visRgn = Region(RECT{0, 0, 10, 4}); }, &screen, 40},
      {"clip region", [&] { IntersectClipRect(&dc, 0, 0, 2, 20); }, &screen, 8},
      {"device origin", [&] { dc.deviceOrigin = POINT{1, 0}; }, &screen, 8},
      {"clip removed", [&] { SelectClipRgn(&dc, nullptr); }, &screen, 40},
      {"visible region gone", [&] { dc.hasVisRgn = false; }, &screen, 400},
      {"other target", [&] { dc.target = &other; }, &other, 64},
  };
  for (const Step& step : steps) {
    step.change();
    clear(screen);
    clear(other);
    FillRect(&dc, all, red);
    EXPECT_EQ(count(*step.target), step.red) << step.what;
  }
}

TEST(Filling, BrushesRegionsAndAlpha) {
  TestCanvas c(10, 10);
  for (Pixel& p : c.bmp->surface.Pixels())
    p = 0xFFFFFFFF;
  UniqueGdi<HBRUSH> red(CreateSolidBrush(kRed));
  EXPECT_EQ(FillRect(c.dc, RECT{0, 0, 2, 2}, red), 1);
  EXPECT_EQ(c.Raw(0, 0), 0x00FF0000u) << "drawing writes alpha 0";
  EXPECT_EQ(c.Raw(2, 2), 0xFFFFFFFFu);
  FillRect(c.dc, RECT{0, 0, 10, 10}, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(c.Raw(5, 5), 0xFFFFFFFFu);
  EXPECT_EQ(FillRect(c.dc, RECT{0, 0, 10, 10}, nullptr), 0);
  FillRect(c.dc, RECT{5, 5, 3, 3}, red); // reversed: nothing
  EXPECT_EQ(c.Count(kRed), 4);

  UniqueGdi<HRGN> rgn(CreateRectRgn(0, 0, 6, 6));
  UniqueGdi<HBRUSH> blue(CreateSolidBrush(kBlue));
  SetViewportOrgEx(c.dc, 2, 2, nullptr);
  FrameRgn(c.dc, rgn, blue, 1, 1);
  EXPECT_EQ(c.Count(kBlue), 20);
  EXPECT_EQ(c.At(2, 2), kBlue);
  EXPECT_EQ(c.At(7, 7), kBlue);
  EXPECT_EQ(c.At(3, 3), kWhite);
  FillRgn(c.dc, rgn, blue);
  EXPECT_EQ(c.Count(kBlue), 36);
}

} // namespace
} // namespace zel::sys

namespace zel::sys {
namespace {

// Whole-row fills take a contiguous path; both must agree with the plain
// rule under random rectangles, clips and origins.
TEST(Filling, RandomRectanglesMatchAPlainReference) {
  std::mt19937 rng(4242);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  UniqueGdi<HBRUSH> red(CreateSolidBrush(kRed));
  for (int round = 0; round < 200; ++round) {
    const int w = pick(1, 20), h = pick(1, 20);
    TestCanvas c(w, h);
    const POINT org{pick(-3, 3), pick(-3, 3)};
    SetViewportOrgEx(c.dc, org.x, org.y, nullptr);
    const RECT r{pick(-5, w), pick(-5, h), pick(-5, w + 5), pick(-5, h + 5)};
    const RECT hole{pick(0, w), pick(0, h), pick(0, w), pick(0, h)};
    const bool clip = round % 2;
    if (clip) ExcludeClipRect(c.dc, hole.left, hole.top, hole.right, hole.bottom);
    FillRect(c.dc, r, red);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const POINT logical{x - org.x, y - org.y};
        const bool want = PtInRect(r, logical) && !(clip && PtInRect(hole, logical));
        ASSERT_EQ(c.At(x, y) == kRed, want) << "round " << round << " at " << x << "," << y;
      }
  }
}

} // namespace
} // namespace zel::sys
