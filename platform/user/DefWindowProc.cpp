// The default window procedure: what a window does with a message its own
// procedure passes on.

#include <algorithm>
#include <cstring>

#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemParams.h"
#include "platform/user/UserState.h"
#include "platform/user/Window.h"

namespace zel::sys {

using namespace detail;

namespace {

// A class background given as a system colour index + 1, as the platform allows.
HBRUSH BackgroundBrush(const Window* w) {
  if (!w->cls) return nullptr;
  const uintptr_t v = reinterpret_cast<uintptr_t>(w->cls->background);
  if (v > 0 && v <= uintptr_t(kSysColorCount)) return GetSysColorBrush(int(v) - 1);
  return w->cls->background;
}

// Cuts n bytes of UTF-8 back to the last whole character.
size_t Utf8Cut(const std::string& s, size_t n) {
  if (n >= s.size()) return s.size();
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
    --n;
  return n;
}

int CursorForHit(LRESULT hit) {
  switch (hit) {
  case HTLEFT:
  case HTRIGHT:
    return IDC_SIZEWE;
  case HTTOP:
  case HTBOTTOM:
    return IDC_SIZENS;
  case HTTOPLEFT:
  case HTBOTTOMRIGHT:
    return IDC_SIZENWSE;
  case HTTOPRIGHT:
  case HTBOTTOMLEFT:
    return IDC_SIZENESW;
  default:
    return IDC_ARROW;
  }
}

LRESULT OnSetCursor(Window* w, HWND h, WPARAM wp, LPARAM lp) {
  // The parent decides first, so a container can set the cursor for all its children.
  if (!IsTopLevel(w) && SendMessage(w->parent->handle, WM_SETCURSOR, wp, lp)) return 1;
  const LRESULT hit = LRESULT(int16_t(LOWORD(uintptr_t(lp))));
  if (hit == HTCLIENT) {
    if (w->cls && w->cls->cursor) {
      SetCursor(w->cls->cursor);
      return 1;
    }
    return 0;
  }
  if (hit == HTERROR) return 0;
  SetCursor(LoadCursor(nullptr, CursorForHit(hit)));
  return 1;
}

LRESULT OnSysCommand(Window* w, HWND h, WPARAM wp, LPARAM lp) {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (!lp) GetCursorPos(&pt);
  // A move or size without an edge or caption in the low bits comes from
  // the keyboard (a system menu): the arrows drive it.
  const bool byKeyboard = (wp & 0xF) == 0;
  switch (wp & 0xFFF0) {
  case SC_MOVE:
    if (w->style & WS_MAXIMIZE) return 0;
    if (byKeyboard)
      StartKeyTracking(w, Tracking::Move);
    else
      StartTracking(w, Tracking::Move, HTCAPTION, pt);
    return 0;
  case SC_SIZE: {
    const int edge = int(wp & 0xF); // 1..8: left, right, top, top left, top right, bottom, ...
    if (!(w->style & WS_THICKFRAME)) return 0;
    if (byKeyboard && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
      StartKeyTracking(w, Tracking::Size);
    else if (edge >= 1 && edge <= 8)
      StartTracking(w, Tracking::Size, HTLEFT + edge - 1, pt);
    return 0;
  }
  case SC_CLOSE:
    SendMessage(h, WM_CLOSE, 0, 0);
    return 0;
  case SC_MINIMIZE:
    ShowWindow(h, SW_MINIMIZE);
    return 0;
  case SC_MAXIMIZE:
    ShowWindow(h, SW_MAXIMIZE);
    return 0;
  case SC_RESTORE:
    ShowWindow(h, SW_RESTORE);
    return 0;
  default:
    return 0;
  }
}

// Whether a screen point lies on the icon the default caption draws (a
// window that paints its own frame may answer HTSYSMENU for other parts).
bool OnCaptionIcon(const Window* w, POINT screen) {
  const RECT wr = WindowRectOnScreen(w);
  const NcGeometry g = ComputeNcGeometry(w->style, w->exStyle, wr.Width(), wr.Height());
  return PtInRect(g.sysIcon, POINT{screen.x - wr.left, screen.y - wr.top});
}

LRESULT OnNcButtonDown(Window* w, HWND h, WPARAM hit, LPARAM lp) {
  switch (LRESULT(hit)) {
  case HTCAPTION:
    SendMessage(h, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lp);
    break;
  case HTLEFT:
  case HTRIGHT:
  case HTTOP:
  case HTTOPLEFT:
  case HTTOPRIGHT:
  case HTBOTTOM:
  case HTBOTTOMLEFT:
  case HTBOTTOMRIGHT:
    SendMessage(h, WM_SYSCOMMAND, SC_SIZE + WPARAM(hit - HTLEFT + 1), lp);
    break;
  case HTCLOSE:
  case HTMINBUTTON:
  case HTMAXBUTTON:
    StartTracking(w, Tracking::Button, LRESULT(hit), POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    break;
  case HTSYSMENU:
    if (OnCaptionIcon(w, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}))
      SendMessage(h, WM_SYSCOMMAND, SC_MOUSEMENU + HTSYSMENU, lp);
    break;
  case HTVSCROLL:
  case HTHSCROLL:
    StartScrollTracking(w, LRESULT(hit) == HTVSCROLL ? 1 : 0,
                        POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    break;
  default:
    break;
  }
  return 0;
}

LRESULT OnNcDoubleClick(Window* w, HWND h, WPARAM hit, LPARAM lp) {
  // A quick second press on a caption button presses it again.
  if (LRESULT(hit) == HTCLOSE || LRESULT(hit) == HTMINBUTTON || LRESULT(hit) == HTMAXBUTTON ||
      LRESULT(hit) == HTVSCROLL || LRESULT(hit) == HTHSCROLL)
    return OnNcButtonDown(w, h, hit, lp);
  if (LRESULT(hit) == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
    SendMessage(h, WM_SYSCOMMAND,
                (w->style & (WS_MAXIMIZE | WS_MINIMIZE)) ? SC_RESTORE : SC_MAXIMIZE, lp);
  else if (LRESULT(hit) == HTSYSMENU)
    SendMessage(h, WM_SYSCOMMAND, SC_CLOSE, lp);
  return 0;
}

void OnWindowPosChanged(Window* w, HWND h, const WINDOWPOS* wp) {
  if (!wp) return;
  if (!(wp->flags & SWP_NOMOVE))
    SendMessage(h, WM_MOVE, 0,
                MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
  if (!(wp->flags & SWP_NOSIZE)) {
    if ((w = Find(h)) == nullptr) return;
    const WPARAM kind = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                        : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                   : SIZE_RESTORED;
    SendMessage(h, WM_SIZE, kind, MAKELPARAM(w->client.Width(), w->client.Height()));
  }
}

} // namespace

LRESULT DefWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = Find(h);
  if (!w) return 0;
  switch (msg) {
  case WM_NCCREATE:
    if (lp) w->text = reinterpret_cast<const CREATESTRUCT*>(lp)->lpszName;
    return 1;
  case WM_NCCALCSIZE: {
    RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
    if (r) *r = DefaultClientRect(w->style, w->exStyle, *r);
    return 0;
  }
  case WM_NCHITTEST:
    return DefaultHitTest(w, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
  case WM_NCPAINT:
    PaintDefaultFrame(w);
    return 0;
  case WM_NCACTIVATE:
    // The frame is repainted through WM_NCPAINT, so a window that paints its
    // own frame keeps doing so.
    w->captionActive = wp != 0;
    w->ncDirty = true;
    return 1;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    EndPaint(h, &ps);
    return 0;
  }
  case WM_ERASEBKGND: {
    HBRUSH br = BackgroundBrush(w);
    if (!br || !wp) return 0;
    RECT r;
    GetClientRect(h, &r);
    FillRect(reinterpret_cast<HDC>(wp), r, br);
    return 1;
  }
  case WM_SETTEXT:
    w->text = lp ? reinterpret_cast<const char*>(lp) : "";
    if ((w->style & WS_CAPTION) == WS_CAPTION) w->ncDirty = true;
    if (IsTopLevel(w) && U().backend) U().backend->WindowTextChanged(h);
    return 1;
  case WM_GETTEXT: {
    char* buf = reinterpret_cast<char*>(lp);
    if (!buf || wp == 0) return 0;
    const size_t n = Utf8Cut(w->text, std::min(w->text.size(), size_t(wp) - 1));
    std::memcpy(buf, w->text.data(), n);
    buf[n] = '\0';
    return LRESULT(n);
  }
  case WM_GETTEXTLENGTH:
    return LRESULT(w->text.size());
  case WM_CLOSE:
    DestroyWindow(h);
    return 0;
  case WM_SYSCOMMAND:
    return OnSysCommand(w, h, wp, lp);
  case WM_NCLBUTTONDOWN:
    return OnNcButtonDown(w, h, wp, lp);
  case WM_NCLBUTTONDBLCLK:
    return OnNcDoubleClick(w, h, wp, lp);
  case WM_SETCURSOR:
    return OnSetCursor(w, h, wp, lp);
  case WM_MOUSEACTIVATE:
    if (!IsTopLevel(w)) {
      if (LRESULT r = SendMessage(w->parent->handle, WM_MOUSEACTIVATE, wp, lp)) return r;
    }
    return MA_ACTIVATE;
  case WM_ACTIVATE:
    if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) SetFocus(h);
    return 0;
  case WM_WINDOWPOSCHANGED:
    OnWindowPosChanged(w, h, reinterpret_cast<const WINDOWPOS*>(lp));
    return 0;
  case WM_SYSKEYDOWN:
    if (wp == VK_F4 && (lp & (1 << 29)))
      SendMessage(TopLevelOf(w)->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    else if (wp == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000))
      SendMessage(h, WM_CONTEXTMENU, WPARAM(h), -1);
    return 0;
  case WM_SYSKEYUP:
    // Alt alone or F10 opens the menu of the top-level window.
    if (wp == VK_MENU || wp == VK_F10)
      SendMessage(TopLevelOf(w)->handle, WM_SYSCOMMAND, SC_KEYMENU, 0);
    return 0;
  case WM_SYSCHAR:
    if (wp != 27) SendMessage(TopLevelOf(w)->handle, WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wp));
    return 0;
  case WM_KEYDOWN:
    if (wp == VK_APPS) SendMessage(h, WM_CONTEXTMENU, WPARAM(h), -1);
    return 0;
  case WM_RBUTTONUP: {
    POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ClientToScreen(h, &p);
    SendMessage(h, WM_CONTEXTMENU, WPARAM(h), MAKELPARAM(p.x, p.y));
    return 0;
  }
  case WM_CONTEXTMENU:
    if (!IsTopLevel(w)) return SendMessage(w->parent->handle, msg, wp, lp);
    return 0;
  case WM_SETREDRAW:
    w->noRedraw = wp == 0;
    return 0;
  case WM_MOUSEWHEEL:
    if (!IsTopLevel(w)) return SendMessage(w->parent->handle, msg, wp, lp);
    return 0;
  case WM_CANCELMODE:
    if (U().tracking.hwnd == h) CancelTracking(false);
    if (GetCapture() == h) ReleaseCapture();
    return 0;
  default:
    return 0;
  }
}

} // namespace zel::sys
