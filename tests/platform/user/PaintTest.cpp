// Update regions, WM_PAINT, erasing, and clipping against children and
// overlapping siblings, checked on the composed headless screen; and a
// screenshot of a few windows with their frames.

#include "platform/gdi/Png.h"
#include "tests/platform/user/UserTestSupport.h"

namespace zel::sys::test {
namespace {

constexpr COLORREF kParent = RGB(240, 240, 200);
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 220);
constexpr COLORREF kGreen = RGB(0, 180, 0);

using Seq = std::vector<std::pair<HWND, UINT>>;

class Paint : public UserTest {
protected:
  // A borderless parent at (100, 100) with children A (10..110) and B
  // (60..160) overlapping, B above A.
  void Scene() {
    parent = Make(WS_POPUP | WS_VISIBLE, RECT{100, 100, 400, 400});
    a = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 110, 110}, parent);
    b = Make(WS_CHILD | WS_VISIBLE, RECT{60, 60, 160, 160}, parent);
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Rec().paint[parent] = kParent;
    Rec().paint[a] = kRed;
    Rec().paint[b] = kBlue;
    Pump();
  }
  HWND parent = nullptr, a = nullptr, b = nullptr;
};

TEST_F(Paint, SiblingsAndChildrenClipEachOther) {
  Scene();
  EXPECT_EQ(Pixel(115, 115), kRed);    // A alone
  EXPECT_EQ(Pixel(175, 175), kBlue);   // the overlap belongs to B, which is above
  EXPECT_EQ(Pixel(255, 255), kBlue);   // B alone
  EXPECT_EQ(Pixel(300, 300), kParent); // neither
  // Repainting A leaves B's part alone.
  Rec().paint[a] = kGreen;
  InvalidateRect(a, nullptr, 1);
  Pump();
  EXPECT_EQ(Pixel(115, 115), kGreen);
  EXPECT_EQ(Pixel(175, 175), kBlue);
  // Repainting the parent leaves the children alone.
  Rec().paint[parent] = RGB(1, 2, 3);
  InvalidateRect(parent, nullptr, 1);
  Pump();
  EXPECT_EQ(Pixel(115, 115), kGreen);
  EXPECT_EQ(Pixel(255, 255), kBlue);
  EXPECT_EQ(Pixel(300, 300), RGB(1, 2, 3));
}

TEST_F(Paint, HidingAndMovingExposeWhatWasBelow) {
  Scene();
  ShowWindow(b, SW_HIDE);
  Pump();
  EXPECT_EQ(Pixel(175, 175), kRed);
  EXPECT_EQ(Pixel(255, 255), kParent);
  ShowWindow(b, SW_SHOWNA);
  SetWindowPos(b, nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  EXPECT_EQ(Pixel(175, 175), kRed);
  EXPECT_EQ(Pixel(255, 255), kParent);
  EXPECT_EQ(Pixel(350, 350), kBlue);
}

TEST_F(Paint, BeginPaintReportsTheUpdateAndValidates) {
  Scene();
  RECT seen{};
  BOOL erase = 5;
  int paints = 0;
  Rec().handlers[a] = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_PAINT) return std::nullopt;
    ++paints;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    seen = ps.rcPaint;
    erase = ps.fErase;
    // Drawing everywhere only reaches the update region.
    HBRUSH br = CreateSolidBrush(kGreen);
    FillRect(dc, RECT{0, 0, 100, 100}, br);
    DeleteObject(br);
    EndPaint(h, &ps);
    return 0;
  };
  RECT r{5, 5, 20, 15};
  InvalidateRect(a, &r, 0);
  r = RECT{30, 5, 40, 15};
  InvalidateRect(a, &r, 0);
  RECT upd;
  ASSERT_TRUE(GetUpdateRect(a, &upd, 0));
  EXPECT_EQ(upd, (RECT{5, 5, 40, 15}));
  Pump();
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(seen, (RECT{5, 5, 40, 15}));
  EXPECT_EQ(erase, 0);
  EXPECT_EQ(Pixel(110 + 6, 110 + 6), kGreen);
  EXPECT_EQ(Pixel(110 + 25, 110 + 6), kRed); // between the two rectangles
  EXPECT_EQ(Pixel(110 + 50, 110 + 6), kRed);
  EXPECT_FALSE(GetUpdateRect(a, &upd, 0));
  InvalidateRect(a, nullptr, 1);
  ValidateRect(a, nullptr);
  Pump();
  EXPECT_EQ(paints, 1);
}

