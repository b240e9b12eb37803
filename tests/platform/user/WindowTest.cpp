// The window tree: z-order with topmost and owned windows, SetWindowPos and
// its messages, ShowWindow, coordinate mapping, hit search, re-parenting
// and subclassing.

#include "tests/platform/user/UserTestSupport.h"

namespace zel::sys::test {
namespace {

using Seq = std::vector<std::pair<HWND, UINT>>;

class Windows : public UserTest {
protected:
  std::vector<HWND> Stack() { return TopLevelWindows(); }
};

TEST_F(Windows, TopmostWindowsStayInFront) {
  HWND a = MakeFrame(RECT{0, 0, 100, 100}, "A");
  HWND t = MakeFrame(RECT{50, 50, 150, 150}, "T", WS_EX_TOPMOST);
  HWND b = MakeFrame(RECT{100, 100, 200, 200}, "B");
  EXPECT_EQ(Stack(), (std::vector<HWND>{t, b, a}));
  SetActiveWindow(a);
  EXPECT_EQ(Stack(), (std::vector<HWND>{t, a, b}));
  const UINT flags = SWP_NOSENDCHANGING | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
  EXPECT_EQ(flags, 0x413u);
  SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, flags);
  EXPECT_EQ(Stack(), (std::vector<HWND>{b, t, a}));
  EXPECT_TRUE(GetWindowLong(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetActiveWindow(), a); // no activation with SWP_NOACTIVATE
  // Behind the foreground window, then no longer topmost.
  SetWindowPos(b, a, 0, 0, 0, 0, flags);
  EXPECT_EQ(Stack(), (std::vector<HWND>{t, a, b}));
  EXPECT_FALSE(GetWindowLong(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(t, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  EXPECT_EQ(Stack(), (std::vector<HWND>{t, a, b}));
  EXPECT_FALSE(GetWindowLong(t, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(t, HWND_BOTTOM, 0, 0, 0, 0, flags);
  EXPECT_EQ(Stack(), (std::vector<HWND>{a, b, t}));
}

TEST_F(Windows, OwnedWindowsRiseWithTheirOwner) {
  HWND owner = MakeFrame(RECT{0, 0, 300, 300}, "Owner");
  HWND tool = Make(WS_POPUP | WS_VISIBLE, RECT{10, 10, 60, 60}, owner);
  HWND other = MakeFrame(RECT{100, 100, 400, 400}, "Other");
  EXPECT_EQ(Stack().front(), other);
  SetActiveWindow(owner);
  EXPECT_EQ(Stack(), (std::vector<HWND>{tool, owner, other}));
  EXPECT_EQ(GetParent(tool), owner);
  EXPECT_EQ(GetAncestor(tool, GA_ROOTOWNER), owner);
}

TEST_F(Windows, SetWindowPosReportsAndMayBeAdjusted) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  Rec().handlers[w] = [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_WINDOWPOSCHANGING) {
      auto* wp = reinterpret_cast<WINDOWPOS*>(l);
      if (wp->cx > 200) wp->cx = 200; // a maximum width
    }
    return std::nullopt;
  };
  ClearLog();
  SetWindowPos(w, nullptr, 10, 20, 500, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{10, 20, 210, 70}));
  EXPECT_EQ(Only({WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (Seq{{w, WM_WINDOWPOSCHANGING},
                 {w, WM_NCCALCSIZE},
                 {w, WM_WINDOWPOSCHANGED},
                 {w, WM_MOVE},
                 {w, WM_SIZE}}));
  ClearLog();
  SetWindowPos(w, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(Only({WM_MOVE, WM_SIZE}).empty()); // nothing changed
  ClearLog();
  MoveWindow(w, 0, 0, 100, 50, 1);
  EXPECT_EQ(Only({WM_MOVE, WM_SIZE}), (Seq{{w, WM_MOVE}, {w, WM_SIZE}}));
  const Logged& size = Rec().log.back();
  EXPECT_EQ(size.wp, SIZE_RESTORED);
  EXPECT_EQ(LOWORD(uintptr_t(size.lp)), 100);
}

TEST_F(Windows, AbsurdSizesAreClamped) {
  HWND w = Make(WS_POPUP, RECT{0, 0, 2000000, 10});
  ASSERT_NE(w, nullptr);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.Width(), 8192);
  SetWindowPos(w, nullptr, 0, 0, -50, 1 << 30, SWP_NOZORDER);
  GetWindowRect(w, &r);
  EXPECT_EQ(r.Width(), 0);
  EXPECT_EQ(r.Height(), 8192);
}

TEST_F(Windows, ShowWindowCommands) {
  HWND a = MakeFrame(RECT{0, 0, 100, 100}, "A");
  HWND b = Make(WS_OVERLAPPEDWINDOW, RECT{200, 0, 300, 100}, nullptr, 0, "B");
  EXPECT_FALSE(IsWindowVisible(b));
  ClearLog();
  EXPECT_FALSE(ShowWindow(b, SW_SHOWNA));
  EXPECT_TRUE(IsWindowVisible(b));
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(Only({WM_SHOWWINDOW}), (Seq{{b, WM_SHOWWINDOW}}));
  EXPECT_TRUE(ShowWindow(b, SW_SHOW));
  EXPECT_EQ(GetActiveWindow(), b);
  // Hiding the active window activates the next one.
  EXPECT_TRUE(ShowWindow(b, SW_HIDE));
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_FALSE(ShowWindow(b, SW_HIDE));
  // A hidden parent hides its children.
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, b);
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_TRUE(GetWindowLong(child, GWL_STYLE) & WS_VISIBLE);
  // A window that refuses activation appears without taking it, however it
  // is shown or moved; only SetActiveWindow gives it.
  HWND strip = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 30, 4}, nullptr,
                    WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  EXPECT_TRUE(IsWindowVisible(strip));
  EXPECT_EQ(GetActiveWindow(), a);
  ShowWindow(strip, SW_HIDE);
  ShowWindow(strip, SW_SHOW);
  SetWindowPos(strip, HWND_TOP, 5, 5, 40, 4, 0);
  EXPECT_EQ(GetActiveWindow(), a);
  SetActiveWindow(strip);
  EXPECT_EQ(GetActiveWindow(), strip);
}

TEST_F(Windows, CoordinatesMapThroughTheTree) {
  HWND top = MakeFrame(RECT{100, 50, 500, 450});
  HWND a = Make(WS_CHILD | WS_VISIBLE, RECT{10, 20, 210, 220}, top);
  HWND a1 = Make(WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{5, 5, 105, 105}, a);
  POINT o{0, 0};
  ClientToScreen(top, &o);
  POINT p{0, 0};
  ClientToScreen(a1, &p);
  EXPECT_EQ(p, (POINT{o.x + 10 + 5 + 1, o.y + 20 + 5 + 1}));
  POINT q{3, 4};
  MapWindowPoints(a1, top, &q, 1);
  EXPECT_EQ(q, (POINT{3 + 16, 4 + 26}));
  ScreenToClient(a1, &p);
  EXPECT_EQ(p, (POINT{0, 0}));
  EXPECT_EQ(WindowFromPoint(POINT{o.x + 20, o.y + 30}), a1);
  EXPECT_EQ(WindowFromPoint(POINT{o.x + 300, o.y + 30}), top);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), nullptr);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{20, 30}), a);
  // A window that says it is transparent is looked through.
  Rec().handlers[a1] = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_NCHITTEST) return HTTRANSPARENT;
    return std::nullopt;
  };
  Rec().ignored.clear();
  EXPECT_EQ(WindowFromPoint(POINT{o.x + 20, o.y + 30}), a);
  // A sibling below a transparent window gets the point before the parent does.
  HWND below = Make(WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 300}, a);
  SetWindowPos(below, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(WindowFromPoint(POINT{o.x + 20, o.y + 30}), below);
}

