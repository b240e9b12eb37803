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
  case PS_DASH:
    return Dash{18, 6};
  case PS_DOT:
    return Dash{3, 3};
  default:
    return Dash{1, 0};
  }
}

// The steps [first, last) of a run from `start` in direction `step` (+-1)
// over `count` pixels whose position lies in [lo, hi).
void StepRange(int64_t start, int step, int64_t count, int64_t lo, int64_t hi, int64_t& first,
               int64_t& last) {
  if (step > 0) {
    first = std::max<int64_t>(0, lo - start);
    last = std::min<int64_t>(count, hi - start);
  } else {
    first = std::max<int64_t>(0, start - (hi - 1));
    last = std::min<int64_t>(count, start - lo + 1);
  }
}

// Calls plot(x, y, step) for each pixel of the Bresenham line from a towards b,
// end point excluded.  Steps whose major coordinate lies outside `box` are
// skipped without walking them, so far-away end points cost nothing.
// Step i of a line with major extent d and minor extent e has taken
// floor((2ei + d - 1) / 2d) minor steps, which is what the incremental
// error term of the classic loop yields.
template <class F> void ForEachLinePixel(POINT a, POINT b, const RECT& box, F&& plot) {
  const int64_t dx = std::abs(int64_t(b.x) - a.x), dy = std::abs(int64_t(b.y) - a.y);
  const int sx = b.x >= a.x ? 1 : -1, sy = b.y >= a.y ? 1 : -1;
  const bool xMajor = dx >= dy;
  const int64_t d = xMajor ? dx : dy, e = xMajor ? dy : dx;
  int64_t first = 0, last = 0;
  if (xMajor)
    StepRange(a.x, sx, d, box.left, box.right, first, last);
  else
    StepRange(a.y, sy, d, box.top, box.bottom, first, last);
  if (first >= last) return;
  int64_t minor = (2 * e * first + d - 1) / (2 * d);
  int64_t err = 2 * e * (first + 1) - d - 2 * d * minor;
  for (int64_t i = first; i < last; ++i) {
    const int64_t major = i;
    const int x = int(xMajor ? a.x + sx * major : a.x + sx * minor);
    const int y = int(xMajor ? a.y + sy * minor : a.y + sy * major);
    plot(x, y, i);
    if (err > 0) {
      ++minor;
      err -= 2 * d;
    }
    err += 2 * e;
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
    ForEachLinePixel(a, b, painter.ClipBox(),
                     [&](int x, int y, int64_t) { painter.Plot(x, y, color); });
    return;
  }
  // Gaps of a styled pen show the background colour in opaque mode.
  const bool opaque = dc->state.bkMode == OPAQUE;
  const Pixel gap = PixelFromColorRef(dc->state.bkColor);
  // The pattern runs along the whole line, clipped parts included.
  const int period = dash.on + dash.off;
  const int start = phase;
  ForEachLinePixel(a, b, painter.ClipBox(), [&](int x, int y, int64_t step) {
    if ((start + step) % period < dash.on)
      painter.Plot(x, y, color);
    else if (opaque)
      painter.Plot(x, y, gap);
  });
  const int64_t steps = std::max(std::abs(int64_t(b.x) - a.x), std::abs(int64_t(b.y) - a.y));
  phase = int((start + steps) % period);
}

// The union of rows [lo, hi), merged pairwise so the work stays n log n.
Region UnionOfRows(const std::vector<RECT>& rows, size_t lo, size_t hi) {
  if (hi - lo == 1) return Region(rows[lo]);
  if (hi == lo) return Region();
  const size_t mid = lo + (hi - lo) / 2;
  Region out;
  out.Combine(UnionOfRows(rows, lo, mid), UnionOfRows(rows, mid, hi), RGN_OR);
  return out;
}

// A rectangle whose corners are quarter ellipses of radii rx, ry (in target
// coordinates), as a region of the pixels whose centres lie inside.  Only
// the part within `limit` is computed.
Region RoundedRegion(RECT r, double rx, double ry, const RECT& limit) {
  std::vector<RECT> rows;
  const double lc = r.left + rx, rc = r.right - rx;
  const double tc = r.top + ry, bc = r.bottom - ry;
  const int top = std::max(r.top, limit.top), bottom = std::min(r.bottom, limit.bottom);
  for (int y = top; y < bottom; ++y) {
    const double yc = y + 0.5;
    double d = 0;
    if (yc < tc && ry > 0)
      d = (tc - yc) / ry;
    else if (yc > bc && ry > 0)
      d = (yc - bc) / ry;
    if (d >= 1) continue;
    const double hw = rx * std::sqrt(1 - d * d);
    const int x0 = std::max(int(std::floor(lc - hw - 0.5)) + 1, limit.left);
    const int x1 = std::min(int(std::ceil(rc + hw - 0.5)), limit.right);
    if (x1 > x0) rows.push_back(RECT{x0, y, x1, y + 1});
  }
  return UnionOfRows(rows, 0, rows.size());
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

int PenWidth(HPEN pen) {
  return pen->style == PS_NULL ? 0 : pen->width;
}

// The area a shape must be computed in so that its outline is right inside
// the clip: the clip box widened by the pen.
RECT ShapeLimit(const Painter& painter, int penWidth) {
  RECT limit = painter.ClipBox();
  InflateRect(limit, penWidth + 1, penWidth + 1);
  return limit;
}

// Fills a region shape with the brush and outlines it inward with the pen.
BOOL DrawRegionShape(HDC dc, Painter& painter, const Region& shape) {
  HPEN pen = CurrentPen(dc);
  HBRUSH brush = CurrentBrush(dc);
  const int w = PenWidth(pen);
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
  PenSegment(dc, painter, CurrentPen(dc), painter.ToTarget(from.x, from.y), painter.ToTarget(x, y),
             phase);
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
  for (int i = 0; i < count; ++i)
    target[size_t(i)] = painter.ToTarget(points[i].x, points[i].y);
  HBRUSH brush = CurrentBrush(dc);
  if (brush->style != BS_NULL) {
    Region fill;
    fill.SetPolygon(target.data(), count, dc->state.polyFillMode, painter.ClipBox());
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
    for (int i = 0; i < 4; ++i)
      PenSegment(dc, painter, pen, corners[i], corners[i + 1], phase);
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
  Painter painter(dc);
  if (!painter.Ready()) return 1;
  const RECT target = painter.ToTarget(Normalized(l, t, r, b));
  const RECT limit = ShapeLimit(painter, PenWidth(CurrentPen(dc)));
  return DrawRegionShape(dc, painter,
                         RoundedRegion(target, target.Width() / 2.0, target.Height() / 2.0, limit));
}

BOOL RoundRect(HDC dc, int l, int t, int r, int b, int w, int h) {
  if (!dc) return 0;
  Painter painter(dc);
  if (!painter.Ready()) return 1;
  const RECT target = painter.ToTarget(Normalized(l, t, r, b));
  const RECT limit = ShapeLimit(painter, PenWidth(CurrentPen(dc)));
  const double rx = std::min(std::abs(double(w)), double(target.Width())) / 2.0;
  const double ry = std::min(std::abs(double(h)), double(target.Height())) / 2.0;
  return DrawRegionShape(dc, painter, RoundedRegion(target, rx, ry, limit));
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
      for (int x = piece.left; x < piece.right; ++x)
        row[x] = ~row[x] & 0x00FFFFFFu;
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
