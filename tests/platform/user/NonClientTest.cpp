// Non-client geometry, hit testing, and what the default window procedure
// does with the frame: moving, sizing, maximising, the caption buttons.

#include <vector>

#include "tests/platform/user/UserTestSupport.h"

namespace zel::sys::test {
namespace {

class NonClient : public UserTest {
protected:
  LRESULT Hit(HWND w, int x, int y) { return SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(x, y)); }
  RECT Rect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
  }
};

TEST_F(NonClient, OverlappedWindowHasFrameAndCaptionAroundTheClient) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  RECT c;
  GetClientRect(w, &c);
  const int f = GetSystemMetrics(SM_CXSIZEFRAME), cap = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(c, (RECT{0, 0, 300 - 2 * f, 200 - 2 * f - cap}));
  POINT o{0, 0};
  ClientToScreen(w, &o);
  EXPECT_EQ(o, (POINT{100 + f, 100 + f + cap}));
  // AdjustWindowRectEx goes the other way.
  RECT back = c;
  OffsetRect(back, o.x, o.y);
  AdjustWindowRectEx(&back, WS_OVERLAPPEDWINDOW, 0, 0);
  EXPECT_EQ(back, (RECT{100, 100, 400, 300}));

  HWND tool = Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, RECT{0, 0, 300, 120},
                   nullptr, WS_EX_TOOLWINDOW);
  GetClientRect(tool, &c);
  EXPECT_EQ(c.Height(), 120 - 2 * f - GetSystemMetrics(SM_CYSMCAPTION));
  EXPECT_LT(GetSystemMetrics(SM_CYSMCAPTION), cap);

  HWND bare = Make(WS_POPUP, RECT{0, 0, 50, 40});
  GetClientRect(bare, &c);
  EXPECT_EQ(c, (RECT{0, 0, 50, 40}));
}

TEST_F(NonClient, HitTestNamesEveryPart) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  const int f = GetSystemMetrics(SM_CXSIZEFRAME);
  const int capMid = 100 + f + GetSystemMetrics(SM_CYCAPTION) / 2;
  EXPECT_EQ(Hit(w, 250, 200), HTCLIENT);
  EXPECT_EQ(Hit(w, 250, capMid), HTCAPTION);
  EXPECT_EQ(Hit(w, 100 + f + 6, capMid), HTSYSMENU);
  EXPECT_EQ(Hit(w, 400 - f - 6, capMid), HTCLOSE);
  EXPECT_EQ(Hit(w, 400 - f - 6 - 18, capMid), HTMAXBUTTON);
  EXPECT_EQ(Hit(w, 400 - f - 6 - 34, capMid), HTMINBUTTON);
  EXPECT_EQ(Hit(w, 101, 200), HTLEFT);
  EXPECT_EQ(Hit(w, 398, 200), HTRIGHT);
  EXPECT_EQ(Hit(w, 250, 101), HTTOP);
  EXPECT_EQ(Hit(w, 250, 298), HTBOTTOM);
  EXPECT_EQ(Hit(w, 100, 100), HTTOPLEFT);
  EXPECT_EQ(Hit(w, 399, 100), HTTOPRIGHT);
  EXPECT_EQ(Hit(w, 100, 299), HTBOTTOMLEFT);
  EXPECT_EQ(Hit(w, 399, 299), HTBOTTOMRIGHT);
  EXPECT_EQ(Hit(w, 99, 200), HTNOWHERE);
  EXPECT_EQ(Hit(w, 400, 200), HTNOWHERE);

  // A fixed frame cannot be sized; no system menu, no buttons.
  HWND fixed = Make(WS_POPUP | WS_CAPTION | WS_VISIBLE, RECT{500, 100, 700, 200});
  EXPECT_EQ(Hit(fixed, 501, 150), HTBORDER);
  EXPECT_EQ(Hit(fixed, 700 - 6, 100 + 3 + 5), HTCAPTION);
}

