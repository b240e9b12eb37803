// Seeded random sequences of window operations and input, with window
// procedures that destroy windows, move the capture and post messages while
// they handle messages.  Run under the sanitizers, this catches use of
// destroyed windows and broken bookkeeping that single cases miss.

#include <random>

#include "tests/platform/user/UserTestSupport.h"

namespace zel::sys::test {
namespace {

struct Chaos {
  std::mt19937 rng;
  std::vector<HWND> pool;
  int Pick(int n) { return n <= 0 ? 0 : int(rng() % unsigned(n)); }
  HWND Any() { return pool.empty() ? nullptr : pool[size_t(Pick(int(pool.size())))]; }
};

Chaos* g_chaos = nullptr;

LRESULT CALLBACK_Chaos(HWND h, UINT m, WPARAM w, LPARAM l) {
  Chaos& c = *g_chaos;
  switch (m) {
  case WM_LBUTTONDOWN:
    if (c.Pick(4) == 0) SetCapture(h);
    if (c.Pick(8) == 0) DestroyWindow(h);
    return 0;
  case WM_LBUTTONUP:
    if (c.Pick(2) == 0) ReleaseCapture();
    return 0;
  case WM_MOUSEMOVE:
    if (c.Pick(10) == 0) {
      TRACKMOUSEEVENT t;
      t.dwFlags = TME_LEAVE | (c.Pick(2) ? TME_HOVER : 0);
      t.hwndTrack = h;
      TrackMouseEvent(&t);
    }
    return 0;
  case WM_MOUSELEAVE:
    if (c.Pick(6) == 0) DestroyWindow(c.Any());
    return 0;
  case WM_TIMER:
    if (c.Pick(3) == 0) KillTimer(h, w);
    if (c.Pick(10) == 0) DestroyWindow(h);
    return 0;
  case WM_SETFOCUS:
    if (c.Pick(10) == 0) SetFocus(c.Any());
    return 0;
  case WM_ACTIVATE:
    if (c.Pick(12) == 0) ShowWindow(c.Any(), SW_HIDE);
    break;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HBRUSH b = CreateSolidBrush(RGB(c.Pick(256), 0, 0));
    FillRect(dc, ps.rcPaint, b);
    DeleteObject(b);
    if (c.Pick(20) == 0) InvalidateRect(c.Any(), nullptr, 1);
    EndPaint(h, &ps);
    return 0;
  }
  case WM_USER:
    if (c.Pick(3) == 0) PostMessage(c.Any(), WM_USER, 0, 0);
    return 0;
  case WM_DESTROY:
    if (c.Pick(5) == 0) PostMessage(c.Any(), WM_USER, 0, 0);
    break;
  default:
    break;
  }
  return DefWindowProc(h, m, w, l);
}

class Stress : public UserTest, public ::testing::WithParamInterface<unsigned> {};

void Step(Chaos& c, HeadlessBackend& screen) {
  auto rect = [&] {
    const int x = c.Pick(900) - 50, y = c.Pick(600) - 50;
    return RECT{x, y, x + c.Pick(400), y + c.Pick(300)};
  };
  static const DWORD styles[] = {WS_OVERLAPPEDWINDOW, WS_POPUP, WS_POPUP | WS_BORDER,
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                                 WS_CAPTION | WS_SYSMENU};
  static const HWND after[] = {HWND_TOP, HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST};
  const RECT r = rect();
  switch (c.Pick(16)) {
  case 0: {
    const DWORD style = styles[c.Pick(5)] | (c.Pick(3) ? WS_VISIBLE : 0);
    const DWORD ex = c.Pick(3) == 0 ? WS_EX_TOOLWINDOW : c.Pick(4) == 0 ? WS_EX_TOPMOST : 0;
    if (HWND h = CreateWindowEx(ex, "Chaos", "t", style, r.left, r.top, r.Width(), r.Height(),
                                c.Pick(3) == 0 ? c.Any() : nullptr))
      c.pool.push_back(h);
    break;
  }
  case 1:
  case 2: {
    HWND parent = c.Any();
    const DWORD style =
        WS_CHILD | (c.Pick(4) ? WS_VISIBLE : 0) | (c.Pick(4) == 0 ? WS_OVERLAPPEDWINDOW : 0);
    if (HWND h = CreateWindowEx(c.Pick(3) == 0 ? WS_EX_CLIENTEDGE : 0, "Chaos", "c", style,
                                r.left / 3, r.top / 3, r.Width() / 2, r.Height() / 2, parent))
      c.pool.push_back(h);
    break;
  }
  case 3:
    DestroyWindow(c.Any());
    break;
  case 4:
    SetWindowPos(c.Any(), c.Pick(2) ? after[c.Pick(4)] : c.Any(), r.left, r.top, r.Width(),
                 r.Height(), UINT(c.Pick(0x800)));
    break;
  case 5:
    ShowWindow(c.Any(), c.Pick(11));
    break;
  case 6:
    InvalidateRect(c.Any(), &r, c.Pick(2));
    break;
  case 7:
    screen.Click(r.left, r.top);
    break;
  case 8:
    screen.Drag(r.left, r.top, r.right, r.bottom, 3);
    break;
  case 9:
    screen.MoveTo(r.right, r.bottom);
    break;
  case 10:
    screen.Key(UINT(c.Pick(3) == 0 ? VK_ESCAPE : 'A' + c.Pick(26)));
    if (c.Pick(4) == 0) screen.Type("ж");
    break;
  case 11:
    SetTimer(c.Any(), UINT_PTR(c.Pick(3)), UINT(10 + c.Pick(200)));
    break;
  case 12:
    AdvanceTime(DWORD(c.Pick(300)));
    break;
  case 13:
    EnableWindow(c.Any(), c.Pick(3) != 0);
    break;
  case 14:
    SetParent(c.Any(), c.Pick(2) ? c.Any() : nullptr);
    break;
  case 15:
    switch (c.Pick(5)) {
    case 0:
      SetCapture(c.Any());
      break;
    case 1:
      SetFocus(c.Any());
      break;
    case 2:
      PostMessage(c.Any(), WM_USER, 0, 0);
      break;
    case 3:
      InputAppActive(c.Pick(2) != 0);
      break;
    default:
      screen.DoubleClick(r.left, r.top);
      break;
    }
    break;
  }
  PumpMessages();
  std::erase_if(c.pool, [](HWND h) { return !IsWindow(h); });
}

TEST_P(Stress, RandomOperationsKeepTheWindowSystemConsistent) {
  Chaos chaos{std::mt19937(GetParam()), {}};
  g_chaos = &chaos;
  WNDCLASS wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = CALLBACK_Chaos;
  wc.lpszClassName = "Chaos";
  EnsureClass(wc);
  for (int i = 0; i < 800; ++i) {
    Step(chaos, *screen);
    for (HWND h : {GetCapture(), GetFocus(), GetActiveWindow()})
      ASSERT_TRUE(h == nullptr || IsWindow(h)) << "step " << i;
    for (HWND h : TopLevelWindows()) {
      ASSERT_TRUE(IsWindowVisible(h));
      const Surface* s = GetWindowSurface(h);
      RECT wr, cr;
      GetWindowRect(h, &wr);
      GetClientRect(h, &cr);
      ASSERT_NE(s, nullptr);
      ASSERT_EQ(s->Width(), wr.Width()) << "step " << i;
      ASSERT_LE(cr.Width(), wr.Width());
      ASSERT_LE(cr.Height(), wr.Height());
    }
  }
  screen->ComposeScreen();
  ResetWindowSystem();
  g_chaos = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Seeds, Stress, ::testing::Values(1u, 2u, 3u));

} // namespace
} // namespace zel::sys::test
