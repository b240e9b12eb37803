// Mouse and keyboard input: capture, mouse leave, activation and the
// program's foreground, mouse activation answers, double clicks, keys,
// disabled windows, cursors and the wheel.

#include "tests/platform/user/UserTestSupport.h"

namespace zel::sys::test {
namespace {

using Seq = std::vector<std::pair<HWND, UINT>>;

class Input : public UserTest {
protected:
  POINT ScreenOf(HWND w, int x, int y) {
    POINT p{x, y};
    ClientToScreen(w, &p);
    return p;
  }
  const Logged* Last(UINT msg) {
    for (auto it = Rec().log.rbegin(); it != Rec().log.rend(); ++it)
      if (it->msg == msg) return &*it;
    return nullptr;
  }
};

TEST_F(Input, CaptureTakesTheMouseAndReportsItsLoss) {
  HWND a = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND b = Make(WS_POPUP | WS_VISIBLE, RECT{200, 0, 300, 100});
  Pump();
  EXPECT_EQ(SetCapture(a), nullptr);
  ClearLog();
  screen->MoveTo(250, 50); // over b, but a has the mouse
  const Logged* mv = Last(WM_MOUSEMOVE);
  ASSERT_NE(mv, nullptr);
  EXPECT_EQ(mv->hwnd, a);
  EXPECT_EQ(GET_X_LPARAM(mv->lp), 250);
  screen->MoveTo(-20, -5); // off every window, coordinates still arrive
  mv = Last(WM_MOUSEMOVE);
  EXPECT_EQ(GET_X_LPARAM(mv->lp), -20);
  EXPECT_EQ(GET_Y_LPARAM(mv->lp), -5);
  ClearLog();
  EXPECT_EQ(SetCapture(b), a);
  ASSERT_EQ(Only({WM_CAPTURECHANGED}), (Seq{{a, WM_CAPTURECHANGED}}));
  EXPECT_EQ(Rec().log[0].lp, reinterpret_cast<LPARAM>(b));
  ClearLog();
  EXPECT_TRUE(ReleaseCapture());
  ASSERT_EQ(Only({WM_CAPTURECHANGED}), (Seq{{b, WM_CAPTURECHANGED}}));
  EXPECT_EQ(Rec().log[0].lp, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  // Destroying the holder ends the capture.
  SetCapture(a);
  DestroyWindow(a);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, MouseLeaveIsPostedOnceWhenTheMouseGoes) {
  HWND a = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  Make(WS_POPUP | WS_VISIBLE, RECT{100, 0, 200, 100});
  Pump();
  screen->MoveTo(50, 50);
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = a;
  ASSERT_TRUE(TrackMouseEvent(&tme));
  ClearLog();
  screen->MoveTo(60, 50);
  EXPECT_TRUE(Only({WM_MOUSELEAVE}).empty());
  screen->MoveTo(150, 50);
  EXPECT_EQ(Only({WM_MOUSELEAVE}), (Seq{{a, WM_MOUSELEAVE}}));
  screen->MoveTo(50, 50);
  screen->MoveTo(500, 500); // no tracking any more
  EXPECT_EQ(Only({WM_MOUSELEAVE}).size(), 1u);
  // Tracking a window the mouse is not over reports the leave at once.
  ClearLog();
  TrackMouseEvent(&tme);
  Pump();
  EXPECT_EQ(Only({WM_MOUSELEAVE}), (Seq{{a, WM_MOUSELEAVE}}));
}

TEST_F(Input, NonClientLeaveWhenTheMouseGoesFromCaptionToClient) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Pump();
  screen->MoveTo(200, 110);
  ASSERT_EQ(Last(WM_NCMOUSEMOVE)->wp, WPARAM(HTCAPTION));
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE | TME_NONCLIENT;
  tme.hwndTrack = w;
  TrackMouseEvent(&tme);
  ClearLog();
  screen->MoveTo(200, 200);
  EXPECT_EQ(Only({WM_NCMOUSELEAVE, WM_MOUSELEAVE}), (Seq{{w, WM_NCMOUSELEAVE}}));
}

TEST_F(Input, ClickActivationOrder) {
  HWND a = MakeFrame(RECT{0, 0, 300, 300}, "A");
  HWND b = MakeFrame(RECT{400, 0, 700, 300}, "B");
  ShowWindow(a, SW_SHOW);
  SetActiveWindow(a);
  Pump();
  ASSERT_EQ(GetActiveWindow(), a);
  ASSERT_EQ(GetFocus(), a);
  ClearLog();
  screen->Click(550, 150);
  const Seq seq = Only({WM_MOUSEACTIVATE, WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS,
                        WM_LBUTTONDOWN, WM_ACTIVATEAPP});
  EXPECT_EQ(seq, (Seq{{b, WM_MOUSEACTIVATE},
                      {a, WM_NCACTIVATE},
                      {a, WM_ACTIVATE},
                      {b, WM_NCACTIVATE},
                      {b, WM_ACTIVATE},
                      {a, WM_KILLFOCUS},
                      {b, WM_SETFOCUS},
                      {b, WM_LBUTTONDOWN}}));
  for (const Logged& l : Rec().log) {
    if (l.msg == WM_ACTIVATE && l.hwnd == b) {
      EXPECT_EQ(LOWORD(l.wp), WA_CLICKACTIVE);
      EXPECT_EQ(l.lp, reinterpret_cast<LPARAM>(a));
    }
    if (l.msg == WM_ACTIVATE && l.hwnd == a) {
      EXPECT_EQ(LOWORD(l.wp), WA_INACTIVE);
    }
  }
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(GetTopWindow(nullptr), b);
  // Clicking the active window again asks no activation.
  ClearLog();
  screen->Click(560, 150);
  EXPECT_TRUE(Only({WM_MOUSEACTIVATE, WM_ACTIVATE}).empty());
}

// When the active window goes (hidden or destroyed), the activation and
// the keys go to its owner, else to the window that was active before it
// (or before that one, when it has gone too), else to the frontmost window
// that can take them: never to a window only because it lies in front.
TEST_F(Input, ActivationGoesBackWhereItCameFrom) {
  struct Case {
    const char* what;
    bool ownedByOther; // the dialog is owned by the other window
    bool chain;        // a second dialog, opened from the first, goes first
    bool disableMain;  // the main window cannot take the activation
    bool destroy;      // the dialog is destroyed rather than hidden
    char expected;     // 'M' main, 'O' other
  };
  const Case cases[] = {
      {"hidden", false, false, false, false, 'M'},
      {"destroyed", false, false, false, true, 'M'},
      {"the owner wins", true, false, false, false, 'O'},
      {"a chain of dialogs", false, true, false, false, 'M'},
      {"the main window disabled", false, false, true, false, 'O'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    HWND main = MakeFrame(RECT{0, 0, 300, 300}, "Main");
    HWND other = MakeFrame(RECT{400, 0, 700, 300}, "Other");
    SetActiveWindow(main);
    // The other window lies in front of the main one without being active.
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND dialog =
        Make(WS_POPUP | WS_CAPTION, RECT{100, 100, 200, 200}, c.ownedByOther ? other : nullptr);
    ShowWindow(dialog, SW_SHOW);
    ASSERT_EQ(GetActiveWindow(), dialog);
    if (c.chain) {
      HWND second = Make(WS_POPUP | WS_CAPTION, RECT{120, 120, 220, 220});
      ShowWindow(second, SW_SHOW);
      ShowWindow(dialog, SW_HIDE);
      ASSERT_EQ(GetActiveWindow(), second);
      dialog = second;
    }
    if (c.disableMain) EnableWindow(main, FALSE);
    Pump();
    if (c.destroy)
      DestroyWindow(dialog);
    else
      ShowWindow(dialog, SW_HIDE);
    Pump();
    const HWND expected = c.expected == 'M' ? main : other;
    EXPECT_EQ(GetActiveWindow(), expected);
    EXPECT_EQ(GetFocus(), expected);
  }
}

TEST_F(Input, ActivateAppFollowsTheForeground) {
  HWND a = MakeFrame(RECT{0, 0, 300, 300});
  HWND hidden = Make(WS_POPUP, RECT{0, 0, 10, 10});
  Pump();
  ASSERT_TRUE(IsApplicationActive());
  ClearLog();
  InputAppActive(false);
  EXPECT_EQ(Only({WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS}),
            (Seq{{a, WM_NCACTIVATE},
                 {a, WM_ACTIVATE},
                 {hidden, WM_ACTIVATEAPP},
                 {a, WM_ACTIVATEAPP},
                 {a, WM_KILLFOCUS}}));
  EXPECT_EQ(Last(WM_ACTIVATEAPP)->wp, 0u);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  ClearLog();
  InputAppActive(true);
  // Every top-level window hears of it (in z-order) before the activation.
  const Seq seq = Only({WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS});
  ASSERT_EQ(seq.size(), 5u);
  EXPECT_THAT((std::vector<HWND>{seq[0].first, seq[1].first}),
              ::testing::UnorderedElementsAre(a, hidden));
  EXPECT_EQ(seq[1].second, WM_ACTIVATEAPP);
  EXPECT_EQ(Seq(seq.begin() + 2, seq.end()),
            (Seq{{a, WM_NCACTIVATE}, {a, WM_ACTIVATE}, {a, WM_SETFOCUS}}));
  EXPECT_EQ(Last(WM_ACTIVATEAPP)->wp, 1u);
  EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(Input, MouseActivateAnswersDecideActivationAndEating) {
  HWND a = MakeFrame(RECT{0, 0, 300, 300});
  HWND menu = Make(WS_POPUP | WS_VISIBLE, RECT{400, 0, 500, 100});
  Rec().handlers[menu] = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return std::nullopt;
  };
  SetActiveWindow(a);
  Pump();
  ClearLog();
  screen->Click(450, 50);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(Only({WM_LBUTTONDOWN}), (Seq{{menu, WM_LBUTTONDOWN}}));
  Rec().handlers[menu] = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_MOUSEACTIVATE) return MA_ACTIVATEANDEAT;
    return std::nullopt;
  };
  ClearLog();
  screen->Click(450, 50);
  EXPECT_EQ(GetActiveWindow(), menu);
  EXPECT_TRUE(Only({WM_LBUTTONDOWN}).empty());
  EXPECT_EQ(Only({WM_LBUTTONUP}).size(), 1u);
}

TEST_F(Input, DoubleClicksNeedTheClassStyleTheTimeAndTheBox) {
  WNDCLASS wc;
  wc.lpfnWndProc = CALLBACK_Record;
  wc.lpszClassName = "Plain";
  EnsureClass(wc);
  HWND dbl = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND plain = CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE, 200, 0, 100, 100, nullptr);
  Pump();
  ClearLog();
  screen->DoubleClick(50, 50);
  EXPECT_EQ(Only({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (Seq{{dbl, WM_LBUTTONDOWN}, {dbl, WM_LBUTTONDBLCLK}}));
  ClearLog();
  screen->DoubleClick(250, 50);
  EXPECT_EQ(Only({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (Seq{{plain, WM_LBUTTONDOWN}, {plain, WM_LBUTTONDOWN}}));
  ClearLog();
  clock.Advance(1000);
  screen->Click(50, 50);
  clock.Advance(GetDoubleClickTime() + 1);
  screen->Click(50, 50); // too late
  clock.Advance(10);
  screen->Click(50 + GetSystemMetrics(SM_CXDOUBLECLK), 50); // too far
  clock.Advance(10);
  screen->Click(50 + GetSystemMetrics(SM_CXDOUBLECLK), 51); // close enough to the last
  EXPECT_EQ(Only({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}), (Seq{{dbl, WM_LBUTTONDOWN},
                                                           {dbl, WM_LBUTTONDOWN},
                                                           {dbl, WM_LBUTTONDOWN},
                                                           {dbl, WM_LBUTTONDBLCLK}}));
}

TEST_F(Input, MouseMessagesCarryClientPointsAndKeyFlags) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{10, 20, 110, 120}, w);
  Pump();
  const POINT p = ScreenOf(child, 7, 9);
  ClearLog();
  screen->KeyDown(VK_SHIFT);
  screen->Press(p.x, p.y, MouseButton::Right);
  const Logged* down = Last(WM_RBUTTONDOWN);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->hwnd, child);
  EXPECT_EQ(GET_X_LPARAM(down->lp), 7);
  EXPECT_EQ(GET_Y_LPARAM(down->lp), 9);
  EXPECT_EQ(down->wp, MK_RBUTTON | MK_SHIFT);
  EXPECT_TRUE(GetAsyncKeyState(VK_RBUTTON) & 0x8000);
  EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
  BYTE keys[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  EXPECT_EQ(keys[VK_SHIFT], 0x80);
  EXPECT_EQ(keys[VK_RBUTTON], 0x80);
  EXPECT_EQ(keys[VK_LBUTTON], 0);
  screen->Release(p.x, p.y, MouseButton::Right);
  screen->KeyUp(VK_SHIFT);
  EXPECT_EQ(Last(WM_RBUTTONUP)->wp, WPARAM(MK_SHIFT));
  EXPECT_FALSE(GetAsyncKeyState(VK_RBUTTON) & 0x8000);
  EXPECT_FALSE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
  POINT cur;
  GetCursorPos(&cur);
  EXPECT_EQ(cur, p);
}

TEST_F(Input, KeysGoToTheFocusAltMakesSystemKeysTextMakesCharacters) {
  HWND w = MakeFrame(RECT{0, 0, 300, 300});
  HWND edit = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 100, 30}, w);
  Pump();
  ClearLog();
  EXPECT_EQ(SetFocus(edit), w);
  EXPECT_EQ(Only({WM_KILLFOCUS, WM_SETFOCUS}), (Seq{{w, WM_KILLFOCUS}, {edit, WM_SETFOCUS}}));
  ClearLog();
  screen->Key('A');
  screen->Type("Жx");
  screen->KeyDown(VK_MENU);
  screen->Key('F');
  screen->KeyUp(VK_MENU);
  screen->Key(VK_MENU); // Alt alone
  // Releasing Alt after Alt+F is a plain key release; Alt alone is a system key.
  const Seq seq = Only({WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP});
  EXPECT_EQ(seq, (Seq{{edit, WM_KEYDOWN},
                      {edit, WM_KEYUP},
                      {edit, WM_CHAR},
                      {edit, WM_CHAR},
                      {edit, WM_SYSKEYDOWN},
                      {edit, WM_SYSKEYDOWN},
                      {edit, WM_SYSKEYUP},
                      {edit, WM_KEYUP},
                      {edit, WM_SYSKEYDOWN},
                      {edit, WM_SYSKEYUP}}));
  std::vector<WPARAM> chars;
  for (const Logged& l : Rec().log)
    if (l.msg == WM_CHAR) chars.push_back(l.wp);
  EXPECT_EQ(chars, (std::vector<WPARAM>{0x416, 'x'}));
  for (const Logged& l : Rec().log)
    if (l.msg == WM_SYSKEYDOWN && l.wp == 'F') {
      EXPECT_TRUE(l.lp & (1 << 29));
    }
}

