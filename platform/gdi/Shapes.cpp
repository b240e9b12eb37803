// Lines, outlines and filled shapes.  Pixel rules:
// - a one-pixel line is a Bresenham line that leaves out its end point;
// - a wider pen paints every pixel whose centre lies closer than width / 2
//   to the segment (a line with round caps), so a 2-pixel cross stays
//   symmetric;
// - closed shapes lie inside their bounding rectangle, right and bottom
//   exclusive; the pen outlines them inward and the brush fills the rest;
// - a pixel belongs to a filled shape when its centre lies inside it.
// Everything is clipped by the context's effective clip through Painter.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Painter.h"

namespace zel::sys {
namespace {

// Dash patterns of one-pixel styled pens: pixels on, then pixels off.
struct Dash {
  int on;
  int off;
};

Dash DashOf(int style) {
  switch (style) {
  case PS_DASH: return Dash{18, 6};
  case PS_DOT: return Dash{3, 3};
  default: return Dash{1, 0};
  }
}

// Calls plot(x, y) for each pixel of the Bresenham line from a towards b,
// end point excluded.
template <class F> void ForEachLinePixel(POINT a, POINT b, F&& plot) {
  const int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
  const int sx = b.x >= a.x ? 1 : -1, sy = b.y >= a.y ? 1 : -1;
  int x = a.x, y = a.y;
  if (dx >= dy) {
    int err = 2 * dy - dx;
    for (int i = 0; i < dx; ++i) {
      plot(x, y);
      if (err > 0) { y += sy; err -= 2 * dx; }
      err += 2 * dy;
      x += sx;
    }
  } else {
    int err = 2 * dx - dy;
    for (int i = 0; i < dy; ++i) {
      plot(x, y);
      if (err > 0) { x += sx; err -= 2 * dy; }
      err += 2 * dx;
      y += sy;
    }
  }
}

// A segment of a wide pen: every pixel whose centre is nearer than w / 2.
// Odd widths run through pixel centres, even widths through pixel corners,
// so that both cover exactly w pixels across a straight line.
void WideSegment(Painter& painter, POINT a, POINT b, int w, Pixel color) {
  const double c = (w % 2) ? 0.5 : 0.0;
  const double ax = a.x + c, ay = a.y + c, bx = b.x + c, by = b.y + c;
  const double r = w / 2.0, r2 = r * r;
  RECT box{int(std::floor(std::min(ax, bx) - r)), int(std::floor(std::min(ay, by) - r)),
           int(std::ceil(std::max(ax, bx) + r)) + 1, int(std::ceil(std::max(ay, by) + r)) + 1};
  if (!IntersectRect(box, box, painter.ClipBox())) return;
  const double vx = bx - ax, vy = by - ay, len2 = vx * vx + vy * vy;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const double px = x + 0.5 - ax, py = y + 0.5 - ay;
      double t = len2 > 0 ? (px * vx + py * vy) / len2 : 0.0;
      t = std::clamp(t, 0.0, 1.0);
      const double ex = px - t * vx, ey = py - t * vy;
      if (ex * ex + ey * ey < r2) painter.Plot(x, y, color);
    }
  }
}

// Draws a segment of the current pen from a to b in target coordinates;
// `phase` carries a styled pen's pattern position from one segment to the
// next.  One-pixel segments leave out b.
void PenSegment(HDC dc, Painter& painter, HPEN pen, POINT a, POINT b, int& phase) {
  if (pen->style == PS_NULL) return;
  const Pixel color = PixelFromColorRef(pen->color);
  if (pen->width > 1) {
    WideSegment(painter, a, b, pen->width, color);
    return;
  }
  const Dash dash = DashOf(pen->style);
  if (dash.off == 0) {
    ForEachLinePixel(a, b, [&](int x, int y) { painter.Plot(x, y, color); });
    return;
  }
  // Gaps of a styled pen show the background colour in opaque mode.
  const bool opaque = dc->state.bkMode == OPAQUE;
  const Pixel gap = PixelFromColorRef(dc->state.bkColor);
  const int period = dash.on + dash.off;
  ForEachLinePixel(a, b, [&](int x, int y) {
    if (phase < dash.on) painter.Plot(x, y, color);
    else if (opaque) painter.Plot(x, y, gap);
    phase = (phase + 1) % period;
  });
}

