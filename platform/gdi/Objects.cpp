// Drawing objects, stock objects, device contexts with their saved states,
// and clipping.  A context counts as a holder of every object in its current
// state and in each saved state, so an object that a RestoreDC could bring
// back is never freed under it.

#include <algorithm>
#include <limits>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Painter.h"

namespace zel::sys {
namespace {

// Large enough for any surface, small enough that offsets cannot overflow.
constexpr int kHuge = 1 << 28;
const RECT kEverything{-kHuge, -kHuge, kHuge, kHuge};

template <class T> T* MakeStock(T* obj) {
  obj->stock = true;
  return obj;
}

Brush* StockBrush(COLORREF color, int style = BS_SOLID) {
  auto* b = new Brush;
  b->color = color;
  b->style = style;
  return MakeStock(b);
}

Pen* StockPen(COLORREF color, int style = PS_SOLID) {
  auto* p = new Pen;
  p->color = color;
  p->style = style;
  return MakeStock(p);
}

Font* StockFont(int height, int weight, const char* face) {
  auto* f = new Font;
  f->logFont.lfHeight = height;
  f->logFont.lfWeight = weight;
  f->logFont.lfFaceName = face;
  return MakeStock(f);
}

// Stock objects live for the whole program; they are made on first use.
struct StockTable {
  HGDIOBJ objects[DEFAULT_GUI_FONT + 1] = {};
  HBITMAP bitmap = nullptr;
  StockTable() {
    objects[WHITE_BRUSH] = StockBrush(RGB(255, 255, 255));
    objects[LTGRAY_BRUSH] = StockBrush(RGB(192, 192, 192));
    objects[GRAY_BRUSH] = StockBrush(RGB(128, 128, 128));
    objects[DKGRAY_BRUSH] = StockBrush(RGB(64, 64, 64));
    objects[BLACK_BRUSH] = StockBrush(RGB(0, 0, 0));
    objects[NULL_BRUSH] = StockBrush(0, BS_NULL);
    objects[WHITE_PEN] = StockPen(RGB(255, 255, 255));
    objects[BLACK_PEN] = StockPen(RGB(0, 0, 0));
    objects[NULL_PEN] = StockPen(0, PS_NULL);
    objects[SYSTEM_FONT] = StockFont(16, FW_BOLD, "MS Sans Serif");
    objects[DEFAULT_GUI_FONT] = StockFont(-11, FW_NORMAL, "Tahoma");
    bitmap = MakeStock(new Bitmap);
    bitmap->surface.Resize(1, 1);
  }
  ~StockTable() {
    for (HGDIOBJ o : objects)
      delete o;
    delete bitmap;
  }
};

StockTable& Stock() {
  static StockTable table;
  return table;
}

void Retain(HGDIOBJ obj) {
  if (obj) ++obj->selected;
}
void Release(HGDIOBJ obj) {
  if (obj && obj->selected > 0) --obj->selected;
}
void Retain(const DCState& s) {
  Retain(s.pen);
  Retain(s.brush);
  Retain(s.font);
  Retain(s.bitmap);
}
void Release(const DCState& s) {
  Release(s.pen);
  Release(s.brush);
  Release(s.font);
  Release(s.bitmap);
}

// A memory context draws into whatever bitmap its state holds.
void SyncTarget(HDC dc) {
  if (dc->isMemory) dc->target = dc->state.bitmap ? &dc->state.bitmap->surface : nullptr;
}

template <class T> T* Replace(T*& slot, T* obj, T* fallback) {
  T* previous = slot ? slot : fallback;
  Retain(obj);
  Release(slot);
  slot = obj;
  return previous;
}

RegionKind ClipKind(HDC dc) {
  return dc->EffectiveClip().Kind();
}

// Clip calls take logical coordinates; the clip region is kept relative to
// the device origin, so only the viewport origin is added.
RECT LogicalToDevice(HDC dc, int l, int t, int r, int b) {
  const POINT o = dc->state.viewportOrg;
  return RECT{DC::ClampCoord(int64_t(l) + o.x), DC::ClampCoord(int64_t(t) + o.y),
              DC::ClampCoord(int64_t(r) + o.x), DC::ClampCoord(int64_t(b) + o.y)};
}

} // namespace

HPEN DefaultPen() {
  return static_cast<HPEN>(Stock().objects[BLACK_PEN]);
}
HBRUSH DefaultBrush() {
  return static_cast<HBRUSH>(Stock().objects[WHITE_BRUSH]);
}
HFONT DefaultFont() {
  return static_cast<HFONT>(Stock().objects[SYSTEM_FONT]);
}
HBITMAP DefaultBitmap() {
  return Stock().bitmap;
}

// ---- Objects --------------------------------------------------------------

HPEN CreatePen(int style, int width, COLORREF color) {
  auto* pen = new Pen;
  pen->style = style;
  // Width 0 is a one-pixel pen; widths are capped far beyond any surface.
  pen->width = std::clamp(width, 1, 1 << 12);
  pen->color = color & 0xFFFFFF;
  return pen;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto* brush = new Brush;
  brush->color = color & 0xFFFFFF;
  return brush;
}

HGDIOBJ GetStockObject(int which) {
  if (which < 0 || which > DEFAULT_GUI_FONT) return nullptr;
  return Stock().objects[which];
}

HBITMAP CreateBitmap(int width, int height, int bitsPerPixel) {
  if (width < 0 || height < 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return nullptr;
  auto* bmp = new Bitmap;
  bmp->surface.Resize(width, height);
  bmp->bitsPerPixel = bitsPerPixel;
  return bmp;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  return CreateBitmap(width, height, 32);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO& info) {
  const BITMAPINFOHEADER& h = info.bmiHeader;
  if (h.biSize < 40 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biHeight == std::numeric_limits<LONG>::min())
    return nullptr;
  return CreateBitmap(h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight, h.biBitCount);
}

BOOL DeleteObject(HGDIOBJ obj) {
  if (!obj) return 0;
  if (obj->stock) return 1;
  if (obj->selected > 0) return 0;
  delete obj;
  return 1;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj) {
  if (!dc || !obj) return nullptr;
  DCState& s = dc->state;
  switch (obj->kind) {
  case GdiKind::Pen:
    return Replace(s.pen, static_cast<HPEN>(obj), DefaultPen());
  case GdiKind::Brush:
    return Replace(s.brush, static_cast<HBRUSH>(obj), DefaultBrush());
  case GdiKind::Font:
    return Replace(s.font, static_cast<HFONT>(obj), DefaultFont());
  case GdiKind::Bitmap: {
    if (!dc->isMemory) return nullptr;
    HGDIOBJ previous = Replace(s.bitmap, static_cast<HBITMAP>(obj), DefaultBitmap());
    SyncTarget(dc);
    return previous;
  }
  case GdiKind::Region:
    // Selecting a region sets a copy of it as the clip region.
    return SelectClipRgn(dc, static_cast<HRGN>(obj)) == RGN_ERROR ? nullptr : obj;
  }
  return nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, GdiKind kind) {
  if (!dc) return nullptr;
  const DCState& s = dc->state;
  switch (kind) {
  case GdiKind::Pen:
    return CurrentPen(dc);
  case GdiKind::Brush:
    return CurrentBrush(dc);
  case GdiKind::Font:
    return s.font ? s.font : DefaultFont();
  case GdiKind::Bitmap:
    return s.bitmap ? s.bitmap : (dc->isMemory ? DefaultBitmap() : nullptr);
  case GdiKind::Region:
    return nullptr;
  }
  return nullptr;
}

int GetBitmapSize(HBITMAP bmp, SIZE& size) {
  if (!bmp) return 0;
  size = SIZE{bmp->surface.Width(), bmp->surface.Height()};
  return 1;
}

// ---- Contexts ---------------------------------------------------------------

const Region& DC::EffectiveClip() const {
  ClipCache& k = clipCache_;
  const RECT bounds = target ? target->Bounds() : RECT{};
  // Regions that are not used take no part in the comparison.
  if (k.valid && k.target == target && EqualRect(k.bounds, bounds) &&
      k.deviceOrigin.x == deviceOrigin.x && k.deviceOrigin.y == deviceOrigin.y &&
      k.hasVisRgn == hasVisRgn && (!hasVisRgn || k.visRgn == visRgn) &&
      k.hasClip == state.hasClip && (!state.hasClip || k.clipRgn == state.clipRgn))
    return k.result;
  k.valid = true;
  k.target = target;
  k.bounds = bounds;
  k.deviceOrigin = deviceOrigin;
  k.hasVisRgn = hasVisRgn;
  k.hasClip = state.hasClip;
  k.visRgn = hasVisRgn ? visRgn : Region();
  k.clipRgn = state.hasClip ? state.clipRgn : Region();
  Region& clip = k.result;
  clip.SetEmpty();
  if (!target) return clip;
  clip.SetRect(bounds);
  if (hasVisRgn) clip.Combine(clip, visRgn, RGN_AND);
  if (state.hasClip) {
    Region c = state.clipRgn;
    c.Offset(deviceOrigin.x, deviceOrigin.y);
    clip.Combine(clip, c, RGN_AND);
  }
  return clip;
}

HDC CreateCompatibleDC(HDC) {
  auto* dc = new DC;
  dc->isMemory = true;
  dc->state.bitmap = DefaultBitmap();
  Retain(dc->state.bitmap);
  SyncTarget(dc);
  return dc;
}

BOOL DeleteDC(HDC dc) {
  if (!dc) return 0;
  Release(dc->state);
  for (const DCState& s : dc->saved)
    Release(s);
  delete dc;
  return 1;
}

int GetDeviceCaps(HDC dc, int index) {
  if (!dc) return 0;
  switch (index) {
  case BITSPIXEL:
    return 32;
  case PLANES:
    return 1;
  case NUMCOLORS:
    return -1;
  case LOGPIXELSX:
  case LOGPIXELSY:
    return 96;
  default:
    return 0;
  }
}

int SaveDC(HDC dc) {
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  Retain(dc->saved.back());
  return int(dc->saved.size());
}

BOOL RestoreDC(HDC dc, int level) {
  if (!dc || level == 0) return 0;
  const int depth = int(dc->saved.size());
  const int n = level < 0 ? depth + level + 1 : level;
  if (n < 1 || n > depth) return 0;
  Release(dc->state);
  for (int i = depth - 1; i >= n; --i)
    Release(dc->saved[size_t(i)]);
  dc->state = std::move(dc->saved[size_t(n - 1)]); // its holds pass to the state
  dc->saved.resize(size_t(n - 1));
  SyncTarget(dc);
  return 1;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  const COLORREF old = dc->state.textColor;
  dc->state.textColor = color & 0xFFFFFF;
  return old;
}
COLORREF GetTextColor(HDC dc) {
  return dc ? dc->state.textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  const COLORREF old = dc->state.bkColor;
  dc->state.bkColor = color & 0xFFFFFF;
  return old;
}
COLORREF GetBkColor(HDC dc) {
  return dc ? dc->state.bkColor : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int old = dc->state.bkMode;
  dc->state.bkMode = mode;
  return old;
}
int GetBkMode(HDC dc) {
  return dc ? dc->state.bkMode : 0;
}

int SetStretchBltMode(HDC dc, int mode) {
  if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  const int old = dc->state.stretchMode;
  dc->state.stretchMode = mode;
  return old;
}

int SetPolyFillMode(HDC dc, int mode) {
  if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
  const int old = dc->state.polyFillMode;
  dc->state.polyFillMode = mode;
  return old;
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old) {
  if (!dc) return 0;
  if (old) *old = dc->state.viewportOrg;
  dc->state.viewportOrg = POINT{DC::ClampCoord(x), DC::ClampCoord(y)};
  return 1;
}

BOOL GetViewportOrgEx(HDC dc, POINT* org) {
  if (!dc || !org) return 0;
  *org = dc->state.viewportOrg;
  return 1;
}

BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old) {
  if (!dc) return 0;
  if (old) *old = dc->state.viewportOrg;
  POINT& o = dc->state.viewportOrg;
  o = POINT{DC::ClampCoord(int64_t(o.x) + dx), DC::ClampCoord(int64_t(o.y) + dy)};
  return 1;
}

// ---- Regions and clipping -------------------------------------------------

HRGN CreateRectRgn(int l, int t, int r, int b) {
  auto* rgn = new RegionObject;
  // Reversed corners describe the same rectangle.
  rgn->region.SetRect(RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)});
  return rgn;
}

