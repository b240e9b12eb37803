#pragma once
// Drawing objects, device contexts and the drawing calls.  Handles are plain
// pointers to the objects below; an object is freed by DeleteObject (or by a
// UniqueGdi holder), a memory context by DeleteDC, a window context by
// ReleaseDC.  Coordinates given to a call are logical: the viewport origin and
// the context's device origin are added to reach the target surface.
//
// The alpha byte of 32-bit targets: ordinary drawing calls (fills, shapes,
// lines, pixels, gradients, raster operations other than copies) write
// alpha 0; BitBlt/StretchBlt with SRCCOPY and TransparentBlt copy all four
// bytes of the source; SetDIBits and GetDIBits exchange a 32-bit buffer's
// alpha byte verbatim with a 32-bit bitmap (a 24-bit bitmap keeps alpha 0).

#include <memory>
#include <vector>

#include "platform/Types.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"

namespace zel::sys {

class FontFace; // platform/text: a resolved, rasterisable face at one size

enum class GdiKind { Pen, Brush, Font, Bitmap, Region };

struct GdiObject {
  explicit GdiObject(GdiKind k) : kind(k) {}
  virtual ~GdiObject() = default;
  GdiKind kind;
  bool stock = false;  // stock objects ignore DeleteObject
  int selected = 0;    // how many contexts have it selected; such an object is not deleted
};

struct Pen : GdiObject {
  Pen() : GdiObject(GdiKind::Pen) {}
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct Brush : GdiObject {
  Brush() : GdiObject(GdiKind::Brush) {}
  int style = BS_SOLID;
  COLORREF color = 0;
};

struct Font : GdiObject {
  Font() : GdiObject(GdiKind::Font) {}
  LOGFONT logFont;
  std::shared_ptr<FontFace> face; // resolved on first use by the text layer
};

// A device-dependent bitmap: its pixels live in a surface.  bitsPerPixel is
// 24 or 32; 24-bit bitmaps keep their alpha byte at zero.
struct Bitmap : GdiObject {
  Bitmap() : GdiObject(GdiKind::Bitmap) {}
  Surface surface;
  int bitsPerPixel = 32;
};

struct RegionObject : GdiObject {
  RegionObject() : GdiObject(GdiKind::Region) {}
  Region region;
};

using HGDIOBJ = GdiObject*;
using HPEN = Pen*;
using HBRUSH = Brush*;
using HFONT = Font*;
using HBITMAP = Bitmap*;
using HRGN = RegionObject*;

struct DC;
using HDC = DC*;

// The state SaveDC keeps and RestoreDC brings back.
struct DCState {
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  HBITMAP bitmap = nullptr;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int stretchMode = COLORONCOLOR;
  int polyFillMode = ALTERNATE;
  POINT viewportOrg{};
  POINT currentPos{};
  bool hasClip = false;
  Region clipRgn; // device coordinates (relative to the device origin)
};

// A device context draws into a target surface.  A memory context's target
// is its selected bitmap's surface; a window context (made by the window
// system) targets the top-level window's surface, with the device origin at
// the window's corner and the visible region limiting every pixel.
struct DC {
  DCState state;
  std::vector<DCState> saved;
  Surface* target = nullptr;
  POINT deviceOrigin{};   // device (0,0) on the target surface
  bool hasVisRgn = false; // in target coordinates
  Region visRgn;
  bool isMemory = true;
  void* window = nullptr; // the window of a window context, for ReleaseDC

  // The region every pixel drawn must lie in, in target coordinates: the
  // target's bounds, the visible region and the clip region.  A window
  // context draws many times with the same regions, so the result is kept
  // and made again only when one of its parts differs from last time
  // (comparing them costs far less than combining them).
  const Region& EffectiveClip() const;
  // Logical to target coordinates.  Results are kept within +-2^29 so that
  // absurd coordinates cannot overflow the arithmetic that follows.
  POINT ToTarget(int x, int y) const {
    return POINT{ClampCoord(int64_t(x) + state.viewportOrg.x + deviceOrigin.x),
                 ClampCoord(int64_t(y) + state.viewportOrg.y + deviceOrigin.y)};
  }
  static constexpr int kCoordLimit = 1 << 29;
  static int ClampCoord(int64_t v) {
    return int(v < -kCoordLimit ? -kCoordLimit : v > kCoordLimit ? kCoordLimit : v);
  }

private:
  // What the kept effective clip was made of, and the clip itself.
  struct ClipCache {
    bool valid = false;
    const Surface* target = nullptr;
    RECT bounds{};
    POINT deviceOrigin{};
    bool hasVisRgn = false;
    Region visRgn;
    bool hasClip = false;
    Region clipRgn;
    Region result;
  };
  mutable ClipCache clipCache_;
};

// Owns a drawing object and deletes it on scope exit.
template <class H> class UniqueGdi {
public:
  UniqueGdi() = default;
  explicit UniqueGdi(H h) : h_(h) {}
  UniqueGdi(UniqueGdi&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  UniqueGdi& operator=(UniqueGdi&& o) noexcept;
  ~UniqueGdi();
  H get() const { return h_; }
  operator H() const { return h_; }
  H release() { H h = h_; h_ = nullptr; return h; }
  void reset(H h = nullptr);

private:
  H h_ = nullptr;
};

// ---- Objects --------------------------------------------------------------
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HGDIOBJ GetStockObject(int which);
HBITMAP CreateBitmap(int width, int height, int bitsPerPixel); // zero-filled
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height); // 32 bits
// A DIB section: a bitmap whose pixels are given by a header (24 or 32 bits).
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO& info);
BOOL DeleteObject(HGDIOBJ obj); // FALSE for a selected object or nullptr
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj); // returns the previous object
HGDIOBJ GetCurrentObject(HDC dc, GdiKind kind);
int GetBitmapSize(HBITMAP bmp, SIZE& size);

