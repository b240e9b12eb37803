// The row rule of a control bar holding a main menu bar and a tool bar:
// the row is as high as the first menu button + 6 and both bars are 5
// lower than the row.  The menu buttons size from the larger of caption
// and glyph cell, so the rule keeps every tool-bar button inside its bar
// at every glyph size.

#include <gtest/gtest.h>

#include "framework/stdctrls/ControlBar.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

class RowSizeTest : public ::testing::Test, protected BarTestSupport {
protected:
  void SetUp() override { StartBars({XPStyle()}); }
  void TearDown() override { StopBars(); }
};

// An image list of size x size cells with count blank glyphs.
TCustomImageList* Glyphs(TComponent* owner, int size, int count) {
  auto* list = new TCustomImageList(owner);
  list->SetSize(size, size);
  for (int i = 0; i < count; ++i) {
    TBitmap bmp;
    bmp.SetSize(size, size);
    bmp.Canvas()->Brush()->SetColor(TColor(0x40 * (i + 1)));
    bmp.Canvas()->FillRect(sys::RECT{0, 0, size, size});
    list->Add(&bmp, nullptr);
  }
  return list;
}

TEST_F(RowSizeTest, TheRowRuleKeepsEveryToolBarButtonInsideItsBarAtEveryGlyphSize) {
  const struct {
    int glyph;
    int row; // 0: not fixed by the glyph (the caption is higher)
  } sizes[] = {{10, 0}, {16, 0}, {24, 38}, {32, 46}};
  for (const auto& s : sizes) {
    SCOPED_TRACE(s.glyph);
    TForm* form = MakeForm(20, 20, 500, 200, "Ряды");
    auto* manager = new TActionManager(form);
    manager->SetImages(Glyphs(form, s.glyph, 3));
    manager->SetStyle(XPStyle());
    auto* controlBar = new TControlBar(form);
    controlBar->SetParent(form);
    controlBar->SetAlign(alTop);
    controlBar->SetAutoSize(true);
    controlBar->SetBevelKind(bkNone);
    auto* menu = new TActionMainMenuBar(form);
    menu->SetWidth(300); // its items in one row
    menu->SetParent(controlBar);
    menu->SetActionManager(manager);
    auto* tools = new TActionToolBar(form);
    tools->SetParent(controlBar);
    tools->SetActionManager(manager);
    TActionClients* menuItems = manager->ActionBars()->ActionBars(0)->Items();
    TActionClients* toolItems = manager->ActionBars()->ActionBars(1)->Items();
    manager->ActionBars()->ActionBars(0)->SetAutoSize(false);
    manager->ActionBars()->ActionBars(1)->SetAutoSize(false);
    for (int i = 0; i < 3; ++i) {
      TAction* a = MakeAction(form, manager, "Команда", i);
      menuItems->Add()->SetAction(a);
      toolItems->Add()->SetAction(a);
      toolItems->Items(i)->SetShowCaption(false);
    }
    menu->RecreateControls();
    tools->RecreateControls();
    form->Show();
    app->ProcessMessages();

    const int row = menu->ActionControls(0)->Height() + 6;
    if (s.row) {
      EXPECT_EQ(row, s.row);
    }
    controlBar->SetRowSize(row);
    menu->SetHeight(row - 5);
    tools->SetHeight(row - 5);
    menu->RecreateControls();
    tools->RecreateControls();
    app->ProcessMessages();
    ASSERT_EQ(tools->ActionControlCount(), 3);
    for (TCustomActionBar* bar : std::initializer_list<TCustomActionBar*>{menu, tools}) {
      EXPECT_EQ(bar->Height(), row - 5);
      EXPECT_LE(controlBar->BandRect(bar).bottom - controlBar->BandRect(bar).top, row);
      for (int i = 0; i < bar->ActionControlCount(); ++i) {
        const sys::RECT r = bar->ActionControls(i)->BoundsRect();
        EXPECT_GE(r.top, 0) << i;
        EXPECT_LE(r.bottom, bar->ClientHeight()) << i;
      }
    }
    // The buttons show their glyphs whole.
    EXPECT_EQ(tools->ActionControls(0)->Height(), std::max(s.glyph + 7, 23));
    delete form;
    app->ProcessMessages();
  }
}

} // namespace
} // namespace zel
