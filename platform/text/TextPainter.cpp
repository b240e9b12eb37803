#include "platform/text/TextPainter.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zel::sys {

TextPainter::TextPainter(HDC dc, const RECT* logicalClip)
    : dc_(dc), target_(dc ? dc->target : nullptr) {
  if (!target_ || target_->Empty()) return;
  const Region& region = dc->EffectiveClip();
  RECT extra = target_->Bounds();
  if (logicalClip) {
    const POINT o = dc->ToTarget(0, 0);
    RECT c = *logicalClip;
    OffsetRect(c, o.x, o.y);
    if (!IntersectRect(extra, extra, c)) return;
  }
  for (const RECT& r : region.Rects()) {
    RECT part;
    if (IntersectRect(part, r, extra)) clip_.push_back(part);
  }
}

void TextPainter::FillTargetRect(RECT r, Pixel pixel) {
  for (const RECT& c : clip_) {
    RECT part;
    if (!IntersectRect(part, r, c)) continue;
    for (int y = part.top; y < part.bottom; ++y) {
      Pixel* row = target_->Row(y);
      std::fill(row + part.left, row + part.right, pixel);
    }
  }
}

void TextPainter::FillLogicalRect(const RECT& r, COLORREF color) {
  if (clip_.empty() || IsRectEmpty(r)) return;
  const POINT t = dc_->ToTarget(0, 0);
  RECT target = r;
  OffsetRect(target, t.x, t.y);
  FillTargetRect(target, PixelFromColorRef(color, 0));
}

void TextPainter::BlendMask(int x, int y, int width, int height, const uint8_t* coverage, int pitch,
                            COLORREF color) {
  const RECT box{x, y, x + width, y + height};
  const uint32_t srcRB = (uint32_t(GetRValue(color)) << 16) | uint32_t(GetBValue(color));
  const uint32_t srcG = uint32_t(GetGValue(color));
  for (const RECT& c : clip_) {
    RECT part;
    if (!IntersectRect(part, box, c)) continue;
    for (int py = part.top; py < part.bottom; ++py) {
      Pixel* row = target_->Row(py);
      const uint8_t* cov = coverage + size_t(py - y) * size_t(pitch);
      // Branch-free: coverage 0 gives back the pixel unchanged (alpha kept),
      // any other coverage blends and clears the alpha byte.
      for (int px = part.left; px < part.right; ++px) {
        const uint32_t a = cov[px - x];
        const Pixel d = row[px];
        const Pixel keepAlpha = (d & 0xFF000000u) & (0u - uint32_t(a == 0));
        row[px] = BlendCoverage(d, srcRB, srcG, a) | keepAlpha;
      }
    }
  }
}

void TextPainter::DrawGlyph(const Glyph& glyph, POINT origin, COLORREF color) {
  if (glyph.coverage.empty() || clip_.empty()) return;
  const POINT t = dc_->ToTarget(origin.x, origin.y);
  BlendMask(t.x + glyph.left, t.y + glyph.top, glyph.width, glyph.height, glyph.coverage.data(),
            glyph.width, color);
}

void TextPainter::FillCell(const FontFace& face, POINT anchor, int x0, int y0, int x1, int y1,
                           COLORREF color) {
  if (clip_.empty() || x1 <= x0 || y1 <= y0) return;
  const POINT t = dc_->ToTarget(anchor.x, anchor.y);
  if (face.QuarterTurn()) {
    const POINT a = face.Rotate(x0, y0), b = face.Rotate(x1, y1);
    const RECT r{t.x + std::min(a.x, b.x), t.y + std::min(a.y, b.y), t.x + std::max(a.x, b.x),
                 t.y + std::max(a.y, b.y)};
    FillTargetRect(r, PixelFromColorRef(color, 0));
    return;
  }
  // Corners turned exactly; the quad is antialiased along its slanted edges.
  const double a = face.Escapement() / 10.0 * 3.14159265358979323846 / 180.0;
  const double c = std::cos(a), s = std::sin(a);
  const int cx[4] = {x0, x1, x1, x0}, cy[4] = {y0, y0, y1, y1};
  double xs[4], ys[4];
  for (int i = 0; i < 4; ++i) {
    xs[i] = t.x + cx[i] * c + cy[i] * s;
    ys[i] = t.y - cx[i] * s + cy[i] * c;
  }
  FillQuad(xs, ys, color);
}