TEST_F(Input, MenuKeysAndContextMenus) {
  HWND w = MakeFrame(RECT{0, 0, 300, 300});
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 100, 100}, w);
  SetFocus(child);
  Pump();
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  Rec().handlers[w] = [&](HWND, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_SYSCOMMAND) commands.emplace_back(wp, lp);
    return std::nullopt;
  };
  screen->Key(VK_MENU);
  screen->KeyDown(VK_MENU);
  screen->Key('F');
  screen->KeyUp(VK_MENU);
  EXPECT_EQ(commands, (std::vector<std::pair<WPARAM, LPARAM>>{{SC_KEYMENU, 0}, {SC_KEYMENU, 'f'}}));
  // A right click asks the window, then its parent, for a context menu at the screen point.
  ClearLog();
  POINT p{20, 30};
  ClientToScreen(child, &p);
  screen->Click(p.x, p.y, MouseButton::Right);
  EXPECT_EQ(Only({WM_CONTEXTMENU}), (Seq{{child, WM_CONTEXTMENU}, {w, WM_CONTEXTMENU}}));
  EXPECT_EQ(GET_X_LPARAM(Last(WM_CONTEXTMENU)->lp), p.x);
  EXPECT_EQ(Last(WM_CONTEXTMENU)->wp, reinterpret_cast<WPARAM>(child));
}

