// TCustomDockFormZel: the self-painted non-client area of a floating form
// (frame, gradient caption bar, close cross) with its hit testing, and the
// rounded gradient box that the caption and the dock grabbers share.
//
// The caption is composed in one bitmap that every such form shares and
// copied in one block, so it never flickers.  Close cross:
//   press on the cross            -> pressed, drawn one pixel right and down
//   release over the cross        -> SC_CLOSE posted
//   release elsewhere, any press  -> nothing closes; pressed is cleared

#include "docking/DockForms.h"

#include <algorithm>
#include <memory>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"
#include "platform/text/Utf8.h"
#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemParams.h"
#include "platform/user/Window.h"

namespace zel {

using namespace sys;

namespace {

std::unique_ptr<TBitmap> gCaptionBitmap;
int gDockFormCount = 0;
constexpr size_t kMaxCaptionChars = 511;

// A GDI object selected into a context for one scope.
class TSelected {
public:
  TSelected(HDC dc, HGDIOBJ obj) : FDC(dc), FObj(obj), FOld(SelectObject(dc, obj)) {}
  ~TSelected() {
    SelectObject(FDC, FOld);
    DeleteObject(FObj);
  }
  TSelected(const TSelected&) = delete;
  TSelected& operator=(const TSelected&) = delete;

private:
  HDC FDC;
  HGDIOBJ FObj, FOld;
};

TRIVERTEX Vertex(int x, int y, COLORREF c) {
  TRIVERTEX v;
  v.x = x;
  v.y = y;
  v.Red = COLOR16(GetRValue(c) << 8);
  v.Green = COLOR16(GetGValue(c) << 8);
  v.Blue = COLOR16(GetBValue(c) << 8);
  v.Alpha = 0;
  return v;
}

// The caption text: the window text, at most 511 characters.
std::string CaptionText(HWND h) {
  std::u32string text = DecodeUtf8(GetWindowText(h));
  if (text.size() > kMaxCaptionChars) text.resize(kMaxCaptionChars);
  return EncodeUtf8(text);
}

LOGFONT SmallCaptionFont() {
  NONCLIENTMETRICS m;
  if (SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) return m.lfSmCaptionFont;
  // Without the system's metrics the framework's default caption font.
  return GetNonClientMetrics().lfSmCaptionFont;
}

} // namespace

// ---- DrawGradientBox -------------------------------------------------------------------

void DrawGradientBox(HDC dc, const RECT& r, int k, bool vertical, TColor outline, TColor first,
                     TColor second) {
  const int L = r.left, T = r.top, R = r.right, B = r.bottom;
  const COLORREF c1 = COLORREF(ColorToRGB(first));
  COLORREF c2 = COLORREF(ColorToRGB(second));
  // A device of fewer than 16 bits cannot show a gradient: one colour then.
  if (GetDeviceCaps(dc, BITSPIXEL) < 16) c2 = c1;
  const RECT inner{L + 1, T + 1, R - 1, B - 1};
  if (inner.left < inner.right && inner.top < inner.bottom) {
    if (c1 == c2) {
      HBRUSH brush = CreateSolidBrush(c1);
      FillRect(dc, inner, brush);
      DeleteObject(brush);
    } else {
      const TRIVERTEX v[2] = {Vertex(inner.left, inner.top, c1),
                              Vertex(inner.right, inner.bottom, c2)};
      GRADIENT_RECT mesh{0, 1};
      GradientFill(dc, v, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    }
  }
  if (outline == clNone) return;
  COLORREF line;
  if (outline == clDefault)
    line = RGB((GetRValue(c1) + GetRValue(c2)) / 3, (GetGValue(c1) + GetGValue(c2)) / 3,
               (GetBValue(c1) + GetBValue(c2)) / 3);
  else
    line = COLORREF(ColorToRGB(outline));
  const POINT pts[9] = {{L + k, T},         {R - k - 1, T},     {R - 1, T + k},
                        {R - 1, B - k - 1}, {R - k - 1, B - 1}, {L + k, B - 1},
                        {L, B - k - 1},     {L, T + k},         {L + k, T}};
  TSelected pen(dc, CreatePen(PS_SOLID, 1, line));
  Polyline(dc, pts, 9);
}

// ---- Shared caption bitmap ----------------------------------------------------------

int DockFormCount() {
  return gDockFormCount;
}

TBitmap* DockCaptionBitmap() {
  return gCaptionBitmap.get();
}

void FreeDockCaptionBitmap() {
  gCaptionBitmap.reset();
}

// ---- Geometry ----------------------------------------------------------------------------

TDockCaptionRects GetCaptionRects(int W, int H, int w, int h, bool hasSysMenu, POINT cursor) {
  TDockCaptionRects g;
  const int b = (W - w) / 2;
  const int t = H - h - b;
  g.Client = RECT{b, t, b + w, t + h};
  g.Caption = RECT{b, b, W - b, t - 1};
  if (hasSysMenu) {
    const RECT& c = g.Caption;
    const int ch = c.bottom - c.top;
    g.Close = RECT{std::max(c.left, c.right - 2 - ch), c.top, c.right - 2, c.bottom};
  }
  g.Cursor = cursor;
  return g;
}

// ---- TCustomDockFormZel ------------------------------------------------------------------

TCustomDockFormZel::TCustomDockFormZel(TComponent* owner) : TCustomDockFormEx(owner) {
  SetCtl3D(false);
  SetColor(clBtnFace);
  ++gDockFormCount;
}

TCustomDockFormZel::~TCustomDockFormZel() {
  if (gDockFormCount > 0) --gDockFormCount;
  if (gDockFormCount == 0) FreeDockCaptionBitmap();
}

TDockCaptionRects TCustomDockFormZel::GetCaptionRects() {
  RECT wr{}, cr{};
  POINT cursor{};
  bool sysMenu = false;
  if (HandleAllocated()) {
    GetWindowRect(Handle(), &wr);
    GetClientRect(Handle(), &cr);
    sysMenu = (GetWindowLong(Handle(), GWL_STYLE) & WS_SYSMENU) != 0;
  }
  GetCursorPos(&cursor);
  cursor.x -= wr.left;
  cursor.y -= wr.top;
  return zel::GetCaptionRects(wr.Width(), wr.Height(), cr.Width(), cr.Height(), sysMenu, cursor);
}

void TCustomDockFormZel::RepaintFrame() {
  if (HandleAllocated()) Perform(WM_NCPAINT, 1, 0);
}

void TCustomDockFormZel::WndProc(TMessage& m) {
  if (m.Msg == CM_CTL3DCHANGED) {
    // Switching between the framework's frame and the own one repaints it.
    TCustomDockFormEx::WndProc(m);
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return;
  }
  if (Ctl3D()) {
    TCustomDockFormEx::WndProc(m);
    return;
  }
  switch (m.Msg) {
  case WM_NCPAINT:
    NCPaint();
    m.Result = 0;
    return;
  case WM_NCHITTEST:
    NCHitTest(m);
    return;
  case WM_NCLBUTTONDOWN:
    TCustomDockFormEx::WndProc(m);
    // A press anywhere else forgets an earlier press on the cross.
    FClosePressed = m.WParam == WPARAM(HTSYSMENU);
    if (FClosePressed) RepaintFrame();
    return;
  case WM_NCLBUTTONUP: {
    const bool close = m.WParam == WPARAM(HTSYSMENU) && FClosePressed;
    TCustomDockFormEx::WndProc(m);
    if (close) {
      FClosePressed = false;
      RepaintFrame();
      if (HandleAllocated()) PostMessage(Handle(), WM_SYSCOMMAND, SC_CLOSE, m.LParam);
    }
    FClosePressed = false;
    return;
  }
  case WM_ACTIVATE:
    TCustomDockFormEx::WndProc(m);
    RepaintFrame();
    return;
  case WM_SETTEXT:
    TCustomDockFormEx::WndProc(m);
    if (Visible()) RepaintFrame();
    return;
  default:
    TCustomDockFormEx::WndProc(m);
    return;
  }
}

void TCustomDockFormZel::NCHitTest(TMessage& m) {
  TCustomDockFormEx::WndProc(m);
  const TDockCaptionRects g = GetCaptionRects();
  RECT wr{};
  GetWindowRect(Handle(), &wr);
  const POINT p{GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top};
  if (PtInRect(g.Caption, p)) m.Result = HTCAPTION;
  const bool inClose = PtInRect(g.Close, p);
  if (inClose) m.Result = HTSYSMENU;
  if (inClose != FCloseHot) {
    FCloseHot = inClose;
    RepaintFrame();
  }
}

void TCustomDockFormZel::NCPaint() {
  if (!HandleAllocated()) return;
  const HWND h = Handle();
  const TDockCaptionRects g = GetCaptionRects();
  RECT wr{};
  GetWindowRect(h, &wr);
  HDC dc = GetWindowDC(h);
  if (!dc) return;
  const bool active = Active();
  try {
    SaveDC(dc);
    ExcludeClipRect(dc, g.Client.left, g.Client.top, g.Client.right, g.Client.bottom);
    ExcludeClipRect(dc, g.Caption.left, g.Caption.top, g.Caption.right, g.Caption.bottom);
    {
      TSelected pen(
          dc, CreatePen(PS_SOLID, 1, COLORREF(ColorToRGB(active ? clHighlight : clWindowFrame))));
      TSelected brush(dc, CreateSolidBrush(COLORREF(ColorToRGB(Color()))));
      Rectangle(dc, 0, 0, wr.Width(), wr.Height());
    }
    RestoreDC(dc, -1);
    if (g.Caption.top < g.Caption.bottom) PaintCaption(dc, g, active);
  } catch (...) {
    ReleaseDC(h, dc);
    throw;
  }
  ReleaseDC(h, dc);
}

void TCustomDockFormZel::PaintCaption(HDC dc, const TDockCaptionRects& g, bool active) {
  const int cw = g.Caption.right - g.Caption.left, ch = g.Caption.bottom - g.Caption.top;
  if (cw <= 0 || ch <= 0) return;
  if (!gCaptionBitmap) gCaptionBitmap = std::make_unique<TBitmap>();
  TBitmap& bmp = *gCaptionBitmap;
  if (bmp.Width() < cw || bmp.Height() < ch)
    bmp.SetSize(std::max(bmp.Width(), cw), std::max(bmp.Height(), ch));
  HDC bdc = bmp.Canvas()->Handle();
  const int saved = SaveDC(bdc);
  // Caption coordinates: the bar at the origin, the cross and cursor with it.
  const RECT area{0, 0, cw, ch};
  RECT cross = g.Close;
  OffsetRect(cross, -g.Caption.left, -g.Caption.top);
  const POINT cursor{g.Cursor.x - g.Caption.left, g.Cursor.y - g.Caption.top};

  HBRUSH face = CreateSolidBrush(COLORREF(ColorToRGB(Color())));
  FillRect(bdc, area, face);
  DeleteObject(face);
  const TColor text = active ? clCaptionText : clInactiveCaptionText;
  SetTextColor(bdc, COLORREF(ColorToRGB(text)));
  SetBkMode(bdc, TRANSPARENT);
  DrawGradientBox(bdc, area, 2, true, clDefault, active ? clActiveCaption : clInactiveCaption,
                  active ? clGradientActiveCaption : clGradientInactiveCaption);

  RECT textArea = area;
  if (cross.left != cross.right) {
    const bool hot = PtInRect(cross, cursor);
    if (hot && FClosePressed) OffsetRect(cross, 1, 1);
    TSelected pen(bdc, CreatePen(PS_SOLID, 2, COLORREF(ColorToRGB(hot ? text : clWindowText))));
    MoveToEx(bdc, cross.left + 4, cross.top + 4, nullptr);
    LineTo(bdc, cross.right - 4, cross.bottom - 4);
    MoveToEx(bdc, cross.right - 4, cross.top + 4, nullptr);
    LineTo(bdc, cross.left + 4, cross.bottom - 4);
    textArea.right = cross.left;
  }
  const std::string caption = CaptionText(Handle());
  if (!caption.empty()) {
    OffsetRect(textArea, 3, 0);
    TSelected font(bdc, CreateFontIndirect(SmallCaptionFont()));
    DrawText(bdc, caption, &textArea, DT_END_ELLIPSIS | DT_PATH_ELLIPSIS);
  }
  BitBlt(dc, g.Caption.left, g.Caption.top, cw, ch, bdc, 0, 0, SRCCOPY);
  RestoreDC(bdc, saved);
}

} // namespace zel