// A rectangle whose corners are quarter ellipses of radii rx, ry (in target
// coordinates), as a region of the pixels whose centres lie inside.
Region RoundedRegion(RECT r, double rx, double ry) {
  Region rgn;
  std::vector<RECT> rows;
  const double lc = r.left + rx, rc = r.right - rx;
  const double tc = r.top + ry, bc = r.bottom - ry;
  for (int y = r.top; y < r.bottom; ++y) {
    const double yc = y + 0.5;
    double d = 0;
    if (yc < tc && ry > 0) d = (tc - yc) / ry;
    else if (yc > bc && ry > 0) d = (yc - bc) / ry;
    if (d >= 1) continue;
    const double hw = rx * std::sqrt(1 - d * d);
    const int x0 = int(std::floor(lc - hw - 0.5)) + 1;
    const int x1 = int(std::ceil(rc + hw - 0.5));
    if (x1 > x0) rows.push_back(RECT{x0, y, x1, y + 1});
  }
  for (const RECT& row : rows) rgn.Combine(rgn, Region(row), RGN_OR);
  return rgn;
}

// The pixels of a region within w columns or h rows of its outside.
Region Border(const Region& rgn, int w, int h) {
  Region inner = rgn;
  const POINT shifts[4] = {{w, 0}, {-w, 0}, {0, h}, {0, -h}};
  for (const POINT& s : shifts) {
    Region moved = rgn;
    moved.Offset(s.x, s.y);
    inner.Combine(inner, moved, RGN_AND);
  }
  Region border;
  border.Combine(rgn, inner, RGN_DIFF);
  return border;
}

RECT Normalized(int l, int t, int r, int b) {
  return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// Fills a region shape with the brush and outlines it inward with the pen.
BOOL DrawRegionShape(HDC dc, const Region& shape) {
  Painter painter(dc);
  HPEN pen = CurrentPen(dc);
  HBRUSH brush = CurrentBrush(dc);
  const int w = pen->style == PS_NULL ? 0 : pen->width;
  if (brush->style != BS_NULL) painter.Fill(shape, PixelFromColorRef(brush->color));
  if (w > 0) painter.Fill(Border(shape, w, w), PixelFromColorRef(pen->color));
  return 1;
}

} // namespace

BOOL MoveToEx(HDC dc, int x, int y, POINT* old) {
  if (!dc) return 0;
  if (old) *old = dc->state.currentPos;
  dc->state.currentPos = POINT{x, y};
  return 1;
}

BOOL LineTo(HDC dc, int x, int y) {
  if (!dc) return 0;
  Painter painter(dc);
  const POINT from = dc->state.currentPos;
  dc->state.currentPos = POINT{x, y};
  if (!painter.Ready()) return 1;
  int phase = 0;
  PenSegment(dc, painter, CurrentPen(dc), painter.ToTarget(from.x, from.y),
             painter.ToTarget(x, y), phase);
  return 1;
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
  if (!dc || !points || count < 2) return 0;
  Painter painter(dc);
  if (!painter.Ready()) return 1;
  HPEN pen = CurrentPen(dc);
  int phase = 0;
  for (int i = 0; i + 1 < count; ++i)
    PenSegment(dc, painter, pen, painter.ToTarget(points[i].x, points[i].y),
               painter.ToTarget(points[i + 1].x, points[i + 1].y), phase);
  return 1;
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
  if (!dc || !points || count < 2) return 0;
  Painter painter(dc);
  if (!painter.Ready()) return 1;
  std::vector<POINT> target(size_t(count), POINT{});
  for (int i = 0; i < count; ++i) target[size_t(i)] = painter.ToTarget(points[i].x, points[i].y);
  HBRUSH brush = CurrentBrush(dc);
  if (brush->style != BS_NULL) {
    Region fill;
    fill.SetPolygon(target.data(), count, dc->state.polyFillMode);
    painter.Fill(fill, PixelFromColorRef(brush->color));
  }
  // The outline closes the figure, so every vertex is drawn once.
  HPEN pen = CurrentPen(dc);
  int phase = 0;
  for (int i = 0; i < count; ++i)
    PenSegment(dc, painter, pen, target[size_t(i)], target[size_t((i + 1) % count)], phase);
  return 1;
}

