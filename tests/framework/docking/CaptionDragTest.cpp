// Dragging a floating form by its caption: the drag carries the form's
// client, docks it into a site that accepts it, moves the form elsewhere,
// and Esc leaves everything where it was.

#include "framework/docking/DragDock.h"
#include "platform/user/Input.h"
#include "platform/backend/Backend.h"
#include "tests/framework/docking/DockFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class CaptionDragTest : public DockTest {
protected:
  void TearDown() override {
    PumpMessages();
    if (floated)
      if (auto* f = dynamic_cast<TCustomDockForm*>(floated->HostDockSite())) delete f;
    DockTest::TearDown();
  }
  // A panel floating in a form at (600, 400).
  TCustomDockForm* Floated(TPanel*& client) {
    Docked("A");
    client = Docked("B", alLeft);
    floated = client;
    TCustomDockForm* form = FloatControl(client, RECT{600, 400, 800, 550});
    PumpMessages();
    return form;
  }
  // A point on the form's caption, just above its client area.
  POINT Caption(TCustomDockForm* form) {
    const POINT tl = form->ClientToScreen(POINT{0, 0});
    return POINT{tl.x + 40, tl.y - 6};
  }
  TPanel* floated = nullptr;
};

TEST_F(CaptionDragTest, DroppingTheCaptionOverASiteDocksTheClientBack) {
  TPanel* b = nullptr;
  TCustomDockForm* form = Floated(b);
  ASSERT_NE(form, nullptr);
  const POINT c = Caption(form);
  ASSERT_EQ(WindowFromPoint(c), form->Handle());
  const POINT target = At(site, 3, 150); // near the site's left edge
  screen->Press(c.x, c.y);
  screen->MoveTo(c.x + 20, c.y + 20);
  ASSERT_TRUE(DockDragging());
  EXPECT_EQ(CurrentDragDockObject()->Control(), b);
  screen->MoveTo(target.x, target.y);
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), site);
  EXPECT_EQ(CurrentDragDockObject()->DropAlign(), alLeft);
  // The form has not moved while the preview shows the site's proposal.
  EXPECT_EQ(form->Left(), 600);
  screen->Release(target.x, target.y);
  PumpMessages();
  EXPECT_FALSE(DockDragging());
  EXPECT_EQ(b->HostDockSite(), site);
  EXPECT_EQ(site->DockClientCount(), 2);
  EXPECT_EQ(b->Left(), 0);
}

TEST_F(CaptionDragTest, DroppingElsewhereMovesTheFormAndEscCancels) {
  TPanel* b = nullptr;
  TCustomDockForm* form = Floated(b);
  ASSERT_NE(form, nullptr);
  const POINT c = Caption(form);
  // A press without a move past the threshold changes nothing.
  screen->Press(c.x, c.y);
  screen->MoveTo(c.x + 1, c.y);
  EXPECT_FALSE(DockDragging());
  screen->Release(c.x + 1, c.y);
  PumpMessages();
  EXPECT_EQ(form->BoundsRect(), (RECT{600, 400, 800, 550}));
  clock.Advance(1000); // the next press is no double click
  // Away from every site the preview is the form's rectangle carried along.
  screen->Press(c.x, c.y);
  screen->MoveTo(c.x + 50, c.y + 50);
  screen->MoveTo(c.x + 100, c.y + 60);
  ASSERT_TRUE(DockDragging());
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), nullptr);
  EXPECT_EQ(DockPreviewRect(), (RECT{700, 460, 900, 610}));
  screen->Key(VK_ESCAPE);
  EXPECT_FALSE(DockDragging());
  screen->Release(c.x + 100, c.y + 60);
  PumpMessages();
  EXPECT_EQ(form->BoundsRect(), (RECT{600, 400, 800, 550}));
  EXPECT_EQ(b->HostDockSite(), form);
  clock.Advance(1000);
  // A release the program never sees ends the drag the same way.
  screen->Press(c.x, c.y);
  screen->MoveTo(c.x + 100, c.y + 60);
  ASSERT_TRUE(DockDragging());
  InputMouseButtonsLost();
  PumpMessages();
  EXPECT_FALSE(DockDragging());
  screen->Click(c.x + 100, c.y + 60);
  PumpMessages();
  EXPECT_EQ(form->BoundsRect(), (RECT{600, 400, 800, 550}));
  clock.Advance(1000);
  // Dropped away from the sites: the same form moves there.
  screen->Drag(c.x, c.y, c.x + 100, c.y + 60, 5);
  PumpMessages();
  EXPECT_EQ(b->HostDockSite(), form);
  EXPECT_EQ(form->BoundsRect(), (RECT{700, 460, 900, 610}));
  EXPECT_EQ(site->DockClientCount(), 1);
}

} // namespace
} // namespace zel::test