TEST_F(Input, TextTypedWithAltHeldComesAsSystemKeysAndTheirCharacters) {
  HWND w = MakeFrame(RECT{0, 0, 300, 300});
  HWND edit = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 100, 30}, w);
  SetFocus(edit);
  Pump();
  std::vector<LPARAM> menus;
  Rec().handlers[w] = [&](HWND, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_SYSCOMMAND && wp == SC_KEYMENU) menus.push_back(lp);
    return std::nullopt;
  };
  ClearLog();
  screen->KeyDown(VK_MENU);
  screen->Type("fп");
  screen->KeyUp(VK_MENU);
  // Each character has a key of its own between Alt's press and release,
  // so the release is not Alt alone and opens no menu.
  const Seq seq = Only({WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR});
  EXPECT_EQ(seq, (Seq{{edit, WM_SYSKEYDOWN},
                      {edit, WM_SYSKEYDOWN},
                      {edit, WM_SYSCHAR},
                      {edit, WM_SYSKEYUP},
                      {edit, WM_SYSKEYDOWN},
                      {edit, WM_SYSCHAR},
                      {edit, WM_SYSKEYUP},
                      {edit, WM_KEYUP}}));
  std::vector<WPARAM> keys, chars;
  for (const Logged& l : Rec().log) {
    if (l.msg == WM_SYSKEYDOWN) keys.push_back(l.wp);
    if (l.msg == WM_SYSCHAR) chars.push_back(l.wp);
  }
  EXPECT_EQ(keys, (std::vector<WPARAM>{VK_MENU, 'F', VK_PACKET}));
  EXPECT_EQ(chars, (std::vector<WPARAM>{'f', 0x43F}));
  EXPECT_EQ(menus, (std::vector<LPARAM>{'f', 0x43F}));
  EXPECT_FALSE(GetAsyncKeyState('F') & 0x8000);

  // Without Alt, and with Ctrl and Alt together, text stays plain text.
  ClearLog();
  screen->Type("g");
  screen->KeyDown(VK_CONTROL);
  screen->KeyDown(VK_MENU);
  screen->Type("@");
  screen->KeyUp(VK_MENU);
  screen->KeyUp(VK_CONTROL);
  EXPECT_EQ(Only({WM_CHAR, WM_SYSCHAR}), (Seq{{edit, WM_CHAR}, {edit, WM_CHAR}}));

  // A desktop may report the text of a letter it has no key code for with
  // no key of its own: Alt's release is still not Alt alone.
  ClearLog();
  menus.clear();
  InputKey(VK_MENU, true);
  InputText("ф");
  InputKey(VK_MENU, false);
  Pump();
  EXPECT_EQ(Only({WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYUP}),
            (Seq{{edit, WM_SYSKEYDOWN}, {edit, WM_SYSCHAR}, {edit, WM_KEYUP}}));
  EXPECT_EQ(menus, (std::vector<LPARAM>{0x444}));

  // Nor is it after a key the desktop could give no name (virtual key 0),
  // text or not: that key itself makes no message.
  ClearLog();
  menus.clear();
  InputKey(VK_MENU, true);
  InputKey(0, true);
  InputKey(0, false);
  InputKey(VK_MENU, false);
  Pump();
  EXPECT_EQ(Only({WM_SYSKEYDOWN, WM_SYSKEYUP, WM_KEYUP}),
            (Seq{{edit, WM_SYSKEYDOWN}, {edit, WM_KEYUP}}));
  EXPECT_TRUE(menus.empty());
}