void TextPainter::FillQuad(const double (&xs)[4], const double (&ys)[4], COLORREF color) {
  const int left = int(std::floor(*std::min_element(xs, xs + 4)));
  const int right = int(std::ceil(*std::max_element(xs, xs + 4)));
  const int top = int(std::floor(*std::min_element(ys, ys + 4)));
  const int bottom = int(std::ceil(*std::max_element(ys, ys + 4)));
  const int width = right - left, height = bottom - top;
  if (width <= 0 || height <= 0 || width > 100000 || height > 100000) return;
  std::vector<uint8_t> mask(size_t(width) * size_t(height), 0);

  // FreeType's outline coordinates run upwards; the bitmap's first row is
  // its top, so y is flipped against the mask's height.
  FT_Vector points[4];
  char tags[4];
  for (int i = 0; i < 4; ++i) {
    points[i].x = FT_Pos(std::lround((xs[i] - left) * 64.0));
    points[i].y = FT_Pos(std::lround((bottom - ys[i]) * 64.0));
    tags[i] = FT_CURVE_TAG_ON;
  }
  short contour = 3;
  FT_Outline outline{};
  outline.n_points = 4;
  outline.n_contours = 1;
  outline.points = points;
  outline.tags = tags;
  outline.contours = &contour;
  outline.flags = FT_OUTLINE_NONE;
  FT_Bitmap bitmap{};
  bitmap.rows = unsigned(height);
  bitmap.width = unsigned(width);
  bitmap.pitch = width;
  bitmap.buffer = mask.data();
  bitmap.num_grays = 256;
  bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
  auto library = FreeTypeLibrary::Shared();
  if (!library->Ok()) return;
  if (FT_Outline_Get_Bitmap(static_cast<FT_Library>(library->Handle()), &outline, &bitmap) != 0)
    return;
  BlendMask(left, top, width, height, mask.data(), width, color);
}

std::vector<int> RunAdvances(FontFace& face, std::u32string_view text) {
  std::vector<int> advances(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    advances[i] = face.Advance(text[i]);
  return advances;
}

void DrawRun(TextPainter& painter, HDC dc, FontFace& face, int x, int y, std::u32string_view text,
             std::span<const int> advances, const RunOptions& options) {
  if (painter.NothingVisible() || !Reasonable(x) || !Reasonable(y)) return;
  const TEXTMETRIC& tm = face.Metrics();
  int width = 0;
  for (int a : advances)
    width = AddWidth(width, a);
  const POINT anchor{x, y};
  if (options.opaque) painter.FillCell(face, anchor, 0, 0, width, tm.tmHeight, dc->state.bkColor);

  const COLORREF color = dc->state.textColor;
  int pen = 0;
  for (size_t i = 0; i < text.size() && i < advances.size(); ++i) {
    const char32_t cp = text[i];
    if (!(options.skipTabs && cp == U'\t')) {
      const POINT offset = face.Rotate(pen, int(tm.tmAscent));
      painter.DrawGlyph(face.GlyphFor(cp), POINT{x + offset.x, y + offset.y}, color);
    }
    if (int(i) == options.prefixIndex) {
      const LineMetrics& lines = face.Lines();
      painter.FillCell(face, anchor, pen, lines.underlineTop, pen + advances[i],
                       lines.underlineTop + lines.underlineThickness, color);
    }
    pen = AddWidth(pen, advances[i]);
  }
  const LineMetrics& lines = face.Lines();
  if (face.Underline())
    painter.FillCell(face, anchor, 0, lines.underlineTop, width,
                     lines.underlineTop + lines.underlineThickness, color);
  if (face.StrikeOut())
    painter.FillCell(face, anchor, 0, lines.strikeTop, width,
                     lines.strikeTop + lines.strikeThickness, color);
}

} // namespace zel::sys
