// Every kind of drag owns the mouse from the press to the release: released
// outside every window (on the bare desktop, even off the screen), each ends
// by its own rules, lets go of the mouse, and the next moves change nothing.

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/docking/DockTree.h"
#include "framework/docking/DragDock.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/ScrollBar.h"
#include "framework/stdctrls/Splitter.h"
#include "framework/stdctrls/TrackBar.h"
#include "platform/user/SystemParams.h"
#include "tests/framework/stdctrls/StdCtrlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

// The controls every kind of drag starts on, on one form.
struct Scene {
  TPanel* panel;
  TSplitter* splitter;
  TTrackBar* track;
  TScrollBar* scroll;
  TWinControl* site;
  TPanel* docked;
  TPanel* floater;
  TCustomDockForm* host;
  RECT hostAt;
};

class ReleaseOutsideTest : public StdCtrlsTest {
protected:
  Scene MakeScene();
};

Scene ReleaseOutsideTest::MakeScene() {
  Scene s{};
  s.panel = Put<TPanel>(0, 0, 100, 100);
  s.panel->SetAlign(alLeft);
  s.splitter = new TSplitter(form);
  s.splitter->SetAlign(alLeft);
  s.splitter->SetParent(form);
  s.splitter->SetLeft(150);
  s.track = Put<TTrackBar>(150, 10, 200, 40);
  s.track->SetMax(100);
  s.scroll = Put<TScrollBar>(150, 60, 200, 17);
  s.scroll->SetParams(0, 0, 100);
  s.site = Put<TWinControl>(150, 100, 300, 200);
  s.site->SetDockSite(true);
  s.site->SetUseDockManager(true);
  s.docked = new TPanel(form);
  s.docked->SetCaption("Docked");
  s.docked->SetBounds(0, 0, 100, 80);
  s.docked->ManualDock(s.site, nullptr, alNone);
  s.floater = new TPanel(form);
  s.floater->SetCaption("Floater");
  s.floater->SetBounds(0, 0, 150, 100);
  s.floater->ManualFloat(RECT{600, 100, 760, 220});
  Pump();
  s.host = dynamic_cast<TCustomDockForm*>(s.floater->HostDockSite());
  if (s.host) s.hostAt = s.host->BoundsRect();
  return s;
}

// One kind of drag: where it is pressed (screen), and a reading of its
// result that a drag still running would go on changing.
struct Kind {
  const char* name;
  std::function<POINT(Scene&)> press;
  std::function<std::string(Scene&, POINT outside)> result;
  std::function<std::string(Scene&, POINT outside)> expected;
};

TEST_F(ReleaseOutsideTest, EveryDragEndsWhereverTheButtonComesUp) {
  auto text = [](long v) { return std::to_string(v); };
  const std::vector<Kind> kinds = {
      {"splitter", [](Scene& s) { return At(s.splitter, 1, 10); },
       [&](Scene& s, POINT) { return text(s.panel->Width() > 100); },
       [&](Scene&, POINT) { return text(1); }},
      {"track bar thumb",
       [](Scene& s) { return At(s.track, s.track->PositionToPixel(0), s.track->Height() / 2); },
       [&](Scene& s, POINT) { return text(s.track->Position()); },
       [&](Scene&, POINT) { return text(100); }},
      {"scroll bar thumb", [](Scene& s) { return At(s.scroll, 24, 8); },
       [&](Scene& s, POINT) { return text(s.scroll->Position()); },
       [&](Scene&, POINT) { return text(100); }},
      {"dock grabber", [](Scene& s) { return At(s.site, 40, 5); },
       [&](Scene& s, POINT outside) {
         if (!s.docked->Floating()) return std::string("docked");
         // The floating form lies where the grabber was let go, moved whole
         // onto the screen when it was let go on the screen.
         const RECT r = s.docked->HostDockSite()->BoundsRect();
         RECT work{};
         SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
         POINT at = outside;
         if (PtInRect(work, outside)) {
           at.x = std::min<long>(at.x, work.right - (r.right - r.left));
           at.y = std::min<long>(at.y, work.bottom - (r.bottom - r.top));
         }
         const bool near = std::abs(r.left - at.x) < 60 && std::abs(r.top - at.y) < 60;
         return std::string(near ? "floats there" : "floats elsewhere");
       },
       [&](Scene&, POINT) { return std::string("floats there"); }},
      {"floating caption",
       [](Scene& s) {
         return POINT{s.hostAt.left + 30, s.hostAt.top + 6};
       },
       [&](Scene& s, POINT) {
         const RECT r = s.host->BoundsRect();
         return text(r.left - s.hostAt.left) + "," + text(r.top - s.hostAt.top);
       },
       [&](Scene& s, POINT outside) {
         return text(outside.x - s.hostAt.left - 30) + "," + text(outside.y - s.hostAt.top - 6);
       }},
  };
  // The form covers (40, 40)-(540, 440), the floating form (600, 100)-(760,
  // 220); these points lie on no window, the last off the screen.
  const std::vector<POINT> outsides = {{900, 600}, {1270, 20}, {1400, 300}};
  for (const Kind& k : kinds)
    for (const POINT outside : outsides) {
      SCOPED_TRACE(std::string(k.name) + " released at " + text(outside.x) + "," + text(outside.y));
      TearDown();
      SetUp();
      Scene s = MakeScene();
      ASSERT_NE(s.host, nullptr);
      ASSERT_EQ(WindowFromPoint(outside), nullptr);
      clock.Advance(1000);
      const POINT from = k.press(s);
      screen->Press(from.x, from.y);
      screen->MoveTo(from.x + 5, from.y + 5);
      screen->MoveTo((from.x + outside.x) / 2, (from.y + outside.y) / 2);
      screen->MoveTo(outside.x, outside.y);
      screen->Release(outside.x, outside.y);
      Pump();
      EXPECT_EQ(GetCapture(), nullptr);
      EXPECT_FALSE(DockDragging());
      const std::string after = k.result(s, outside);
      EXPECT_EQ(after, k.expected(s, outside));
      // The drag is over: the mouse roaming back changes nothing.
      screen->MoveTo(from.x, from.y);
      screen->MoveTo(from.x - 40, from.y + 3);
      Pump();
      EXPECT_EQ(k.result(s, outside), after);
    }
}

} // namespace
} // namespace zel::test
