// The non-client area: its geometry, hit testing, the default frame and
// caption painting, and the moving, sizing and caption-button presses the
// default window procedure starts.
//
// Moving and sizing run off the captured mouse rather than a nested message
// loop: a press on the caption starts a tracking state, the input layer
// feeds every following mouse event to it, and the release ends it.
//
//   state    | mouse move                 | left button up              | Escape
//   ---------+----------------------------+-----------------------------+----------------
//   Move     | window follows the cursor  | end, WM_EXITSIZEMOVE        | back, end
//   Size     | the dragged edges follow   | end, WM_EXITSIZEMOVE        | back, end
//   Button   | button drawn pressed while | over it: WM_SYSCOMMAND of   | -
//            | the cursor is over it      | the button; end either way  |

#include <algorithm>

#include "platform/text/Text.h"
#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemParams.h"
#include "platform/user/UserState.h"
#include "platform/user/Window.h"

namespace zel::sys::detail {

namespace {

bool HasCaption(DWORD style) {
  return (style & WS_CAPTION) == WS_CAPTION;
}

int FrameWidth(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXSIZEFRAME);
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    return GetSystemMetrics(SM_CXFIXEDFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

void Fill(HDC dc, const RECT& r, int colorIndex) {
  FillRect(dc, r, GetSysColorBrush(colorIndex));
}

// A one-pixel rectangle outline: light on the top and left, dark on the
// bottom and right.
void Edge(HDC dc, RECT r, int light, int dark) {
  Fill(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, light);
  Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, light);
  Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, dark);
  Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, dark);
}

HFONT CaptionFont(bool small) {
  // Made once and kept for the program's life, like the system's own fonts.
  static HFONT normal = nullptr, tool = nullptr;
  HFONT& f = small ? tool : normal;
  if (!f) {
    const NONCLIENTMETRICS m = GetNonClientMetrics();
    f = CreateFontIndirect(small ? m.lfSmCaptionFont : m.lfCaptionFont);
  }
  return f;
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

enum class Glyph { Close, Minimize, Maximize, Restore };

// Draws a caption button's glyph with lines, centred in r.
void DrawGlyph(HDC dc, const RECT& r, Glyph g, COLORREF color) {
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, color));
  UniqueGdi<HBRUSH> br(CreateSolidBrush(color));
  HGDIOBJ old = SelectObject(dc, pen.get());
  const int w = r.Width(), h = r.Height();
  const int s = std::max(4, std::min(w, h) - 6); // glyph box size
  const int x = r.left + (w - s) / 2, y = r.top + (h - s) / 2;
  switch (g) {
  case Glyph::Close:
    // Two pixels thick diagonals.
    for (int d = 0; d < 2; ++d) {
      Line(dc, x + d, y, x + s, y + s - d);
      Line(dc, x, y + d, x + s - d, y + s);
      Line(dc, x + s - 1 - d, y, x - 1, y + s - d);
      Line(dc, x + s - 1, y + d, x - 1 + d, y + s);
    }
    break;
  case Glyph::Minimize:
    Line(dc, x, y + s - 2, x + s - 2, y + s - 2);
    Line(dc, x, y + s - 1, x + s - 2, y + s - 1);
    break;
  case Glyph::Maximize: {
    const RECT b{x, y, x + s, y + s};
    FrameRect(dc, b, br);
    Line(dc, b.left, b.top + 1, b.right, b.top + 1);
    break;
  }
  case Glyph::Restore: {
    const int q = s - 3;
    const RECT back{x + 3, y, x + 3 + q, y + q};
    const RECT front{x, y + 3, x + q, y + 3 + q};
    FrameRect(dc, back, br);
    Line(dc, back.left, back.top + 1, back.right, back.top + 1);
    FillRect(dc, RECT{front.left, front.top, front.right, front.bottom},
             GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, front, br);
    Line(dc, front.left, front.top + 1, front.right, front.top + 1);
    break;
  }
  }
  SelectObject(dc, old);
}

