// Window scroll bars: layout, the scroll information with its clamping and
// automatic showing and hiding, and the requests a mouse makes of them.

#include "tests/platform/user/UserTestSupport.h"

namespace zel::sys::test {
namespace {

class ScrollBars : public UserTest {
protected:
  // A popup at (100, 100), 200 x 200, with a vertical bar over 0..99, a page of 10.
  HWND MakeScrolled() {
    HWND w = Make(WS_POPUP | WS_VISIBLE | WS_VSCROLL, RECT{100, 100, 300, 300});
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 0;
    SetScrollInfo(w, SB_VERT, &si, 1);
    // The window follows every request, as a scrolling control does.
    Rec().handlers[w] = [this](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
      if (m != WM_VSCROLL) return std::nullopt;
      requests.push_back(LOWORD(wp));
      int pos = GetScrollPos(h, SB_VERT);
      switch (LOWORD(wp)) {
      case SB_LINEDOWN:
        ++pos;
        break;
      case SB_LINEUP:
        --pos;
        break;
      case SB_PAGEDOWN:
        pos += 10;
        break;
      case SB_PAGEUP:
        pos -= 10;
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        pos = HIWORD(wp);
        break;
      default:
        break;
      }
      SetScrollPos(h, SB_VERT, pos, 1);
      return 0;
    };
    Pump();
    return w;
  }
  std::vector<WORD> requests;
  const int cx = GetSystemMetrics(SM_CXVSCROLL);
};

TEST_F(ScrollBars, TheBarTakesItsWidthFromTheClientArea) {
  HWND w = MakeScrolled();
  RECT c;
  GetClientRect(w, &c);
  EXPECT_EQ(c, (RECT{0, 0, 200 - cx, 200}));
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(300 - 3, 200)), HTVSCROLL);
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(300 - cx - 1, 200)), HTCLIENT);
}

TEST_F(ScrollBars, PositionIsClampedAndTheBarHidesWhenAllFits) {
  HWND w = MakeScrolled();
  SetScrollPos(w, SB_VERT, 500, 1);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 90); // 99 - (10 - 1)
  SetScrollPos(w, SB_VERT, -5, 1);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 0);
  SCROLLINFO si;
  si.fMask = SIF_PAGE;
  si.nPage = 100;
  SetScrollInfo(w, SB_VERT, &si, 1);
  EXPECT_FALSE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  RECT c;
  GetClientRect(w, &c);
  EXPECT_EQ(c.right, 200);
  si.fMask = SIF_PAGE | SIF_DISABLENOSCROLL;
  SetScrollInfo(w, SB_VERT, &si, 1);
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &si));
  EXPECT_EQ(si.nPage, 100u);
  EXPECT_EQ(si.nMax, 99);
  // A disabled bar makes no requests.
  screen->Click(300 - 3, 300 - 3);
  EXPECT_TRUE(requests.empty());
}

TEST_F(ScrollBars, ArrowPressRepeatsWhileHeld) {
  HWND w = MakeScrolled();
  screen->Press(300 - 3, 300 - 3); // the down arrow
  EXPECT_EQ(requests, std::vector<WORD>{SB_LINEDOWN});
  AdvanceTime(399);
  EXPECT_EQ(requests.size(), 1u);
  AdvanceTime(151); // repeats at 400, 450, 500, 550
  EXPECT_EQ(requests.size(), 5u);
  screen->MoveTo(200, 200); // off the arrow: the repeats pause
  AdvanceTime(200);
  EXPECT_EQ(requests.size(), 5u);
  screen->Release(200, 200);
  EXPECT_EQ(requests.back(), SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 5);
  EXPECT_EQ(GetCapture(), nullptr);
  AdvanceTime(1000);
  EXPECT_EQ(requests.size(), 6u);
}

TEST_F(ScrollBars, PageAreaAndThumbDrag) {
  HWND w = MakeScrolled();
  screen->Click(300 - 3, 300 - cx - 5); // the track below the thumb
  EXPECT_EQ(requests, (std::vector<WORD>{SB_PAGEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 10);
  requests.clear();
  // Drag the thumb from its middle to far below the bar: the last position.
  SCROLLINFO si;
  si.fMask = SIF_POS;
  GetScrollInfo(w, SB_VERT, &si);
  const int trackLen = 200 - 2 * cx;
  const int thumbLen = trackLen * 10 / 100;
  const int thumbTop = 100 + cx + (trackLen - thumbLen) * 10 / 90;
  screen->Drag(300 - 3, thumbTop + thumbLen / 2, 300 - 3, 600, 5);
  ASSERT_GE(requests.size(), 3u);
  EXPECT_EQ(requests.front(), SB_THUMBTRACK);
  EXPECT_EQ(requests[requests.size() - 2], SB_THUMBPOSITION);
  EXPECT_EQ(requests.back(), SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 90);
}

TEST_F(ScrollBars, Screenshot) {
  HWND w = MakeScrolled();
  HWND both = Make(WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_BORDER,
                   RECT{350, 100, 550, 260}, nullptr, WS_EX_CLIENTEDGE);
  SetScrollRange(both, SB_HORZ, 0, 50, 1);
  SetScrollPos(both, SB_HORZ, 25, 1);
  Rec().paint[w] = RGB(255, 255, 255);
  Rec().paint[both] = RGB(255, 255, 255);
  InvalidateRect(w, nullptr, 1);
  Pump();
  screen->Press(300 - 3, 100 + 3); // the up arrow pressed (at the top: no scrolling)
  ASSERT_TRUE(screen->SaveScreenshot(PicturePath("user_scrollbars.png")));
  screen->Release(300 - 3, 100 + 3);
  EXPECT_EQ(Pixel(300 - cx / 2, 100 + 3 * cx), GetSysColor(COLOR_SCROLLBAR));
  EXPECT_EQ(Pixel(300 - cx / 2, 100 + cx + 4), GetSysColor(COLOR_BTNFACE)); // the thumb
}

} // namespace
} // namespace zel::sys::test
