// An item the program frees while a bar shows it leaves the bar at once: its
// control drops out of the layout, the controls after it close up, and no
// empty button stays where it was.  The control itself is freed later, so a
// click whose action freed the item returns through a live control.

#include <gtest/gtest.h>

#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

struct GoneCase {
  const char* name;
  bool menuBar;
  // The middle item is freed by a click on its own control (else by the
  // program, outside any message).
  bool byItsOwnClick;
};

class GoneItemTest : public ::testing::TestWithParam<GoneCase>, protected BarTestSupport {
public:
  void SetUp() override {
    StartBars({XPStyle()});
    form = MakeForm(40, 40, 480, 200, "Панели");
    manager = new TActionManager(form);
    manager->SetStyle(XPStyle());
    if (GetParam().menuBar)
      bar = MakeBar<TActionMainMenuBar>(form, manager);
    else
      bar = MakeBar<TActionToolBar>(form, manager);
    items = manager->ActionBars()->ActionBars(0)->Items();
    for (const char* caption : {"&Файл", "&Правка", "&Вид"}) {
      TAction* a = MakeAction(form, manager, caption);
      a->OnExecute = [this](TObject*) {
        if (GetParam().byItsOwnClick) items->Delete(1);
      };
      TActionClientItem* item = items->Add();
      item->SetAction(a);
      item->SetShowCaption(true);
    }
    bar->RecreateControls();
    form->Show();
    app->ProcessMessages();
  }
  void TearDown() override { StopBars(); }

  // Pixels inside r (bar coordinates) that differ from the bar's empty
  // background at its right end.
  int InkIn(sys::RECT r) {
    const sys::POINT o = bar->ClientToScreen({0, 0});
    const sys::COLORREF empty = screen->ScreenPixel(o.x + bar->ClientWidth() - 3, o.y + r.top + 2);
    int ink = 0;
    for (int y = r.top + 2; y < r.bottom - 2; ++y)
      for (int x = r.left + 2; x < r.right - 2; ++x)
        if (screen->ScreenPixel(o.x + x, o.y + y) != empty) ++ink;
    return ink;
  }

  TForm* form = nullptr;
  TActionManager* manager = nullptr;
  TCustomActionBar* bar = nullptr;
  TActionClients* items = nullptr;
};

TEST_P(GoneItemTest, TheControlLeavesAndTheOthersCloseUp) {
  ASSERT_EQ(bar->ActionControlCount(), 3);
  const int secondLeft = bar->ActionControls(1)->Left();
  const sys::RECT thirdWas = bar->ActionControls(2)->BoundsRect();
  const int children = bar->ControlCount();
  ASSERT_GT(InkIn(thirdWas), 0) << "the third caption is drawn before";

  if (GetParam().byItsOwnClick)
    ClickOn(bar->ActionControls(1));
  else
    items->Delete(1);

  // At once: two controls, the third item's where the second was.
  ASSERT_EQ(items->Count(), 2);
  EXPECT_EQ(bar->ActionControlCount(), 2);
  ASSERT_GE(bar->ActionControlCount(), 2);
  EXPECT_EQ(bar->ActionControls(1)->ActionClient(), items->Items(1));
  EXPECT_EQ(bar->ActionControls(1)->Left(), secondLeft);
  // On screen: where the third caption stood is empty bar now.
  app->ProcessMessages();
  EXPECT_EQ(InkIn(thirdWas), 0);
  // The control of the freed item is freed by then too.
  EXPECT_EQ(bar->ControlCount(), children - 1);
}

const GoneCase kCases[] = {
    {"MenuBarItemDeleted", true, false},
    {"ToolBarItemDeleted", false, false},
    {"ToolBarItemFreedByItsClick", false, true},
};

INSTANTIATE_TEST_SUITE_P(Bars, GoneItemTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zel