TEST_F(NonClient, CaptionDragMovesTheWindow) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Pump();
  ClearLog();
  screen->Drag(200, 110, 330, 170, 5);
  EXPECT_EQ(Rect(w), (RECT{230, 160, 530, 360}));
  EXPECT_EQ(GetCapture(), nullptr);
  const auto moves = Only({WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE});
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[0].second, WM_ENTERSIZEMOVE);
  EXPECT_EQ(moves[1].second, WM_EXITSIZEMOVE);
  EXPECT_FALSE(Only({WM_MOVE}).empty());
  // The screen shows it at the new place only.
  EXPECT_EQ(Pixel(150, 150), GetSysColor(COLOR_BACKGROUND));
  EXPECT_NE(Pixel(300, 165), GetSysColor(COLOR_BACKGROUND));
}

TEST_F(NonClient, EscapeDuringAMoveRestoresThePlace) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Pump();
  screen->Press(200, 110);
  screen->MoveTo(260, 150);
  EXPECT_EQ(Rect(w).left, 160);
  screen->Key(VK_ESCAPE);
  EXPECT_EQ(Rect(w), (RECT{100, 100, 400, 300}));
  screen->Release(300, 200);
  EXPECT_EQ(Rect(w), (RECT{100, 100, 400, 300}));
}

TEST_F(NonClient, LosingTheForegroundEndsAMove) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Pump();
  screen->Press(200, 110);
  screen->MoveTo(250, 130);
  InputAppActive(false);
  screen->MoveTo(400, 400);
  screen->Release(400, 400);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{150, 120, 450, 320}));
  EXPECT_EQ(GetCapture(), nullptr);
}

// Moving and sizing from the keyboard (a system menu's "move" and "size"):
// the pointer stays put, arrows take the window in steps of 8 pixels (1
// with Ctrl), a size's first arrow on an axis picks that edge; Enter or a
// click keeps, Esc puts the window back.  No key reaches the window.
TEST_F(NonClient, TheKeyboardMovesAndSizesAWindowInSteps) {
  constexpr UINT kClick = 0; // ends with a click instead of a key
  struct Row {
    const char* name;
    WPARAM command;
    std::vector<UINT> arrows;
    bool ctrl;
    UINT end;
    RECT expected;
  };
  const Row rows[] = {
      {"move right three steps",
       SC_MOVE,
       {VK_RIGHT, VK_RIGHT, VK_RIGHT},
       false,
       VK_RETURN,
       {124, 100, 424, 300}},
      {"move with Ctrl: one pixel", SC_MOVE, {VK_LEFT, VK_UP}, true, VK_RETURN, {99, 99, 399, 299}},
      {"move, a click keeps", SC_MOVE, {VK_UP, VK_LEFT}, false, kClick, {92, 92, 392, 292}},
      {"move, Esc puts it back",
       SC_MOVE,
       {VK_RIGHT, VK_DOWN},
       false,
       VK_ESCAPE,
       {100, 100, 400, 300}},
      {"size: the first arrow picks the edge",
       SC_SIZE,
       {VK_RIGHT, VK_RIGHT, VK_RIGHT},
       false,
       VK_RETURN,
       {100, 100, 416, 300}},
      {"size the left edge", SC_SIZE, {VK_LEFT, VK_LEFT}, false, VK_RETURN, {92, 100, 400, 300}},
      {"size: across arrow makes a corner",
       SC_SIZE,
       {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT},
       false,
       VK_RETURN,
       {100, 100, 408, 308}},
      {"size, Esc puts it back",
       SC_SIZE,
       {VK_UP, VK_UP, VK_UP},
       false,
       VK_ESCAPE,
       {100, 100, 400, 300}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    HWND w = MakeFrame(RECT{100, 100, 400, 300});
    Pump();
    screen->MoveTo(600, 500);
    ClearLog();
    SendMessage(w, WM_SYSCOMMAND, row.command, 0);
    if (row.ctrl) screen->KeyDown(VK_CONTROL);
    for (UINT vk : row.arrows)
      screen->Key(vk);
    if (row.ctrl) screen->KeyUp(VK_CONTROL);
    if (row.end == kClick)
      screen->Click(600, 500);
    else
      screen->Key(row.end);
    EXPECT_EQ(Rect(w), row.expected);
    EXPECT_EQ(GetCapture(), nullptr);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor, (POINT{600, 500}));
    EXPECT_EQ(Only({WM_KEYDOWN, WM_LBUTTONDOWN, WM_LBUTTONUP}).size(), 0u);
    EXPECT_EQ(Only({WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}).size(), 2u);
    // Once it ended, keys reach the window again.
    screen->Key(VK_RIGHT);
    EXPECT_EQ(Rect(w), row.expected);
    EXPECT_EQ(Only({WM_KEYDOWN}).size(), 1u);
    DestroyWindow(w);
  }
}