TEST_F(Input, HoverComesAfterTheMouseRests) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  Pump();
  screen->MoveTo(50, 50);
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_HOVER | TME_LEAVE;
  tme.hwndTrack = w;
  tme.dwHoverTime = 300;
  TrackMouseEvent(&tme);
  ClearLog();
  AdvanceTime(200);
  screen->MoveTo(51, 50); // moving starts the wait again
  AdvanceTime(299);
  EXPECT_TRUE(Only({WM_MOUSEHOVER}).empty());
  AdvanceTime(1);
  EXPECT_EQ(Only({WM_MOUSEHOVER}), (Seq{{w, WM_MOUSEHOVER}}));
  EXPECT_EQ(GET_X_LPARAM(Last(WM_MOUSEHOVER)->lp), 51);
  AdvanceTime(1000);
  EXPECT_EQ(Only({WM_MOUSEHOVER}).size(), 1u); // once per request
  screen->MoveTo(500, 500);
  EXPECT_EQ(Only({WM_MOUSELEAVE}), (Seq{{w, WM_MOUSELEAVE}}));
}

TEST_F(Input, SideSpecificModifiersMoveTheGenericKey) {
  HWND w = MakeFrame(RECT{0, 0, 300, 300});
  Pump();
  ClearLog();
  screen->KeyDown(VK_LSHIFT);
  screen->KeyDown(VK_RSHIFT);
  screen->KeyUp(VK_LSHIFT);
  EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
  EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
  screen->KeyUp(VK_RSHIFT);
  EXPECT_FALSE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
  for (const Logged& l : Rec().log)
    if (l.msg == WM_KEYDOWN || l.msg == WM_KEYUP) {
      EXPECT_EQ(l.hwnd, w);
      EXPECT_EQ(l.wp, WPARAM(VK_SHIFT));
    }
  EXPECT_EQ(Only({WM_KEYDOWN, WM_KEYUP}).size(), 4u);
}

