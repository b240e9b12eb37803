// The floating forms: caption geometry, the caption taken from the client,
// deferred visibility, staying on top while the program is active, the
// float-tree records, and the self-painted frame, caption and close cross
// (hover, press, release on and off the cross), told apart by pixel probes.

#include <algorithm>
#include <set>
#include <utility>

#include "framework/docking/DragDock.h"
#include "platform/backend/Backend.h"
#include "platform/gdi/Png.h"
#include "platform/user/Input.h"
#include "platform/user/SystemParams.h"
#include "tests/docking/DockingFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class DockFormTest : public DockingTest {
protected:
  // A panel floating in a self-painted form at (300, 200), 300 x 120.
  TCustomDockFormZel* Floating(TPanel*& panel, const std::string& caption = "Панель") {
    mainForm->Show();
    panel = Panel("Panel1", caption);
    panel->SetParent(mainForm);
    panel->SetFloatingDockSiteClass(&TCustomDockFormZel::StaticClass());
    auto* form = dynamic_cast<TCustomDockFormZel*>(FloatControl(panel, RECT{300, 200, 600, 320}));
    Pump();
    return form;
  }
  POINT OnScreen(TWinControl* w, POINT p) {
    RECT r{};
    GetWindowRect(w->Handle(), &r);
    return POINT{r.left + p.x, r.top + p.y};
  }
  // The pixels of a colour within a window rectangle.
  std::set<std::pair<int, int>> PixelsOf(TWinControl* w, const RECT& r, COLORREF c) {
    std::set<std::pair<int, int>> out;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (WindowPixel(w, x, y) == c) out.insert({x, y});
    return out;
  }
};

TEST(CaptionRectsTest, GeometryFollowsTheWindowAndClientSizes) {
  const TDockCaptionRects g = GetCaptionRects(300, 120, 292, 100, true, POINT{7, 8});
  EXPECT_EQ(g.Caption, (RECT{4, 4, 296, 15}));
  EXPECT_EQ(g.Close, (RECT{283, 4, 294, 15}));
  EXPECT_EQ(g.Client, (RECT{4, 16, 296, 116}));
  EXPECT_EQ(g.Cursor, (POINT{7, 8}));
  // Without a system menu there is no cross; a bar narrower than its height
  // keeps the cross's left on the bar.
  EXPECT_EQ(GetCaptionRects(300, 120, 292, 100, false, POINT{}).Close, RECT{});
  EXPECT_EQ(GetCaptionRects(14, 120, 6, 100, true, POINT{}).Close, (RECT{4, 4, 8, 15}));
}

TEST_F(DockFormTest, TheCaptionIsTheClientsFirstLineAndAFloatingClientIsRecorded) {
  TPanel* panel = nullptr;
  TCustomDockFormZel* form = Floating(panel, "Первая строка\r\nвторая");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Caption(), "Первая строка");
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->Position(), poDesigned);
  EXPECT_FALSE(form->Ctl3D());
  EXPECT_EQ(DockFormCount(), 1);
  // A hidden control floats in a hidden form, recorded hidden.
  TPanel* hidden = Panel("Hidden");
  hidden->SetParent(mainForm);
  hidden->SetFloatingDockSiteClass(&TCustomDockFormEx::StaticClass());
  hidden->Hide();
  auto* hiddenForm = FloatControl(hidden, RECT{100, 100, 250, 200});
  ASSERT_NE(hiddenForm, nullptr);
  EXPECT_FALSE(hiddenForm->Visible());
  TFloatPlacement h;
  ASSERT_TRUE(FloatTree()->Find(hidden, h));
  EXPECT_FALSE(h.Visible);
  EXPECT_EQ(h.Bounds, (RECT{100, 100, 250, 200}));
  // A second client leaves the caption alone.
  TPanel* second = Panel("Second", "Другая");
  second->ManualDock(form, nullptr, alClient);
  EXPECT_EQ(form->Caption(), "Первая строка");
  TFloatPlacement p;
  ASSERT_TRUE(FloatTree()->Find(panel, p));
  EXPECT_TRUE(p.Visible);
  // The geometry of the real window: the client area lies where the window
  // system put it.
  const TDockCaptionRects g = form->GetCaptionRects();
  const POINT client = form->ClientToScreen(POINT{0, 0});
  EXPECT_EQ(OnScreen(form, POINT{g.Client.left, g.Client.top}), client);
  // Hiding records the form hidden; freeing it records its last bounds.
  form->Hide();
  ASSERT_TRUE(FloatTree()->Find(panel, p));
  EXPECT_FALSE(p.Visible);
  form->SetBounds(310, 220, 300, 120);
  second->ManualDock(mainForm);
  panel->SetParent(mainForm); // out of the form before it goes
  delete form;
  EXPECT_EQ(DockFormCount(), 0);
  EXPECT_EQ(DockCaptionBitmap(), nullptr);
}