// The mouse takes over a keyboard move from where it first moves; a
// maximised window does not move, a fixed frame does not size.
TEST_F(NonClient, AKeyboardMoveFollowsTheMouseAndKnowsWhatTheWindowAllows) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Pump();
  screen->MoveTo(600, 500);
  SendMessage(w, WM_SYSCOMMAND, SC_MOVE, 0);
  screen->MoveTo(610, 520);
  EXPECT_EQ(Rect(w), (RECT{110, 120, 410, 320}));
  screen->Release(610, 520);
  EXPECT_EQ(GetCapture(), nullptr);
  ShowWindow(w, SW_MAXIMIZE);
  const RECT zoomed = Rect(w);
  SendMessage(w, WM_SYSCOMMAND, SC_MOVE, 0);
  SendMessage(w, WM_SYSCOMMAND, SC_SIZE, 0);
  screen->Key(VK_LEFT);
  screen->Key(VK_LEFT);
  EXPECT_EQ(Rect(w), zoomed);
  HWND fixed = Make(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, RECT{50, 50, 250, 200});
  Pump();
  SendMessage(fixed, WM_SYSCOMMAND, SC_SIZE, 0);
  screen->Key(VK_RIGHT);
  screen->Key(VK_RIGHT);
  EXPECT_EQ(Rect(fixed), (RECT{50, 50, 250, 200}));
}

TEST_F(NonClient, FrameDragSizesTheWindowWithinTheMinimumTrackSize) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Pump();
  screen->Drag(399, 299, 449, 339);
  EXPECT_EQ(Rect(w), (RECT{100, 100, 450, 340}));
  screen->Drag(101, 200, 91, 200); // the left edge
  EXPECT_EQ(Rect(w), (RECT{90, 100, 450, 340}));
  screen->Drag(449, 339, 0, 0); // far past the top left
  RECT r = Rect(w);
  EXPECT_EQ(r.left, 90);
  EXPECT_EQ(r.Width(), GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_EQ(r.Height(), GetSystemMetrics(SM_CYMINTRACK));
  RECT c;
  GetClientRect(w, &c);
  EXPECT_GE(c.Height(), 0);
}

TEST_F(NonClient, AWindowSizedByItsFrameMayChangeTheRectangleOnTheWay) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  std::vector<WPARAM> edges;
  // Widths snap to multiples of 50, the side dragged giving way.
  Rec().handlers[w] = [&edges](HWND, UINT m, WPARAM edge, LPARAM l) -> std::optional<LRESULT> {
    if (m != WM_SIZING) return std::nullopt;
    edges.push_back(edge);
    auto* r = reinterpret_cast<RECT*>(l);
    const int width = (r->Width() + 25) / 50 * 50;
    if (edge == WMSZ_LEFT)
      r->left = r->right - width;
    else
      r->right = r->left + width;
    return 1;
  };
  Pump();
  screen->Drag(399, 299, 430, 310, 2); // the bottom right corner
  EXPECT_EQ(Rect(w), (RECT{100, 100, 450, 311}));
  EXPECT_EQ(edges.back(), WMSZ_BOTTOMRIGHT);
  screen->Drag(101, 200, 140, 200, 2); // the left edge
  EXPECT_EQ(Rect(w), (RECT{150, 100, 450, 311}));
  EXPECT_EQ(edges.back(), WMSZ_LEFT);
}

