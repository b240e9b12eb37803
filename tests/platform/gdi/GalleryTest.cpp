// One sheet with every primitive, enlarged four times, for a person to look
// at (pictures/gdi_gallery.png); the checks here are only a sanity net.

#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"
#include "tests/platform/gdi/TestCanvas.h"

namespace zel::sys {
namespace {

using testing::kBlack;
using testing::kWhite;
using testing::TestCanvas;

void DrawSheet(HDC dc) {
  UniqueGdi<HPEN> red(CreatePen(PS_SOLID, 1, RGB(200, 0, 0)));
  UniqueGdi<HPEN> two(CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
  UniqueGdi<HPEN> dash(CreatePen(PS_DASH, 1, RGB(0, 0, 160)));
  UniqueGdi<HBRUSH> yellow(CreateSolidBrush(RGB(250, 220, 60)));
  UniqueGdi<HBRUSH> green(CreateSolidBrush(RGB(40, 160, 80)));
  HGDIOBJ oldPen = SelectObject(dc, red);
  HGDIOBJ oldBrush = SelectObject(dc, yellow);
  // Rectangles, an ellipse and a rounded rectangle.
  Rectangle(dc, 2, 2, 22, 16);
  Ellipse(dc, 26, 2, 50, 16);
  RoundRect(dc, 54, 2, 78, 16, 8, 8);
  // A fan of lines from one point.
  for (int i = 0; i <= 8; ++i) {
    MoveToEx(dc, 2, 40, nullptr);
    LineTo(dc, 2 + i * 3, 20);
  }
  // A close cross with a 2-pixel pen in an even square.
  SelectObject(dc, two);
  MoveToEx(dc, 34, 22, nullptr);
  LineTo(dc, 44, 32);
  MoveToEx(dc, 34, 32, nullptr);
  LineTo(dc, 44, 22);
  // A dashed line and a filled star.
  SelectObject(dc, dash);
  MoveToEx(dc, 2, 44, nullptr);
  LineTo(dc, 78, 44);
  SelectObject(dc, red);
  SelectObject(dc, green);
  SetPolyFillMode(dc, WINDING);
  const POINT star[] = {{64, 20}, {72, 40}, {52, 27}, {76, 27}, {56, 40}};
  Polygon(dc, star, 5);
  // Both gradients.
  TRIVERTEX v[2];
  v[0].x = 2;
  v[0].y = 48;
  v[0].Red = 0x2000;
  v[0].Green = 0x4000;
  v[0].Blue = 0xC000;
  v[1].x = 38;
  v[1].y = 60;
  v[1].Red = 0xF000;
  v[1].Green = 0xF000;
  v[1].Blue = 0xF000;
  const GRADIENT_RECT g{0, 1};
  GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
  v[0].x = 42;
  v[1].x = 78;
  GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
}

TEST(Gallery, EveryPrimitiveOnOneSheet) {
  TestCanvas sheet(80, 62);
  DrawSheet(sheet.dc);
  TestCanvas big(320, 248);
  StretchBlt(big.dc, 0, 0, 320, 248, sheet.dc, 0, 0, 80, 62, SRCCOPY);
  big.Save("gallery");
  sheet.Save("gallery_1x");
  EXPECT_EQ(big.At(4 * 36 + 1, 4 * 24 + 1), sheet.At(36, 24));
  EXPECT_NE(sheet.Count(kWhite), 80 * 62);
  EXPECT_GT(sheet.Count(kBlack), 20);
}

} // namespace
} // namespace zel::sys