TEST_F(Input, AltF4ClosesTheWindow) {
  HWND w = MakeFrame(RECT{0, 0, 300, 300});
  Pump();
  screen->KeyDown(VK_MENU);
  screen->Key(VK_F4);
  screen->KeyUp(VK_MENU);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(Input, DisabledWindowsGetNoMouse) {
  HWND w = MakeFrame(RECT{0, 0, 300, 300});
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 100, 100}, w);
  EnableWindow(child, 0);
  Pump();
  const POINT p = ScreenOf(child, 5, 5);
  ClearLog();
  screen->Click(p.x, p.y);
  EXPECT_EQ(Only({WM_LBUTTONDOWN}), (Seq{{w, WM_LBUTTONDOWN}}));
  EnableWindow(w, 0);
  ClearLog();
  screen->Click(p.x, p.y);
  EXPECT_TRUE(Only({WM_LBUTTONDOWN}).empty());
  EXPECT_EQ(WindowFromPoint(p), nullptr);
}

TEST_F(Input, CursorFollowsTheHitTestAndTheWheelBubblesUp) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 100, 100}, w);
  Pump();
  screen->MoveTo(101, 200);
  EXPECT_EQ(screen->CursorShape(), IDC_SIZEWE);
  screen->MoveTo(399, 299);
  EXPECT_EQ(screen->CursorShape(), IDC_SIZENWSE);
  screen->MoveTo(200, 110);
  EXPECT_EQ(screen->CursorShape(), IDC_ARROW);
  const POINT p = ScreenOf(child, 5, 5);
  ClearLog();
  screen->Wheel(p.x, p.y, -WHEEL_DELTA);
  EXPECT_EQ(Only({WM_MOUSEWHEEL}), (Seq{{child, WM_MOUSEWHEEL}, {w, WM_MOUSEWHEEL}}));
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Last(WM_MOUSEWHEEL)->wp), -WHEEL_DELTA);
}

} // namespace
} // namespace zel::sys::test