TEST_F(NonClient, CaptionDoubleClickMaximisesAndRestores) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Pump();
  screen->DoubleClick(200, 110);
  EXPECT_TRUE(IsZoomed(w));
  const int f = GetSystemMetrics(SM_CXSIZEFRAME);
  EXPECT_EQ(Rect(w), (RECT{-f, -f, 1280 + f, 800 + f}));
  clock.Advance(1000); // not a continuation of the first double click
  screen->DoubleClick(200, 5);
  EXPECT_FALSE(IsZoomed(w));
  EXPECT_EQ(Rect(w), (RECT{100, 100, 400, 300}));
}

TEST_F(NonClient, AWindowMayLimitItsMaximisedSize) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Rec().handlers[w] = [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_GETMINMAXINFO) {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
      mmi->ptMaxSize = POINT{600, 500};
      mmi->ptMaxPosition = POINT{10, 20};
    }
    return std::nullopt;
  };
  ShowWindow(w, SW_MAXIMIZE);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{10, 20, 610, 520}));
  EXPECT_TRUE(IsZoomed(w));
}

// A window manager's panel keeps its share of the screen: maximising fills
// the work area (its frame just outside it), which the backend reports and
// the window system keeps on the screen.
TEST_F(NonClient, MaximiseFillsTheWorkAreaOfTheBackend) {
  struct Row {
    RECT reported, expected;
  } rows[] = {{RECT{0, 0, 1280, 760}, RECT{0, 0, 1280, 760}},
              {RECT{0, 40, 1280, 800}, RECT{0, 40, 1280, 800}},
              {RECT{-50, 30, 2000, 700}, RECT{0, 30, 1280, 700}},
              {RECT{3000, 0, 3100, 800}, RECT{0, 0, 1280, 800}}};
  for (const Row& row : rows) {
    screen->SetWorkArea(row.reported);
    RECT work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work, row.expected);
    HWND w = MakeFrame(RECT{100, 100, 400, 300});
    ShowWindow(w, SW_MAXIMIZE);
    RECT r{};
    GetWindowRect(w, &r);
    const int f = GetSystemMetrics(SM_CXSIZEFRAME);
    EXPECT_EQ(r, (RECT{row.expected.left - f, row.expected.top - f, row.expected.right + f,
                       row.expected.bottom + f}));
    DestroyWindow(w);
  }
}

TEST_F(NonClient, CloseButtonClosesOnlyWhenReleasedOverIt) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Pump();
  const int f = GetSystemMetrics(SM_CXSIZEFRAME);
  const int x = 400 - f - 8, y = 100 + f + 8;
  ASSERT_EQ(Hit(w, x, y), HTCLOSE);
  screen->Press(x, y);
  screen->MoveTo(x - 100, y + 50);
  screen->Release(x - 100, y + 50);
  EXPECT_TRUE(IsWindow(w));
  ClearLog();
  screen->Click(x, y); // soon after: a double click on the button still presses it
  EXPECT_FALSE(IsWindow(w));
  const auto seq = Only({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY});
  ASSERT_EQ(seq.size(), 3u);
  EXPECT_EQ(seq[0].second, WM_SYSCOMMAND);
  EXPECT_EQ(seq[1].second, WM_CLOSE);
}