HRGN CreateRectRgnIndirect(const RECT& r) {
  return CreateRectRgn(r.left, r.top, r.right, r.bottom);
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  auto* rgn = new RegionObject;
  rgn->region.SetPolygon(points, count, fillMode);
  return rgn;
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
  if (!dst || !a || (mode != RGN_COPY && !b)) return RGN_ERROR;
  return dst->region.Combine(a->region, mode == RGN_COPY ? a->region : b->region, mode);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  if (!rgn) return RGN_ERROR;
  rgn->region.Offset(DC::ClampCoord(dx), DC::ClampCoord(dy));
  return rgn->region.Kind();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  return rgn && rgn->region.Contains(x, y) ? 1 : 0;
}

int GetRgnBox(HRGN rgn, RECT* box) {
  if (!rgn || !box) return RGN_ERROR;
  *box = rgn->region.Box();
  return rgn->region.Kind();
}

BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush) {
  if (!dc || !rgn || !brush) return 0;
  if (brush->style == BS_NULL) return 1;
  Painter painter(dc);
  const POINT o = dc->ToTarget(0, 0);
  Region r = rgn->region;
  r.Offset(o.x, o.y);
  painter.Fill(r, PixelFromColorRef(brush->color));
  return 1;
}

BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h) {
  if (!dc || !rgn || !brush || w < 0 || h < 0) return 0;
  w = std::min(w, 1 << 16);
  h = std::min(h, 1 << 16);
  // The frame is the region minus its interior: the pixels that stay inside
  // when the region is shifted w to either side and h up and down.
  const Region& src = rgn->region;
  Region inner = src;
  const POINT shifts[4] = {{w, 0}, {-w, 0}, {0, h}, {0, -h}};
  for (const POINT& s : shifts) {
    Region moved = src;
    moved.Offset(s.x, s.y);
    inner.Combine(inner, moved, RGN_AND);
  }
  RegionObject frame;
  frame.region.Combine(src, inner, RGN_DIFF);
  return FillRgn(dc, &frame, brush);
}