TEST_F(Paint, EraseUsesTheClassBackgroundAndOnlyWhenAsked) {
  WNDCLASS wc;
  wc.lpfnWndProc = CALLBACK_Record;
  wc.lpszClassName = "Filled";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_HIGHLIGHT + 1));
  EnsureClass(wc);
  HWND w = CreateWindowEx(0, "Filled", "", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr);
  Pump();
  EXPECT_EQ(Pixel(30, 30), GetSysColor(COLOR_HIGHLIGHT));
  ClearLog();
  InvalidateRect(w, nullptr, 0);
  Pump();
  EXPECT_TRUE(Only({WM_ERASEBKGND}).empty());
  InvalidateRect(w, nullptr, 1);
  Pump();
  EXPECT_EQ(Only({WM_ERASEBKGND}).size(), 1u);
}

TEST_F(Paint, WindowContextsAreClippedAndPaintNeverLoopsForEver) {
  Scene();
  // A proc that ignores WM_PAINT is validated anyway, so the queue empties.
  Rec().handlers[b] = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_PAINT) return 0;
    return std::nullopt;
  };
  InvalidateRect(b, nullptr, 1);
  Pump();
  MSG m;
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
  // GetDC on the parent paints around the children.
  HDC dc = GetDC(parent);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(WindowFromDC(dc), parent);
  HBRUSH br = CreateSolidBrush(RGB(9, 9, 9));
  FillRect(dc, RECT{0, 0, 300, 300}, br);
  DeleteObject(br);
  ReleaseDC(parent, dc);
  EXPECT_EQ(Pixel(300, 300), RGB(9, 9, 9));
  EXPECT_EQ(Pixel(115, 115), kRed);
  EXPECT_EQ(Pixel(255, 255), kBlue);
  // A context outliving its window draws nowhere and is still released cleanly.
  HDC late = GetDC(a);
  DestroyWindow(parent);
  br = CreateSolidBrush(RGB(9, 9, 9));
  FillRect(late, RECT{0, 0, 10, 10}, br);
  DeleteObject(br);
  EXPECT_EQ(ReleaseDC(a, late), 1);
}

TEST_F(Paint, SetRedrawOffHoldsPaintingBack) {
  Scene();
  SendMessage(parent, WM_SETREDRAW, 0, 0);
  Rec().paint[a] = kGreen;
  InvalidateRect(a, nullptr, 1);
  Pump();
  EXPECT_EQ(Pixel(115, 115), kRed);
  SendMessage(parent, WM_SETREDRAW, 1, 0);
  Pump();
  EXPECT_EQ(Pixel(115, 115), kGreen);
}