void DrawCaptionButton(HDC dc, const RECT& r, Glyph g, bool pressed, bool enabled) {
  if (IsRectEmpty(r)) return;
  Fill(dc, r, COLOR_BTNFACE);
  if (pressed) {
    Edge(dc, r, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT);
    RECT in = r;
    InflateRect(in, -1, -1);
    Edge(dc, in, COLOR_BTNSHADOW, COLOR_3DLIGHT);
  } else {
    Edge(dc, r, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
    RECT in = r;
    InflateRect(in, -1, -1);
    Edge(dc, in, COLOR_3DLIGHT, COLOR_BTNSHADOW);
  }
  RECT gr = r;
  if (pressed) OffsetRect(gr, 1, 1);
  if (!enabled) {
    RECT shade = gr;
    OffsetRect(shade, 1, 1);
    DrawGlyph(dc, shade, g, GetSysColor(COLOR_BTNHIGHLIGHT));
  }
  DrawGlyph(dc, gr, g, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
}

// The small icon of the system menu: a little window.
void DrawSysIcon(HDC dc, const RECT& r, bool active) {
  if (IsRectEmpty(r)) return;
  RECT b{r.left + 1, r.top + 2, r.right - 1, r.bottom - 2};
  Fill(dc, b, COLOR_WINDOW);
  FrameRect(dc, b, GetSysColorBrush(COLOR_WINDOWFRAME));
  Fill(dc, RECT{b.left + 1, b.top + 1, b.right - 1, b.top + 4},
       active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
}

void GradientRect(HDC dc, const RECT& r, COLORREF a, COLORREF b) {
  TRIVERTEX v[2];
  v[0].x = r.left;
  v[0].y = r.top;
  v[0].Red = COLOR16(GetRValue(a) << 8);
  v[0].Green = COLOR16(GetGValue(a) << 8);
  v[0].Blue = COLOR16(GetBValue(a) << 8);
  v[1].x = r.right;
  v[1].y = r.bottom;
  v[1].Red = COLOR16(GetRValue(b) << 8);
  v[1].Green = COLOR16(GetGValue(b) << 8);
  v[1].Blue = COLOR16(GetBValue(b) << 8);
  GRADIENT_RECT gr{0, 1};
  GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_H);
}

WPARAM CommandOfButton(Window* w, LRESULT hit) {
  switch (hit) {
  case HTCLOSE:
    return SC_CLOSE;
  case HTMINBUTTON:
    return (w->style & WS_MINIMIZE) ? SC_RESTORE : SC_MINIMIZE;
  case HTMAXBUTTON:
    return (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
  default:
    return 0;
  }
}

RECT ButtonRect(const NcGeometry& g, LRESULT hit) {
  switch (hit) {
  case HTCLOSE:
    return g.closeBtn;
  case HTMINBUTTON:
    return g.minBtn;
  case HTMAXBUTTON:
    return g.maxBtn;
  default:
    return RECT{};
  }
}

void RepaintFrameNow(HWND h) {
  if (Window* w = Find(h)) {
    w->ncDirty = false;
    if (IsDrawable(w)) SendMessage(h, WM_NCPAINT, 1, 0);
  }
}

void EndTracking(bool restore) {
  auto& u = U();
  const Tracking t = u.tracking;
  if (t.mode == Tracking::None) return;
  if (t.mode == Tracking::Scroll) {
    EndScrollTracking();
    return;
  }
  u.tracking = {};
  if (restore && (t.mode == Tracking::Move || t.mode == Tracking::Size))
    SetWindowPos(t.hwnd, nullptr, t.startRect.left, t.startRect.top, t.startRect.Width(),
                 t.startRect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  if (Window* w = Find(t.hwnd)) {
    if (t.mode == Tracking::Button) {
      w->pressedButton = 0;
      RepaintFrameNow(t.hwnd);
    }
  }
  if (u.capture == t.hwnd) ReleaseCapture();
  if (t.mode != Tracking::Button && Find(t.hwnd)) SendMessage(t.hwnd, WM_EXITSIZEMOVE, 0, 0);
}

RECT SizedRect(const Tracking& t, POINT pt, Window* w) {
  const int dx = pt.x - t.start.x, dy = pt.y - t.start.y;
  RECT r = t.startRect;
  const bool left = t.hit == HTLEFT || t.hit == HTTOPLEFT || t.hit == HTBOTTOMLEFT;
  const bool right = t.hit == HTRIGHT || t.hit == HTTOPRIGHT || t.hit == HTBOTTOMRIGHT;
  const bool top = t.hit == HTTOP || t.hit == HTTOPLEFT || t.hit == HTTOPRIGHT;
  const bool bottom = t.hit == HTBOTTOM || t.hit == HTBOTTOMLEFT || t.hit == HTBOTTOMRIGHT;
  MINMAXINFO mmi;
  mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessage(w->handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  const int minW = mmi.ptMinTrackSize.x, minH = mmi.ptMinTrackSize.y;
  const int maxW = std::max(minW, int(mmi.ptMaxTrackSize.x));
  const int maxH = std::max(minH, int(mmi.ptMaxTrackSize.y));
  if (left) r.left = std::clamp(r.left + dx, r.right - maxW, r.right - minW);
  if (right) r.right = std::clamp(r.right + dx, r.left + minW, r.left + maxW);
  if (top) r.top = std::clamp(r.top + dy, r.bottom - maxH, r.bottom - minH);
  if (bottom) r.bottom = std::clamp(r.bottom + dy, r.top + minH, r.top + maxH);
  return r;
}

} // namespace

void FillSysColor(HDC dc, const RECT& r, int colorIndex) {
  Fill(dc, r, colorIndex);
}

void DrawButtonBox(HDC dc, const RECT& r, bool pressed) {
  if (IsRectEmpty(r)) return;
  Fill(dc, r, COLOR_BTNFACE);
  RECT in = r;
  InflateRect(in, -1, -1);
  if (pressed) {
    Edge(dc, r, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
    return;
  }
  Edge(dc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
  Edge(dc, in, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

NcGeometry ComputeNcGeometry(DWORD style, DWORD exStyle, int width, int height) {
  NcGeometry g;
  g.frame = FrameWidth(style, exStyle);
  g.edge = (exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0;
  if (exStyle & WS_EX_STATICEDGE) g.edge += 1;
  // Scroll bars sit inside the frame and the client edge, beside the client area.
  const int side = g.frame + g.edge;
  const int top =
      side + (HasCaption(style)
                  ? GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION)
                  : 0);
  const RECT inner{side, top, std::max(side, width - side), std::max(top, height - side)};
  const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
  const bool v = (style & WS_VSCROLL) && !(style & WS_MINIMIZE);
  const bool h = (style & WS_HSCROLL) && !(style & WS_MINIMIZE);
  if (v)
    g.vScroll = RECT{std::max(inner.left, inner.right - cx), inner.top, inner.right,
                     std::max(inner.top, inner.bottom - (h ? cy : 0))};
  if (h)
    g.hScroll = RECT{inner.left, std::max(inner.top, inner.bottom - cy),
                     std::max(inner.left, inner.right - (v ? cx : 0)), inner.bottom};
  if (v && h) g.sizeBox = RECT{g.vScroll.left, g.hScroll.top, inner.right, inner.bottom};
  if (!HasCaption(style)) return g;
  g.small = (exStyle & WS_EX_TOOLWINDOW) != 0;
  g.caption = GetSystemMetrics(g.small ? SM_CYSMCAPTION : SM_CYCAPTION);
  const int f = g.frame;
  g.captionBar = RECT{f, f, width - f, f + g.caption - 1};
  const int barH = g.caption - 1;
  const int bh = barH - 4;
  const int bw = bh + 2;
  const int y = g.captionBar.top + 2;
  if (style & WS_SYSMENU) {
    const int x = g.captionBar.right - 2 - bw;
    g.closeBtn = RECT{x, y, x + bw, y + bh};
    if (!g.small && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
      g.maxBtn = RECT{x - 2 - bw, y, x - 2, y + bh};
      g.minBtn = RECT{g.maxBtn.left - bw, y, g.maxBtn.left, y + bh};
    }
    if (!g.small) {
      const int s = GetSystemMetrics(SM_CXSMICON);
      const int iy = g.captionBar.top + (barH - s) / 2;
      g.sysIcon = RECT{g.captionBar.left + 2, iy, g.captionBar.left + 2 + s, iy + s};
    }
  }
  return g;
}

RECT DefaultClientRect(DWORD style, DWORD exStyle, const RECT& windowRect) {
  const NcGeometry g = ComputeNcGeometry(style, exStyle, windowRect.Width(), windowRect.Height());
  const int side = g.frame + g.edge;
  RECT c{windowRect.left + side, windowRect.top + side + g.caption, windowRect.right - side,
         windowRect.bottom - side};
  if (style & WS_MINIMIZE) c = RECT{c.left, c.top, c.left, c.top};
  if (!IsRectEmpty(g.vScroll)) c.right -= g.vScroll.Width();
  if (!IsRectEmpty(g.hScroll)) c.bottom -= g.hScroll.Height();
  c.right = std::max(c.left, c.right);
  c.bottom = std::max(c.top, c.bottom);
  return c;
}

LRESULT DefaultHitTest(Window* w, POINT screen) {
  const RECT wr = WindowRectOnScreen(w);
  if (!PtInRect(wr, screen)) return HTNOWHERE;
  const POINT p{screen.x - wr.left, screen.y - wr.top};
  if (PtInRect(w->client, p)) return HTCLIENT;
  const int W = wr.Width(), H = wr.Height();
  const NcGeometry g = ComputeNcGeometry(w->style, w->exStyle, W, H);
  const int f = g.frame;
  const bool sizable = (w->style & WS_THICKFRAME) && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE));
  if (sizable && (p.x < f || p.y < f || p.x >= W - f || p.y >= H - f)) {
    // The corners reach along each edge by a caption's height, but never
    // past a quarter of the edge: the middle half of every edge sizes that
    // edge alone, also on a low window such as a floating tool bar.
    const int reach = f + GetSystemMetrics(SM_CYCAPTION);
    const int cornerX = std::min(reach, W / 4), cornerY = std::min(reach, H / 4);
    if (p.y < f) return p.x < cornerX ? HTTOPLEFT : p.x >= W - cornerX ? HTTOPRIGHT : HTTOP;
    if (p.y >= H - f)
      return p.x < cornerX ? HTBOTTOMLEFT : p.x >= W - cornerX ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.x < f) return p.y < cornerY ? HTTOPLEFT : p.y >= H - cornerY ? HTBOTTOMLEFT : HTLEFT;
    return p.y < cornerY ? HTTOPRIGHT : p.y >= H - cornerY ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if (PtInRect(g.vScroll, p)) return HTVSCROLL;
  if (PtInRect(g.hScroll, p)) return HTHSCROLL;
  if (g.caption && PtInRect(RECT{f, f, W - f, f + g.caption}, p)) {
    if (PtInRect(g.closeBtn, p)) return HTCLOSE;
    if (PtInRect(g.maxBtn, p)) return HTMAXBUTTON;
    if (PtInRect(g.minBtn, p)) return HTMINBUTTON;
    if (PtInRect(g.sysIcon, p)) return HTSYSMENU;
    return HTCAPTION;
  }
  return HTBORDER;
}

void PaintDefaultFrame(Window* w) {
  const HWND h = w->handle;
  const int W = w->rect.Width(), H = w->rect.Height();
  const NcGeometry g = ComputeNcGeometry(w->style, w->exStyle, W, H);
  if (!g.frame && !g.edge && !g.caption && IsRectEmpty(g.vScroll) && IsRectEmpty(g.hScroll)) return;
  HDC dc = GetWindowDC(h);
  if (!dc) return;
  ExcludeClipRect(dc, w->client.left, w->client.top, w->client.right, w->client.bottom);
  RECT r{0, 0, W, H};
  if (g.frame == 1) {
    FrameRect(dc, r, GetSysColorBrush(COLOR_WINDOWFRAME));
  } else if (g.frame >= 2) {
    Edge(dc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    InflateRect(r, -1, -1);
    Edge(dc, r, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    InflateRect(r, -1, -1);
    for (int i = 2; i < g.frame; ++i) {
      FrameRect(dc, r,
                GetSysColorBrush(w->captionActive ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER));
      InflateRect(r, -1, -1);
    }
  }
  r = RECT{g.frame, g.frame, W - g.frame, H - g.frame};
  if (g.caption) {
    const bool active = w->captionActive;
    GradientRect(dc, g.captionBar,
                 GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION),
                 GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION));
    Fill(dc,
         RECT{g.captionBar.left, g.captionBar.bottom, g.captionBar.right, g.captionBar.bottom + 1},
         COLOR_BTNFACE);
    DrawSysIcon(dc, g.sysIcon, active);
    RECT text = g.captionBar;
    text.left = IsRectEmpty(g.sysIcon) ? text.left + 3 : g.sysIcon.right + 3;
    for (const RECT* b : {&g.minBtn, &g.maxBtn, &g.closeBtn})
      if (!IsRectEmpty(*b)) text.right = std::min(text.right, b->left - 2);
    if (!w->text.empty() && text.right > text.left) {
      HGDIOBJ oldFont = SelectObject(dc, CaptionFont(g.small));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
      DrawText(dc, w->text, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
      SelectObject(dc, oldFont);
    }
    const bool maxEnabled = (w->style & WS_MAXIMIZEBOX) != 0;
    const bool minEnabled = (w->style & WS_MINIMIZEBOX) != 0 &&
                            (!IsTopLevel(w) || !U().backend || U().backend->CanIconify());
    DrawCaptionButton(dc, g.closeBtn, Glyph::Close, w->pressedButton == HTCLOSE, true);
    DrawCaptionButton(dc, g.maxBtn, (w->style & WS_MAXIMIZE) ? Glyph::Restore : Glyph::Maximize,
                      w->pressedButton == HTMAXBUTTON, maxEnabled);
    DrawCaptionButton(dc, g.minBtn, (w->style & WS_MINIMIZE) ? Glyph::Restore : Glyph::Minimize,
                      w->pressedButton == HTMINBUTTON, minEnabled);
    r.top += g.caption;
  }
  if (g.edge >= 2) {
    Edge(dc, r, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    InflateRect(r, -1, -1);
    Edge(dc, r, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
  } else if (g.edge == 1) {
    Edge(dc, r, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  }
  PaintScrollBars(w, dc, g);
  ReleaseDC(h, dc);
}

void StartTracking(Window* w, Tracking::Mode mode, LRESULT hit, POINT screen) {
  auto& u = U();
  EndTracking(false);
  const HWND h = w->handle;
  if (mode == Tracking::Button) {
    const WPARAM cmd = CommandOfButton(w, hit);
    if (!cmd) return;
    if (hit == HTMAXBUTTON && !(w->style & WS_MAXIMIZEBOX)) return;
    if (hit == HTMINBUTTON && !(w->style & WS_MINIMIZEBOX)) return;
  }
  SetCapture(h);
  if (!Find(h)) return;
  u.tracking.mode = mode;
  u.tracking.hwnd = h;
  u.tracking.hit = hit;
  u.tracking.start = screen;
  u.tracking.startRect = w->rect;
  u.tracking.over = true;
  if (mode == Tracking::Button) {
    w->pressedButton = hit;
    RepaintFrameNow(h);
  } else {
    SendMessage(h, WM_ENTERSIZEMOVE, 0, 0);
  }
}

bool TrackingMouse(const RawInput& in) {
  auto& u = U();
  Tracking& t = u.tracking;
  if (t.mode == Tracking::None) return false;
  Window* w = Find(t.hwnd);
  if (!w) {
    u.tracking = {};
    return false;
  }
  const HWND h = t.hwnd;
  if (t.mode == Tracking::Scroll) return ScrollTrackingMouse(in);
  if (in.kind == RawInput::Move) {
    if (t.mode == Tracking::Move || t.mode == Tracking::Size) {
      FollowPointer(t, w, in.pt);
    } else {
      RECT b = ButtonRect(
          ComputeNcGeometry(w->style, w->exStyle, w->rect.Width(), w->rect.Height()), t.hit);
      const RECT wr = WindowRectOnScreen(w);
      OffsetRect(b, wr.left, wr.top);
      const bool over = PtInRect(b, in.pt);
      if (over != t.over) {
        t.over = over;
        w->pressedButton = over ? t.hit : 0;
        RepaintFrameNow(h);
      }
    }
    return true;
  }
  if (in.kind == RawInput::ButtonUp && in.button == 0) {
    const Tracking done = t;
    EndTracking(false);
    if (done.mode == Tracking::Button && done.over) {
      if (Window* bw = Find(done.hwnd))
        SendMessage(done.hwnd, WM_SYSCOMMAND, CommandOfButton(bw, done.hit),
                    MAKELPARAM(in.pt.x, in.pt.y));
    }
    return true;
  }
  // Other buttons and the wheel are swallowed while tracking.
  return in.kind != RawInput::KeyDown && in.kind != RawInput::KeyUp && in.kind != RawInput::Char;
}

void CancelTracking(bool restore) {
  EndTracking(restore);
}

void FollowPointer(const Tracking& t, Window* w, POINT pt) {
  const HWND h = w->handle;
  if (t.mode == Tracking::Move) {
    SetWindowPos(h, nullptr, t.startRect.left + pt.x - t.start.x,
                 t.startRect.top + pt.y - t.start.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (t.mode == Tracking::Size) {
    RECT r = SizedRect(t, pt, w);
    // The window may change the rectangle (keep a ratio, snap to rows).
    SendMessage(h, WM_SIZING, WPARAM(t.hit - HTLEFT + WMSZ_LEFT), reinterpret_cast<LPARAM>(&r));
    if (!Find(h)) return;
    SetWindowPos(h, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

} // namespace zel::sys::detail
