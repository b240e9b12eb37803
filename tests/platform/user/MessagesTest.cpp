// Creation and destruction messages, and the order in which the queue hands
// out sent, posted, input, paint and timer messages.

#include "tests/platform/user/UserTestSupport.h"

namespace zel::sys::test {
namespace {

using ::testing::ElementsAre;

class Messages : public UserTest {};

TEST_F(Messages, CreationSendsNcCreateCalcSizeCreateSizeMove) {
  HWND parent = MakeFrame(RECT{10, 10, 310, 210});
  ClearLog();
  HWND child = Make(WS_CHILD, RECT{5, 6, 105, 56}, parent);
  ASSERT_NE(child, nullptr);
  EXPECT_THAT(MessagesOf(child),
              ElementsAre(WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE));
  const Logged& size = Rec().log[3];
  EXPECT_EQ(GET_X_LPARAM(size.lp), 100);
  EXPECT_EQ(GET_Y_LPARAM(size.lp), 50);
  EXPECT_EQ(GetWindowText(child), "");
}

TEST_F(Messages, CreateStructCarriesTheArgumentsAndTheTextIsSet) {
  std::string seenName;
  int seenX = -1;
  Rec().anyWindow = [&](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_CREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(l);
      seenName = cs->lpszName;
      seenX = cs->x;
    }
    return std::nullopt;
  };
  HWND w = MakeFrame(RECT{33, 40, 300, 200}, "Форма 1");
  EXPECT_EQ(seenName, "Форма 1");
  EXPECT_EQ(seenX, 33);
  EXPECT_EQ(GetWindowText(w), "Форма 1");
  EXPECT_EQ(GetWindowTextLength(w), int(std::string("Форма 1").size()));
  // A buffer too small for the text cuts it at a character boundary.
  char buf[6];
  EXPECT_EQ(GetWindowText(w, buf, sizeof buf), 4);
  EXPECT_STREQ(buf, "Фо");
}

TEST_F(Messages, RefusedCreationGivesNoWindow) {
  Rec().anyWindow = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_CREATE) return -1;
    return std::nullopt;
  };
  EXPECT_EQ(MakeFrame(RECT{0, 0, 100, 100}), nullptr);
  EXPECT_THAT(MessagesOf(),
              ElementsAre(WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY));
  ClearLog();
  Rec().anyWindow = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_NCCREATE) return 0;
    return std::nullopt;
  };
  EXPECT_EQ(MakeFrame(RECT{0, 0, 100, 100}), nullptr);
  EXPECT_THAT(MessagesOf(), ElementsAre(WM_NCCREATE, WM_NCDESTROY));
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr), nullptr);
  EXPECT_EQ(Make(WS_CHILD, RECT{0, 0, 5, 5}, nullptr), nullptr); // a child needs a parent
}

TEST_F(Messages, DestroyGoesParentFirstAndNcDestroyChildrenFirst) {
  HWND top = MakeFrame(RECT{0, 0, 300, 300});
  HWND a = Make(WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100}, top);
  HWND a1 = Make(WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, a);
  HWND b = Make(WS_CHILD | WS_VISIBLE, RECT{100, 0, 200, 100}, top);
  ClearLog();
  ASSERT_TRUE(DestroyWindow(top));
  const auto order = Only({WM_DESTROY, WM_NCDESTROY});
  ASSERT_EQ(order.size(), 8u);
  EXPECT_EQ(order[0], std::make_pair(top, WM_DESTROY));
  EXPECT_EQ(order[1], std::make_pair(a, WM_DESTROY));
  EXPECT_EQ(order[2], std::make_pair(a1, WM_DESTROY));
  EXPECT_EQ(order[3], std::make_pair(b, WM_DESTROY));
  EXPECT_EQ(order[4], std::make_pair(a1, WM_NCDESTROY));
  EXPECT_EQ(order[5], std::make_pair(a, WM_NCDESTROY));
  EXPECT_EQ(order[6], std::make_pair(b, WM_NCDESTROY));
  EXPECT_EQ(order[7], std::make_pair(top, WM_NCDESTROY));
  EXPECT_EQ(Rec().log.back().msg, WM_NCDESTROY);
  for (HWND h : {top, a, a1, b})
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(Messages, StaleHandlesAreHarmless) {
  HWND w = MakeFrame(RECT{0, 0, 200, 100});
  SetTimer(w, 1, 50);
  DestroyWindow(w);
  Pump();
  ClearLog();
  RECT r{1, 2, 3, 4};
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(GetWindowRect(w, &r));
  EXPECT_EQ(r, (RECT{1, 2, 3, 4}));
  EXPECT_FALSE(DestroyWindow(w));
  EXPECT_FALSE(SetWindowPos(w, HWND_TOP, 1, 1, 1, 1, 0));
  EXPECT_FALSE(ShowWindow(w, SW_SHOW));
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessage(w, WM_USER, 0, 0));
  EXPECT_FALSE(InvalidateRect(w, nullptr, 1));
  EXPECT_EQ(GetDC(w), nullptr);
  EXPECT_EQ(SetFocus(w), nullptr);
  EXPECT_FALSE(KillTimer(w, 1)); // its timers went with it
  EXPECT_EQ(GetWindowText(w), "");
  AdvanceTime(200);
  EXPECT_TRUE(Rec().log.empty());
}