TEST_F(Paint, CaretBlinksAndSurvivesPainting) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, RECT{100, 100, 200, 150});
  Rec().paint[w] = RGB(255, 255, 255);
  Pump();
  ASSERT_TRUE(CreateCaret(w, nullptr, 2, 14));
  SetCaretPos(10, 5);
  EXPECT_EQ(Pixel(111, 110), RGB(255, 255, 255)); // a new caret starts hidden
  ShowCaret(w);
  EXPECT_EQ(Pixel(111, 110), RGB(0, 0, 0));
  EXPECT_EQ(Pixel(112, 110), RGB(255, 255, 255));
  AdvanceTime(GetCaretBlinkTime());
  EXPECT_EQ(Pixel(111, 110), RGB(255, 255, 255));
  AdvanceTime(GetCaretBlinkTime());
  EXPECT_EQ(Pixel(111, 110), RGB(0, 0, 0));
  // Painting over it leaves one caret, not a hole in it.
  InvalidateRect(w, nullptr, 1);
  Pump();
  EXPECT_EQ(Pixel(111, 110), RGB(0, 0, 0));
  HideCaret(w);
  HideCaret(w);
  ShowCaret(w);
  EXPECT_EQ(Pixel(111, 110), RGB(255, 255, 255)); // hidden twice, shown once
  ShowCaret(w);
  SetCaretPos(30, 5);
  EXPECT_EQ(Pixel(111, 110), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(131, 110), RGB(0, 0, 0));
  POINT p;
  GetCaretPos(&p);
  EXPECT_EQ(p, (POINT{30, 5}));
  DestroyWindow(w); // the caret goes with its window
  EXPECT_FALSE(GetCaretPos(&p));
  EXPECT_FALSE(DestroyCaret());
}

TEST_F(Paint, RedrawWindowWithFrameRepaintsTheNonClientArea) {
  HWND w = MakeFrame(RECT{100, 100, 300, 200});
  Pump();
  ClearLog();
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_EQ(Only({WM_NCPAINT, WM_PAINT}), (Seq{{w, WM_PAINT}, {w, WM_NCPAINT}}));
}

TEST_F(Paint, ScreenshotOfFramedWindows) {
  HWND back = MakeFrame(RECT{40, 40, 440, 300}, "Неактивное окно");
  HWND front = MakeFrame(RECT{200, 140, 620, 420},
                         "Активное окно с длинным заголовком, который не помещается");
  HWND tool = Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE,
                   RECT{660, 60, 900, 220}, nullptr, WS_EX_TOOLWINDOW, "Настройка внешнего вида");
  HWND child = Make(WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, RECT{20, 20, 260, 160}, front,
                    WS_EX_CLIENTEDGE, "Форма 1");
  Rec().paint[back] = GetSysColor(COLOR_BTNFACE);
  Rec().paint[front] = GetSysColor(COLOR_APPWORKSPACE);
  Rec().paint[tool] = GetSysColor(COLOR_BTNFACE);
  Rec().paint[child] = GetSysColor(COLOR_WINDOW);
  SetActiveWindow(front);
  ShowWindow(child, SW_SHOW);
  Pump();
  ASSERT_TRUE(screen->SaveScreenshot(PicturePath("user_frames.png")));
  ASSERT_TRUE(screen->SaveWindowShot(tool, PicturePath("user_toolwindow.png")));
  Surface shot;
  ASSERT_TRUE(ReadPng(PicturePath("user_toolwindow.png"), shot));
  EXPECT_EQ(shot.Width(), 240);
  EXPECT_EQ(shot.Height(), 160);
  EXPECT_FALSE(screen->SaveWindowShot(child, PicturePath("not_top_level.png")));
  // The active caption starts in the active colour, the inactive in its own.
  const int f = GetSystemMetrics(SM_CXSIZEFRAME);
  EXPECT_EQ(Pixel(200 + f, 140 + f + 10), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(Pixel(40 + f, 40 + f + 17), GetSysColor(COLOR_INACTIVECAPTION));
  // The frame's outer edge and the face inside it.
  EXPECT_EQ(Pixel(300, 140), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(Pixel(619, 300), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(Pixel(202, 300), GetSysColor(COLOR_BTNFACE));
  // The close button's face shows between its edge and the cross.
  const int cx = 620 - f - 2 - 16, cy = 140 + f + 2;
  EXPECT_EQ(Pixel(cx + 2, cy + 2), GetSysColor(COLOR_BTNFACE));
  int dark = 0;
  for (int x = cx; x < cx + 16; ++x)
    for (int y = cy; y < cy + 14; ++y)
      dark += Pixel(x, y) == GetSysColor(COLOR_BTNTEXT);
  EXPECT_GT(dark, 12); // the cross is drawn
}

} // namespace
} // namespace zel::sys::test
