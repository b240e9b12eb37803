#pragma once
// The clipped pixel writer every drawing call of the layer goes through.  It
// resolves a context's target and effective clip once per call, so that the
// per-pixel work stays a bounds check and a store.

#include <algorithm>
#include <cstring>

#include "platform/gdi/Gdi.h"

namespace zel::sys {

// The stock objects a context uses when nothing has been selected.
HPEN DefaultPen();
HBRUSH DefaultBrush();
HFONT DefaultFont();
HBITMAP DefaultBitmap();

inline HPEN CurrentPen(HDC dc) {
  return dc->state.pen ? dc->state.pen : DefaultPen();
}
inline HBRUSH CurrentBrush(HDC dc) {
  return dc->state.brush ? dc->state.brush : DefaultBrush();
}

class Painter {
public:
  explicit Painter(HDC dc) : dc_(dc) {
    if (!dc || !dc->target || dc->target->Empty()) return;
    target_ = dc->target;
    if (!dc->hasVisRgn && !dc->state.hasClip) {
      // The common case needs no region at all: the surface is the clip.
      box_ = target_->Bounds();
      simple_ = true;
      return;
    }
    clip_ = dc->EffectiveClip();
    box_ = clip_.Box();
    simple_ = clip_.Rects().size() == 1;
  }
  // False when there is nowhere to draw (no target or everything clipped).
  bool Ready() const { return target_ != nullptr && !IsRectEmpty(box_); }
  Surface& Target() const { return *target_; }
  const RECT& ClipBox() const { return box_; }
  POINT ToTarget(int x, int y) const { return dc_->ToTarget(x, y); }
  RECT ToTarget(const RECT& r) const {
    const POINT a = dc_->ToTarget(r.left, r.top);
    const POINT b = dc_->ToTarget(r.right, r.bottom);
    return RECT{a.x, a.y, b.x, b.y};
  }
  // The target rectangle at logical (x, y) with a signed extent; negative
  // extents reach left or up from the corner.
  RECT ToTarget(int x, int y, int64_t w, int64_t h) const {
    const POINT a = ToTarget(x, y);
    const int bx = DC::ClampCoord(a.x + w), by = DC::ClampCoord(a.y + h);
    return RECT{std::min(a.x, bx), std::min(a.y, by), std::max(a.x, bx), std::max(a.y, by)};
  }

  bool Visible(int x, int y) const {
    if (x < box_.left || x >= box_.right || y < box_.top || y >= box_.bottom) return false;
    return simple_ || clip_.Contains(x, y);
  }
  // Writes one target pixel when it lies inside the clip.
  void Plot(int x, int y, Pixel p) {
    if (Visible(x, y)) target_->At(x, y) = p;
  }
  // Calls f(RECT) for each piece of r (target coordinates) inside the clip.
  template <class F> void ForEachPiece(const RECT& r, F&& f) const {
    if (!Ready()) return;
    RECT inBox;
    if (!IntersectRect(inBox, r, box_)) return;
    if (simple_) {
      f(inBox);
      return;
    }
    for (const RECT& c : clip_.Rects()) {
      if (c.top >= inBox.bottom) break;
      RECT piece;
      if (IntersectRect(piece, inBox, c)) f(piece);
    }
  }
  // Fills r (target coordinates) with one pixel value, row by row.
  void Fill(const RECT& r, Pixel p) {
    ForEachPiece(r, [&](const RECT& piece) {
      if (piece.left == 0 && piece.right == target_->Width()) {
        // Whole rows are one contiguous run: a single fill.
        Pixel* first = target_->Row(piece.top);
        std::fill(first, first + size_t(piece.Height()) * size_t(piece.Width()), p);
        return;
      }
      // Fill one row, then copy it: a block copy beats a fill loop that
      // restarts on every short row.
      Pixel* first = target_->Row(piece.top) + piece.left;
      std::fill(first, first + piece.Width(), p);
      const size_t bytes = size_t(piece.Width()) * sizeof(Pixel);
      for (int y = piece.top + 1; y < piece.bottom; ++y)
        std::memcpy(target_->Row(y) + piece.left, first, bytes);
    });
  }
  // Fills every rectangle of a region given in target coordinates.
  void Fill(const Region& rgn, Pixel p) {
    for (const RECT& r : rgn.Rects())
      Fill(r, p);
  }

private:
  HDC dc_;
  Surface* target_ = nullptr;
  Region clip_;
  RECT box_{};
  bool simple_ = false; // the clip is the box alone; clip_ may be left empty
};

} // namespace zel::sys