TEST_F(NonClient, MinimiseButtonAndRestore) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Pump();
  const int f = GetSystemMetrics(SM_CXSIZEFRAME);
  screen->Click(400 - f - 6 - 34, 100 + f + 8);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_TRUE(TopLevelWindows().empty()); // a minimised top-level window is not on the screen
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsIconic(w));
  EXPECT_EQ(Rect(w), (RECT{100, 100, 400, 300}));
  EXPECT_EQ(GetActiveWindow(), w);
  WINDOWPLACEMENT wp;
  ShowWindow(w, SW_MAXIMIZE);
  GetWindowPlacement(w, &wp);
  EXPECT_EQ(wp.showCmd, UINT(SW_SHOWMAXIMIZED));
  EXPECT_EQ(wp.rcNormalPosition, (RECT{100, 100, 400, 300}));
}

TEST_F(NonClient, MinimisedChildKeepsACaptionAtTheBottomOfItsParent) {
  HWND top = MakeFrame(RECT{0, 0, 600, 400});
  HWND child = Make(WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, RECT{20, 20, 220, 170}, top);
  ShowWindow(child, SW_MINIMIZE);
  RECT pc;
  GetClientRect(top, &pc);
  RECT r;
  GetWindowRect(child, &r);
  POINT o{0, 0};
  ClientToScreen(top, &o);
  EXPECT_EQ(r.bottom - o.y, pc.bottom);
  EXPECT_EQ(r.Width(), GetSystemMetrics(SM_CXMINIMIZED));
  RECT c;
  GetClientRect(child, &c);
  EXPECT_TRUE(IsRectEmpty(c));
  ShowWindow(child, SW_RESTORE);
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left - o.x, 20);
  EXPECT_EQ(r.Width(), 200);
  // More minimised children than fit along the bottom go on in a row above,
  // each whole inside the parent.
  const int cw = GetSystemMetrics(SM_CXMINIMIZED), ch = GetSystemMetrics(SM_CYMINIMIZED);
  const int perRow = pc.Width() / cw;
  ASSERT_GE(perRow, 1);
  for (int i = 0; i <= perRow; ++i) {
    HWND c = Make(WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, RECT{20, 20, 220, 170}, top);
    ShowWindow(c, SW_MINIMIZE);
    GetWindowRect(c, &r);
    SCOPED_TRACE(i);
    EXPECT_EQ(r.left - o.x, (i % perRow) * cw);
    EXPECT_EQ(r.bottom - o.y, pc.bottom - (i / perRow) * ch);
    EXPECT_LE(r.right - o.x, pc.right);
  }
}

TEST_F(NonClient, ChildFramesMoveInsideTheirParentAndAreClippedByIt) {
  HWND top = MakeFrame(RECT{0, 0, 500, 400});
  HWND child = Make(WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, RECT{20, 20, 220, 170}, top);
  Rec().paint[top] = RGB(171, 171, 171);
  Rec().paint[child] = RGB(255, 255, 255);
  Pump();
  POINT o{0, 0};
  ClientToScreen(top, &o);
  // Drag the child's caption 400 pixels right: most of it leaves the parent.
  screen->Drag(o.x + 100, o.y + 30, o.x + 500, o.y + 60);
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left - o.x, 420);
  EXPECT_EQ(r.top - o.y, 50);
  RECT pc;
  GetWindowRect(top, &pc);
  // Inside the parent the child shows; beyond the parent's client area nothing of it does.
  EXPECT_EQ(Pixel(o.x + 440, o.y + 120), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(pc.right + 5, o.y + 120), GetSysColor(COLOR_BACKGROUND));
  // Where the child was, the parent shows again.
  EXPECT_EQ(Pixel(o.x + 100, o.y + 100), RGB(171, 171, 171));
}

TEST_F(NonClient, AWindowCanClaimItsClientAsCaptionAndRefuseToClose) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, RECT{100, 100, 200, 200});
  Rec().handlers[w] = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_NCHITTEST) return HTCAPTION;
    if (m == WM_CLOSE) return 0;
    return std::nullopt;
  };
  Pump();
  screen->Drag(150, 150, 170, 140);
  EXPECT_EQ(Rect(w), (RECT{120, 90, 220, 190}));
  SendMessage(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(w));
}

} // namespace
} // namespace zel::sys::test