// ---- Contexts ---------------------------------------------------------------
HDC CreateCompatibleDC(HDC dc); // a memory context with a 1 x 1 bitmap selected
BOOL DeleteDC(HDC dc);
// Every context draws with 32 bits per pixel in one plane at 96 pixels per
// inch (NUMCOLORS: -1, more than a palette holds); other indexes and a null
// context give 0.
int GetDeviceCaps(HDC dc, int index);
int SaveDC(HDC dc);              // returns the new save level (1, 2, ...)
BOOL RestoreDC(HDC dc, int level); // negative: relative to the current level
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int SetPolyFillMode(HDC dc, int mode);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* org);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old);

// ---- Regions and clipping -------------------------------------------------
HRGN CreateRectRgn(int l, int t, int r, int b);
HRGN CreateRectRgnIndirect(const RECT& r);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL PtInRegion(HRGN rgn, int x, int y);
int GetRgnBox(HRGN rgn, RECT* box);
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h);
int SelectClipRgn(HDC dc, HRGN rgn); // nullptr removes the clip; the region is copied
int ExcludeClipRect(HDC dc, int l, int t, int r, int b);
int IntersectClipRect(HDC dc, int l, int t, int r, int b);
int GetClipBox(HDC dc, RECT* box); // logical coordinates
BOOL RectVisible(HDC dc, const RECT& r);

// ---- Shapes -----------------------------------------------------------------
BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
BOOL LineTo(HDC dc, int x, int y); // the end point is not drawn
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL Rectangle(HDC dc, int l, int t, int r, int b);
BOOL Ellipse(HDC dc, int l, int t, int r, int b);
BOOL RoundRect(HDC dc, int l, int t, int r, int b, int w, int h);
int FillRect(HDC dc, const RECT& r, HBRUSH brush);
int FrameRect(HDC dc, const RECT& r, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT& r);
BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y); // CLR_INVALID outside the clip

// ---- Gradients and blits ------------------------------------------------------
BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, UINT vertexCount, const void* mesh,
                  UINT meshCount, DWORD mode);
BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                DWORD rop);
// Copies every source pixel whose colour is not the key.
BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                    COLORREF key);

// ---- DIB exchange -------------------------------------------------------------
// Reads rows [start, start + lines) of the bitmap in the format of info (24 or
// 32 bits; rows bottom-up for a positive height).  With bits == nullptr only
// fills in the header's size fields.  Returns the number of rows copied.
int GetDIBits(HDC dc, HBITMAP bmp, UINT start, UINT lines, void* bits, BITMAPINFO* info,
              UINT usage);
int SetDIBits(HDC dc, HBITMAP bmp, UINT start, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage);
int SetDIBitsToDevice(HDC dc, int x, int y, DWORD w, DWORD h, int sx, int sy, UINT start,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);

// ---- Direct access for the platform's own layers -----------------------------
// Fills a span of target pixels; every drawing call funnels through the
// clipped primitives below so that clipping is decided in one place.
void FillTargetRect(HDC dc, const RECT& targetRect, COLORREF color);

template <class H> UniqueGdi<H>& UniqueGdi<H>::operator=(UniqueGdi&& o) noexcept {
  if (this != &o) { reset(o.h_); o.h_ = nullptr; }
  return *this;
}
template <class H> UniqueGdi<H>::~UniqueGdi() { reset(); }
template <class H> void UniqueGdi<H>::reset(H h) {
  if (h_) DeleteObject(h_);
  h_ = h;
}

} // namespace zel::sys