int SelectClipRgn(HDC dc, HRGN rgn) {
  if (!dc) return RGN_ERROR;
  if (!rgn) {
    dc->state.hasClip = false;
    dc->state.clipRgn.SetEmpty();
  } else {
    dc->state.hasClip = true;
    dc->state.clipRgn = rgn->region;
  }
  return ClipKind(dc);
}

int ExcludeClipRect(HDC dc, int l, int t, int r, int b) {
  if (!dc) return RGN_ERROR;
  if (!dc->state.hasClip) {
    dc->state.clipRgn.SetRect(kEverything);
    dc->state.hasClip = true;
  }
  dc->state.clipRgn.Exclude(LogicalToDevice(dc, l, t, r, b));
  return ClipKind(dc);
}

int IntersectClipRect(HDC dc, int l, int t, int r, int b) {
  if (!dc) return RGN_ERROR;
  const RECT rect = LogicalToDevice(dc, l, t, r, b);
  if (!dc->state.hasClip) {
    dc->state.clipRgn.SetRect(rect);
    dc->state.hasClip = true;
  } else {
    dc->state.clipRgn.Intersect(rect);
  }
  return ClipKind(dc);
}

int GetClipBox(HDC dc, RECT* box) {
  if (!dc || !box) return RGN_ERROR;
  const Region& clip = dc->EffectiveClip();
  if (clip.IsEmpty()) {
    *box = RECT{};
    return NULLREGION;
  }
  *box = clip.Box();
  const POINT o = dc->ToTarget(0, 0);
  OffsetRect(*box, -o.x, -o.y);
  return clip.Kind();
}

BOOL RectVisible(HDC dc, const RECT& r) {
  if (!dc) return 0;
  const POINT o = dc->ToTarget(0, 0);
  RECT t = r;
  OffsetRect(t, o.x, o.y);
  const Region& clip = dc->EffectiveClip();
  for (const RECT& c : clip.Rects()) {
    RECT piece;
    if (IntersectRect(piece, t, c)) return 1;
  }
  return 0;
}

// ---- Filling ----------------------------------------------------------------

int FillRect(HDC dc, const RECT& r, HBRUSH brush) {
  if (!dc || !brush) return 0;
  if (brush->style == BS_NULL) return 1;
  Painter painter(dc);
  painter.Fill(painter.ToTarget(r), PixelFromColorRef(brush->color));
  return 1;
}

void FillTargetRect(HDC dc, const RECT& targetRect, COLORREF color) {
  if (!dc) return;
  Painter painter(dc);
  painter.Fill(targetRect, PixelFromColorRef(color));
}

} // namespace zel::sys