BOOL Rectangle(HDC dc, int l, int t, int r, int b) {
  if (!dc) return 0;
  Painter painter(dc);
  if (!painter.Ready()) return 1;
  RECT rect = painter.ToTarget(Normalized(l, t, r, b));
  HPEN pen = CurrentPen(dc);
  HBRUSH brush = CurrentBrush(dc);
  if (pen->style == PS_NULL) {
    // Without an outline the platform's fill stops one pixel short of the
    // right and bottom edges, where the pen would have been.
    if (brush->style != BS_NULL)
      painter.Fill(RECT{rect.left, rect.top, rect.right - 1, rect.bottom - 1},
                   PixelFromColorRef(brush->color));
    return 1;
  }
  const int w = pen->width;
  if (brush->style != BS_NULL)
    painter.Fill(RECT{rect.left + w, rect.top + w, rect.right - w, rect.bottom - w},
                 PixelFromColorRef(brush->color));
  if (IsRectEmpty(rect)) return 1;
  if (w == 1 && pen->style != PS_SOLID && pen->style != PS_INSIDEFRAME) {
    // A styled outline runs around the rectangle as one closed line.
    const POINT corners[5] = {{rect.left, rect.top},
                              {rect.right - 1, rect.top},
                              {rect.right - 1, rect.bottom - 1},
                              {rect.left, rect.bottom - 1},
                              {rect.left, rect.top}};
    int phase = 0;
    for (int i = 0; i < 4; ++i) PenSegment(dc, painter, pen, corners[i], corners[i + 1], phase);
    return 1;
  }
  const Pixel color = PixelFromColorRef(pen->color);
  const int wx = std::min(w, rect.Width()), wy = std::min(w, rect.Height());
  painter.Fill(RECT{rect.left, rect.top, rect.right, rect.top + wy}, color);
  painter.Fill(RECT{rect.left, rect.bottom - wy, rect.right, rect.bottom}, color);
  painter.Fill(RECT{rect.left, rect.top, rect.left + wx, rect.bottom}, color);
  painter.Fill(RECT{rect.right - wx, rect.top, rect.right, rect.bottom}, color);
  return 1;
}

BOOL Ellipse(HDC dc, int l, int t, int r, int b) {
  if (!dc) return 0;
  const RECT rect = Normalized(l, t, r, b);
  Painter probe(dc);
  const RECT target = probe.ToTarget(rect);
  return DrawRegionShape(dc, RoundedRegion(target, target.Width() / 2.0, target.Height() / 2.0));
}

BOOL RoundRect(HDC dc, int l, int t, int r, int b, int w, int h) {
  if (!dc) return 0;
  const RECT rect = Normalized(l, t, r, b);
  Painter probe(dc);
  const RECT target = probe.ToTarget(rect);
  const double rx = std::min(std::abs(w), target.Width()) / 2.0;
  const double ry = std::min(std::abs(h), target.Height()) / 2.0;
  return DrawRegionShape(dc, RoundedRegion(target, rx, ry));
}

int FrameRect(HDC dc, const RECT& r, HBRUSH brush) {
  if (!dc || !brush) return 0;
  if (brush->style == BS_NULL || IsRectEmpty(r)) return 1;
  Painter painter(dc);
  const RECT t = painter.ToTarget(r);
  const Pixel color = PixelFromColorRef(brush->color);
  painter.Fill(RECT{t.left, t.top, t.right, t.top + 1}, color);
  painter.Fill(RECT{t.left, t.bottom - 1, t.right, t.bottom}, color);
  painter.Fill(RECT{t.left, t.top + 1, t.left + 1, t.bottom - 1}, color);
  painter.Fill(RECT{t.right - 1, t.top + 1, t.right, t.bottom - 1}, color);
  return 1;
}

BOOL InvertRect(HDC dc, const RECT& r) {
  if (!dc) return 0;
  Painter painter(dc);
  if (!painter.Ready()) return 1;
  Surface& s = painter.Target();
  painter.ForEachPiece(painter.ToTarget(r), [&](const RECT& piece) {
    for (int y = piece.top; y < piece.bottom; ++y) {
      Pixel* row = s.Row(y);
      for (int x = piece.left; x < piece.right; ++x) row[x] = ~row[x] & 0x00FFFFFFu;
    }
  });
  return 1;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  if (!dc) return CLR_INVALID;
  Painter painter(dc);
  const POINT p = painter.ToTarget(x, y);
  if (!painter.Ready() || !painter.Visible(p.x, p.y)) return CLR_INVALID;
  painter.Plot(p.x, p.y, PixelFromColorRef(color));
  return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  if (!dc) return CLR_INVALID;
  Painter painter(dc);
  const POINT p = painter.ToTarget(x, y);
  if (!painter.Ready() || !painter.Visible(p.x, p.y)) return CLR_INVALID;
  return ColorRefFromPixel(painter.Target().At(p.x, p.y));
}

} // namespace zel::sys