TEST_F(Messages, OwnedWindowsAreDestroyedBeforeTheirOwner) {
  HWND owner = MakeFrame(RECT{0, 0, 300, 300});
  HWND owned = Make(WS_POPUP | WS_VISIBLE, RECT{10, 10, 60, 60}, owner);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  ClearLog();
  DestroyWindow(owner);
  const auto order = Only({WM_DESTROY, WM_NCDESTROY});
  ASSERT_EQ(order.size(), 4u);
  EXPECT_EQ(order[0], std::make_pair(owned, WM_DESTROY));
  EXPECT_EQ(order[1], std::make_pair(owned, WM_NCDESTROY));
  EXPECT_EQ(order[2], std::make_pair(owner, WM_DESTROY));
}

TEST_F(Messages, SentIsImmediatePostedComesBeforeInputAndPaintBeforeTimers) {
  HWND w = MakeFrame(RECT{100, 100, 400, 300});
  Rec().paint[w] = RGB(200, 0, 0);
  Pump();
  ClearLog();
  screen->SetAutoPump(false);
  SetTimer(w, 7, 10);
  clock.Advance(20);                   // the timer is due
  InvalidateRect(w, nullptr, 1);       // something to paint
  screen->Click(200, 200);             // input waiting
  PostMessage(w, WM_USER + 238, 0, 0); // posted after the input arrived
  EXPECT_EQ(SendMessage(w, WM_USER + 1, 5, 6), 0);
  ASSERT_EQ(MessagesOf().size(), 1u); // the sent one, at once
  ClearLog();
  Pump();
  const auto order = Only({WM_USER + 238, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_PAINT, WM_TIMER});
  ASSERT_EQ(order.size(), 5u);
  EXPECT_EQ(order[0].second, WM_USER + 238);
  EXPECT_EQ(order[1].second, WM_LBUTTONDOWN);
  EXPECT_EQ(order[2].second, WM_LBUTTONUP);
  EXPECT_EQ(order[3].second, WM_PAINT);
  EXPECT_EQ(order[4].second, WM_TIMER);
}

TEST_F(Messages, QuitComesAfterPostedMessagesAndEndsGetMessage) {
  HWND w = MakeFrame(RECT{0, 0, 100, 100});
  Pump();
  PostMessage(w, WM_USER, 1, 0);
  PostQuitMessage(3);
  PostMessage(w, WM_USER, 2, 0);
  MSG m;
  ASSERT_TRUE(GetMessage(&m));
  EXPECT_EQ(m.wParam, 1u);
  ASSERT_TRUE(GetMessage(&m));
  EXPECT_EQ(m.wParam, 2u);
  EXPECT_FALSE(GetMessage(&m));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
}

TEST_F(Messages, PeekWithoutRemovingLeavesTheMessage) {
  HWND w = MakeFrame(RECT{0, 0, 100, 100});
  Pump();
  PostMessage(w, WM_USER + 5, 9, 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 5);
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_USER + 5, WM_USER + 5, PM_REMOVE));
  EXPECT_EQ(m.wParam, 9u);
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, GetMessageWaitsOnTheClockForTheNextTimer) {
  HWND w = MakeFrame(RECT{0, 0, 100, 100});
  Pump();
  const DWORD start = GetTickCount();
  SetTimer(w, 1, 250);
  MSG m;
  ASSERT_TRUE(GetMessage(&m));
  EXPECT_EQ(m.message, WM_TIMER);
  EXPECT_EQ(m.time, start + 250);
  EXPECT_EQ(GetTickCount(), start + 250);
}

TEST_F(Messages, AFilteredGetWaitsForItsOwnMessageAndLeavesTheRest) {
  HWND a = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND b = Make(WS_POPUP | WS_VISIBLE, RECT{200, 0, 300, 100});
  Pump();
  screen->SetAutoPump(false);
  screen->Click(50, 50); // input for a
  PostMessage(a, WM_USER, 0, 0);
  SetTimer(b, 3, 100);
  const DWORD start = GetTickCount();
  MSG m;
  ASSERT_TRUE(GetMessage(&m, b));
  EXPECT_EQ(m.hwnd, b);
  EXPECT_EQ(m.message, WM_TIMER);
  EXPECT_EQ(GetTickCount(), start + 100);
  KillTimer(b, 3);
  // a's messages are all still there, in order.
  ClearLog();
  Pump();
  EXPECT_EQ(
      Only({WM_USER, WM_LBUTTONDOWN, WM_LBUTTONUP}),
      (std::vector<std::pair<HWND, UINT>>{{a, WM_USER}, {a, WM_LBUTTONDOWN}, {a, WM_LBUTTONUP}}));
}

TEST_F(Messages, AWindowMayDestroyItselfWhileHandlingInput) {
  HWND w = MakeFrame(RECT{50, 50, 250, 250});
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100}, w);
  Rec().handlers[child] = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_LBUTTONDOWN) {
      DestroyWindow(GetParent(h));
      return 0;
    }
    return std::nullopt;
  };
  Pump();
  POINT p{10, 10};
  ClientToScreen(child, &p);
  screen->Click(p.x, p.y);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(IsWindow(child));
}

TEST_F(Messages, SetTextAndTranslateMakeTheExpectedMessages) {
  HWND w = MakeFrame(RECT{0, 0, 200, 100}, "a");
  Pump();
  ClearLog();
  SetWindowText(w, "b");
  EXPECT_THAT(MessagesOf(w), ElementsAre(WM_SETTEXT));
  EXPECT_EQ(GetWindowText(w), "b");
  screen->Key(VK_RETURN);
  EXPECT_EQ(Only({WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
            (std::vector<std::pair<HWND, UINT>>{{w, WM_KEYDOWN}, {w, WM_CHAR}, {w, WM_KEYUP}}));
}

} // namespace
} // namespace zel::sys::test