TEST_F(Windows, SetParentMovesAChild) {
  HWND one = MakeFrame(RECT{0, 0, 300, 300});
  HWND two = MakeFrame(RECT{400, 0, 700, 300});
  HWND c = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 50, 50}, one);
  EXPECT_EQ(SetParent(c, two), one);
  EXPECT_EQ(GetParent(c), two);
  EXPECT_TRUE(IsChild(two, c));
  EXPECT_FALSE(IsChild(one, c));
  EXPECT_EQ(SetParent(two, c), nullptr); // not into its own descendant
  Rec().paint[c] = RGB(0, 200, 0);
  Pump();
  POINT p{20, 20};
  ClientToScreen(two, &p);
  EXPECT_EQ(Pixel(p.x, p.y), RGB(0, 200, 0));
}

TEST_F(Windows, EnumerationVisitsParentsBeforeChildren) {
  HWND top = MakeFrame(RECT{0, 0, 300, 300});
  HWND a = Make(WS_CHILD, RECT{0, 0, 10, 10}, top);
  HWND a1 = Make(WS_CHILD, RECT{0, 0, 5, 5}, a);
  HWND b = Make(WS_CHILD, RECT{0, 0, 10, 10}, top);
  std::vector<HWND> seen;
  EnumChildWindows(top, [&](HWND h) {
    seen.push_back(h);
    if (h == a) DestroyWindow(b); // destroyed meanwhile: skipped
    return true;
  });
  EXPECT_EQ(seen, (std::vector<HWND>{a, a1}));
  seen.clear();
  EXPECT_FALSE(EnumWindows([&](HWND h) {
    seen.push_back(h);
    return false;
  }));
  EXPECT_EQ(seen, (std::vector<HWND>{top}));
}

LRESULT CALLBACK_Sub(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 9) return 99;
  return CallWindowProc(reinterpret_cast<WNDPROC>(GetWindowLongPtr(h, GWLP_USERDATA)), h, m, w, l);
}

TEST_F(Windows, SubclassingThroughTheWindowProcedureSlot) {
  HWND w = MakeFrame(RECT{0, 0, 100, 100});
  const LONG_PTR old = SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CALLBACK_Sub));
  SetWindowLongPtr(w, GWLP_USERDATA, old);
  EXPECT_EQ(SendMessage(w, WM_USER + 9, 0, 0), 99);
  ClearLog();
  SendMessage(w, WM_USER + 10, 0, 0);
  EXPECT_EQ(MessagesOf(w), std::vector<UINT>{WM_USER + 10});
  EXPECT_EQ(GetClassName(w), "Rec");
  WNDCLASS wc;
  wc.lpszClassName = "REC"; // names compare without case
  EXPECT_EQ(RegisterClass(wc), 0);
}

} // namespace
} // namespace zel::sys::test
