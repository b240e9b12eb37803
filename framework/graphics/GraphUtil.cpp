#include "framework/graphics/GraphUtil.h"

#include <array>
#include <cmath>

#include "framework/graphics/Bitmap.h"

namespace zel {

namespace {

sys::COLOR16 Channel16(int v) {
  return sys::COLOR16(v << 8);
}

// Keeps the pen and brush colours of a canvas across a routine that changes them.
class TPenBrushSaver {
public:
  explicit TPenBrushSaver(TCanvas* canvas)
      : FCanvas(canvas), FPenColor(canvas->Pen()->Color()), FPenWidth(canvas->Pen()->Width()),
        FPenStyle(canvas->Pen()->Style()), FBrushColor(canvas->Brush()->Color()),
        FBrushStyle(canvas->Brush()->Style()) {}
  ~TPenBrushSaver() {
    FCanvas->Pen()->SetColor(FPenColor);
    FCanvas->Pen()->SetWidth(FPenWidth);
    FCanvas->Pen()->SetStyle(FPenStyle);
    FCanvas->Brush()->SetColor(FBrushColor);
    FCanvas->Brush()->SetStyle(FBrushStyle);
  }
  TPenBrushSaver(const TPenBrushSaver&) = delete;
  TPenBrushSaver& operator=(const TPenBrushSaver&) = delete;

private:
  TCanvas* FCanvas;
  TColor FPenColor;
  int FPenWidth;
  TPenStyle FPenStyle;
  TColor FBrushColor;
  TBrushStyle FBrushStyle;
};

void CheckLine(TCanvas* canvas, sys::POINT p, int a) {
  const sys::POINT points[] = {{p.x, p.y},
                               {p.x + a, p.y + a},
                               {p.x + 3 * a, p.y - a},
                               {p.x + 3 * a, p.y - a - 1},
                               {p.x + a, p.y + a - 1},
                               {p.x - 1, p.y - 2}};
  canvas->Polyline(points);
}

// One chevron of two adjacent strokes, with its tip toward the direction.
void ChevronStroke(TCanvas* canvas, TScrollDirection direction, sys::POINT tip, int size) {
  for (int offset = 0; offset < 2; ++offset) {
    sys::POINT a{}, b{}, c{};
    switch (direction) {
    case sdLeft:
      a = {tip.x + size + offset, tip.y - size};
      b = {tip.x + offset, tip.y};
      c = {tip.x + size + offset, tip.y + size};
      break;
    case sdRight:
      a = {tip.x - size - offset, tip.y - size};
      b = {tip.x - offset, tip.y};
      c = {tip.x - size - offset, tip.y + size};
      break;
    case sdUp:
      a = {tip.x - size, tip.y + size + offset};
      b = {tip.x, tip.y + offset};
      c = {tip.x + size, tip.y + size + offset};
      break;
    case sdDown:
      a = {tip.x - size, tip.y - size - offset};
      b = {tip.x, tip.y - offset};
      c = {tip.x + size, tip.y - size - offset};
      break;
    }
    // The end point is not drawn by a line, so the far ends are stepped by one.
    const sys::POINT points[] = {a, b, c};
    canvas->Polyline(points);
    canvas->SetPixels(c.x, c.y, canvas->Pen()->Color());
  }
}

} // namespace

void GradientFillCanvas(TCanvas* canvas, TColor startColor, TColor endColor, const sys::RECT& r,
                        TGradientDirection direction) {
  if (!canvas || sys::IsRectEmpty(r)) return;
  const sys::COLORREF s = ColorToColorRef(startColor);
  const sys::COLORREF e = ColorToColorRef(endColor);
  sys::TRIVERTEX vertices[2];
  vertices[0].x = r.left;
  vertices[0].y = r.top;
  vertices[0].Red = Channel16(sys::GetRValue(s));
  vertices[0].Green = Channel16(sys::GetGValue(s));
  vertices[0].Blue = Channel16(sys::GetBValue(s));
  vertices[1].x = r.right;
  vertices[1].y = r.bottom;
  vertices[1].Red = Channel16(sys::GetRValue(e));
  vertices[1].Green = Channel16(sys::GetGValue(e));
  vertices[1].Blue = Channel16(sys::GetBValue(e));
  sys::GRADIENT_RECT mesh{0, 1};
  canvas->Changing();
  sys::GradientFill(canvas->Handle(), vertices, 2, &mesh, 1,
                    direction == gdHorizontal ? sys::GRADIENT_FILL_RECT_H
                                              : sys::GRADIENT_FILL_RECT_V);
  canvas->Changed();
}

void DrawCheck(TCanvas* canvas, sys::POINT location, int size, bool shadow) {
  if (!canvas) return;
  TPenBrushSaver saver(canvas);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetStyle(psSolid);
  const TColor color = canvas->Pen()->Color();
  if (shadow) {
    canvas->Pen()->SetColor(clBtnHighlight);
    CheckLine(canvas, sys::POINT{location.x + 1, location.y + 1}, size);
    canvas->Pen()->SetColor(color);
  }
  CheckLine(canvas, location, size);
}

void DrawArrow(TCanvas* canvas, TScrollDirection direction, sys::POINT location, int size) {
  if (!canvas) return;
  static constexpr std::array<std::array<sys::POINT, 3>, 4> kUnit = {{
      {{{1, 0}, {0, 1}, {1, 2}}}, // left
      {{{0, 0}, {1, 1}, {0, 2}}}, // right
      {{{0, 1}, {1, 0}, {2, 1}}}, // up
      {{{0, 0}, {1, 1}, {2, 0}}}, // down
  }};
  TPenBrushSaver saver(canvas);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetStyle(psSolid);
  canvas->Brush()->SetColor(canvas->Pen()->Color());
  sys::POINT points[3];
  for (int i = 0; i < 3; ++i) {
    const sys::POINT u = kUnit[size_t(direction)][size_t(i)];
    points[i] = sys::POINT{location.x + u.x * size, location.y + u.y * size};
  }
  canvas->Polygon(points);
}

void DrawChevron(TCanvas* canvas, TScrollDirection direction, sys::POINT location, int size) {
  if (!canvas || size <= 0) return;
  TPenBrushSaver saver(canvas);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetStyle(psSolid);
  // Tips of the two chevrons, 3 pixels apart along the direction.
  sys::POINT first{}, second{};
  switch (direction) {
  case sdLeft:
    first = {location.x, location.y + size};
    second = {location.x + 3, location.y + size};
    break;
  case sdRight:
    first = {location.x + size + 4, location.y + size};
    second = {location.x + size + 1, location.y + size};
    break;
  case sdUp:
    first = {location.x + size, location.y};
    second = {location.x + size, location.y + 3};
    break;
  case sdDown:
    first = {location.x + size, location.y + size + 4};
    second = {location.x + size, location.y + size + 1};
    break;
  }
  ChevronStroke(canvas, direction, first, size);
  ChevronStroke(canvas, direction, second, size);
}

void ScaleImage(TBitmap* source, TBitmap* dest, double factor) {
  if (!source || !dest || source == dest) return;
  dest->SetPixelFormat(pf24bit);
  if (source->Empty() || !(factor > 0)) {
    dest->SetSize(0, 0);
    return;
  }
  source->SetPixelFormat(pf24bit);
  const int w = int(std::lround(source->Width() * factor));
  const int h = int(std::lround(source->Height() * factor));
  dest->SetSize(w, h);
  if (dest->Empty()) return;
  sys::HDC target = dest->Canvas()->Handle();
  const int oldMode = sys::SetStretchBltMode(target, sys::HALFTONE);
  sys::StretchBlt(target, 0, 0, w, h, source->Canvas()->Handle(), 0, 0, source->Width(),
                  source->Height(), sys::SRCCOPY);
  sys::SetStretchBltMode(target, oldMode);
  dest->Canvas()->Changed();
}

} // namespace zel