TEST_F(DockFormTest, DeferredVisibilityAppliesOnlyTheLastRequest) {
  auto* form = new TCustomDockFormEx(app.get());
  int shows = 0, hides = 0;
  form->OnShow = [&](TObject*) { ++shows; };
  form->OnHide = [&](TObject*) { ++hides; };
  form->SetVisibleDeferred(true);
  Wait(50);
  form->SetVisibleDeferred(false);
  Wait(100);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(shows, 0); // never shown for a moment
  form->SetVisibleDeferred(true);
  EXPECT_TRUE(VisibilityTimerRunning());
  Wait(99);
  EXPECT_FALSE(form->Visible());
  Wait(1);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(shows, 1);
  EXPECT_FALSE(VisibilityTimerRunning());
  form->SetVisibleDeferred(false);
  form->SetVisibleDeferred(true);
  Wait(100);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(hides, 0);
  // A real show or hide sets the wanted value too.
  form->Hide();
  EXPECT_FALSE(form->VisibleWanted());
}

TEST_F(DockFormTest, TopmostOnlyWhileTheProgramIsActive) {
  TPanel* panel = nullptr;
  TCustomDockFormZel* form = Floating(panel);
  auto topmost = [&] { return (GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  InputAppActive(false);
  Pump();
  EXPECT_FALSE(topmost());
  InputAppActive(true);
  Pump();
  EXPECT_TRUE(topmost());
  InputAppActive(false);
  Pump();
  EXPECT_FALSE(topmost());
  // Still in front of the main form it floats for.
  const TDockCaptionRects g = form->GetCaptionRects();
  EXPECT_EQ(WindowFromPoint(OnScreen(form, POINT{g.Caption.left + 20, g.Caption.top + 3})),
            form->Handle());
}

TEST_F(DockFormTest, PaintsItsFrameCaptionAndCloseCrossItself) {
  TPanel* panel = nullptr;
  TCustomDockFormZel* form = Floating(panel);
  form->SetBounds(300, 200, 300, 120);
  form->Show();
  Pump();
  const TDockCaptionRects g = form->GetCaptionRects();
  const bool active = form->Active();
  // Frame: outline in the highlight colour (active) on the form's colour.
  EXPECT_EQ(WindowPixel(form, 0, 50), COLORREF(ColorToRGB(active ? clHighlight : clWindowFrame)));
  EXPECT_EQ(WindowPixel(form, 2, 50), COLORREF(ColorToRGB(clBtnFace)));
  // Caption: a vertical gradient between the caption colours, corners cut.
  const TColor c1 = active ? clActiveCaption : clInactiveCaption;
  const TColor c2 = active ? clGradientActiveCaption : clGradientInactiveCaption;
  EXPECT_EQ(WindowPixel(form, g.Caption.left + 40, g.Caption.top + 1), COLORREF(ColorToRGB(c1)));
  EXPECT_NE(WindowPixel(form, g.Caption.left + 40, g.Caption.bottom - 2),
            WindowPixel(form, g.Caption.left + 40, g.Caption.top + 1));
  EXPECT_EQ(WindowPixel(form, g.Caption.left, g.Caption.top), COLORREF(ColorToRGB(clBtnFace)));
  (void)c2;
  // The caption text lies at the left of the bar.
  const COLORREF text = COLORREF(ColorToRGB(active ? clCaptionText : clInactiveCaptionText));
  EXPECT_FALSE(
      PixelsOf(form, RECT{g.Caption.left + 3, g.Caption.top, g.Caption.left + 60, g.Caption.bottom},
               text)
          .empty());
  screen->SaveWindowShot(form->Handle(), PictureDir() + "/docking_floating_form.png");
}

TEST_F(DockFormTest, CloseCrossHoverPressAndRelease) {
  TPanel* panel = nullptr;
  TCustomDockFormZel* form = Floating(panel);
  form->SetBounds(300, 200, 300, 120);
  Pump();
  TDockCaptionRects g = form->GetCaptionRects();
  const RECT cross = g.Close;
  const POINT centre{(cross.left + cross.right) / 2, (cross.top + cross.bottom) / 2};
  const COLORREF text =
      COLORREF(ColorToRGB(form->Active() ? clCaptionText : clInactiveCaptionText));
  const COLORREF idle = COLORREF(ColorToRGB(clWindowText));
  RECT around = cross;
  InflateRect(around, 2, 2);
  around.top = std::max(around.top, g.Caption.top);
  around.bottom = std::min(around.bottom, g.Caption.bottom);

  // Away from the cross it is drawn in the window text colour.
  POINT p = OnScreen(form, POINT{g.Caption.left + 30, centre.y});
  screen->MoveTo(p.x, p.y);
  Pump();
  const auto idlePixels = PixelsOf(form, around, idle);
  EXPECT_GE(idlePixels.size(), 8u);
  EXPECT_FALSE(form->CloseHot());
  // Hovering repaints it in the caption text colour.
  p = OnScreen(form, centre);
  screen->MoveTo(p.x, p.y);
  Pump();
  EXPECT_TRUE(form->CloseHot());
  EXPECT_EQ(SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTSYSMENU);
  const auto hotPixels = PixelsOf(form, around, text);
  EXPECT_EQ(hotPixels, idlePixels);
  // Pressing moves it one pixel right and down.
  screen->Press(p.x, p.y);
  Pump();
  EXPECT_TRUE(form->ClosePressed());
  std::set<std::pair<int, int>> moved;
  for (auto [x, y] : hotPixels)
    moved.insert({x + 1, y + 1});
  EXPECT_EQ(PixelsOf(form, around, text), moved);
  // Released elsewhere on the caption: nothing closes.
  const POINT off = OnScreen(form, POINT{g.Caption.left + 30, centre.y});
  screen->Release(off.x, off.y);
  Pump();
  EXPECT_FALSE(form->ClosePressed());
  EXPECT_TRUE(form->Visible());
  // A release over the cross without a press on it closes nothing either.
  screen->MoveTo(p.x, p.y);
  screen->Release(p.x, p.y);
  Pump();
  EXPECT_TRUE(form->Visible());
  // Pressed and released over the cross: the form closes, its client hides.
  sys::AdvanceTime(1000);
  screen->Click(p.x, p.y);
  Pump();
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(panel->Visible());
}

TEST_F(DockFormTest, WithCtl3DTheFrameworkPaintsAndAnswers) {
  TPanel* panel = nullptr;
  TCustomDockFormZel* form = Floating(panel);
  form->SetBounds(300, 200, 300, 120);
  Pump();
  const TDockCaptionRects g = form->GetCaptionRects();
  const POINT cross = OnScreen(form, POINT{(g.Close.left + g.Close.right) / 2, g.Close.top + 5});
  const COLORREF selfPainted = WindowPixel(form, g.Caption.left, g.Caption.top);
  form->SetCtl3D(true);
  Pump();
  EXPECT_NE(SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(cross.x, cross.y)), HTSYSMENU);
  EXPECT_NE(WindowPixel(form, g.Caption.left, g.Caption.top), selfPainted);
  form->SetCtl3D(false);
  EXPECT_EQ(SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(cross.x, cross.y)), HTSYSMENU);
}

} // namespace
} // namespace zel::test
