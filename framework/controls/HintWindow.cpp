// The hint window: a pop-up without activation that shows one short hint.

#include "framework/controls/HintWindow.h"

#include <algorithm>

#include "platform/user/User.h"

namespace zel {

using namespace sys;

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetVisibleFlag(false);
  SetColor(clInfoBk);
  Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  p.WndParent = nullptr;
}

RECT THintWindow::CalcHintRect(const std::string& hint, POINT at) {
  // Measure on a context that draws nowhere.
  HDC dc = GetDC(nullptr);
  Canvas()->SetHandle(dc);
  Canvas()->Font()->Assign(Font());
  RECT r{0, 0, 300, 0};
  Canvas()->TextRect(r, hint, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  Canvas()->SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  // Two pixels of border, two of padding on each side.
  const int w = r.Width() + 8, h = r.Height() + 6;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  int x = std::clamp(at.x, 0, std::max(0, sw - w));
  int y = at.y;
  if (y + h > sh) y = std::max(0, at.y - h - 24);
  return RECT{x, y, x + w, y + h};
}

void THintWindow::ActivateHint(const RECT& rect, const std::string& hint) {
  SetText(hint);
  SetBounds(rect.left, rect.top, rect.Width(), rect.Height());
  HandleNeeded();
  SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, rect.Width(), rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetVisibleFlag(true);
  FActive = true;
  Invalidate();
}

void THintWindow::ReleaseHandle() {
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  SetVisibleFlag(false);
  FActive = false;
}

void THintWindow::Paint() {
  RECT r = ClientRect();
  InflateRect(r, -2, -2);
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->TextRect(r, Text(), DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void THintWindow::WndProc(TMessage& m) {
  // The hint never takes the mouse from the control it explains.
  if (m.Msg == WM_NCHITTEST) {
    m.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::WndProc(m);
}

} // namespace zel
