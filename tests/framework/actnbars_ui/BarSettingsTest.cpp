// Settings a window's description gives its bars: a style named before it is
// registered, controls made when loading ends, the bar item's AutoSize, the
// menu bar's font, and bars following a change of their images.

#include <gtest/gtest.h>

#include "framework/stdctrls/ListBox.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemParams.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

class BarSettingsTest : public ::testing::Test, protected BarTestSupport {
protected:
  void SetUp() override {
    StartBars({XPStyle(), StandardStyle()});
    form = app->CreateForm<TForm>();
    images = MakeImages(form, {}, GlyphShape::Square);
    manager = new TActionManager(form);
    manager->SetImages(images);
    action = MakeAction(form, manager, "Открыть", 0);
    action->OnExecute = [](TObject*) {};
  }
  void TearDown() override { StopBars(); }
  void AddGlyph(TCustomImageList* list, int size) {
    TBitmap bmp;
    bmp.SetSize(size, size);
    bmp.Canvas()->Brush()->SetColor(clGreen);
    bmp.Canvas()->FillRect(sys::RECT{0, 0, size, size});
    list->Add(&bmp, nullptr);
  }
  TActionToolBar* ToolBar() {
    auto* bar = new TActionToolBar(form);
    bar->SetParent(form);
    bar->SetActionManager(manager);
    TActionClientItem* item = manager->FindActionBar(bar)->Items()->Add();
    item->SetAction(action);
    item->SetShowCaption(false);
    return bar;
  }

  TForm* form = nullptr;
  TCustomImageList* images = nullptr;
  TActionManager* manager = nullptr;
  TAction* action = nullptr;
};

TEST_F(BarSettingsTest, AStyleNamedButNotRegisteredKeepsItsNameAndDrawsInTheFirst) {
  manager->SetStyleName("Не зарегистрирован");
  TActionToolBar* bar = ToolBar();
  bar->RecreateControls();
  EXPECT_EQ(manager->StyleName(), "Не зарегистрирован");
  EXPECT_EQ(manager->Style(), nullptr);
  EXPECT_EQ(bar->Style(), XPStyle());
  EXPECT_EQ(bar->ActionControlCount(), 1);
  manager->SetStyleName("Standard");
  EXPECT_EQ(bar->Style(), StandardStyle());
}

TEST_F(BarSettingsTest, ABarReadInTheLoadingStateMakesItsControlsWhenLoadingEnds) {
  form->BeginLoading();
  TActionToolBar* bar = ToolBar();
  bar->BeginLoading();
  EXPECT_EQ(bar->ActionControlCount(), 0);
  form->EndLoading();
  EXPECT_EQ(bar->ActionControlCount(), 1);
}

TEST_F(BarSettingsTest, TheBarItemsAutoSizeIsTheBarsOwn) {
  AddGlyph(images, 16);
  TActionToolBar* bar = ToolBar();
  TActionBarItem* item = manager->FindActionBar(bar);
  EXPECT_TRUE(bar->BarAutoSize());
  item->SetAutoSize(false);
  EXPECT_FALSE(bar->BarAutoSize());
  bar->SetHeight(60);
  bar->RecreateControls();
  EXPECT_EQ(bar->Height(), 60);
  item->SetAutoSize(true);
  bar->RecreateControls();
  EXPECT_LT(bar->Height(), 60);
}

TEST_F(BarSettingsTest, BarsFollowTheirImages) {
  TActionToolBar* bar = ToolBar();
  bar->RecreateControls();
  // No image yet: the button shows its caption instead.
  EXPECT_FALSE(bar->ActionControls(0)->HasGlyph());
  const int captionWidth = bar->ActionControls(0)->Width();
  AddGlyph(images, 16);
  EXPECT_TRUE(bar->ActionControls(0)->HasGlyph());
  EXPECT_LT(bar->ActionControls(0)->Width(), captionWidth);
  // A larger cell size gives a larger button without the bar being remade.
  const int small = bar->ActionControls(0)->Height();
  images->SetSize(32, 32);
  AddGlyph(images, 32);
  EXPECT_EQ(bar->ActionControls(0)->Height(), small + 16);
}

TEST_F(BarSettingsTest, TheMainMenuBarShowsTheSystemMenuFontUnlessToldOtherwise) {
  auto* menu = new TActionMainMenuBar(form);
  menu->SetParent(form);
  EXPECT_TRUE(menu->UseSystemFont());
  EXPECT_EQ(menu->Font()->Name(), sys::GetNonClientMetrics().lfMenuFont.lfFaceName);
  menu->SetUseSystemFont(false);
  menu->Font()->SetHeight(-16);
  EXPECT_EQ(menu->Font()->Height(), -16);
  // The top level of a menu bar shows captions, never glyphs.
  AddGlyph(images, 16);
  menu->SetActionManager(manager);
  manager->FindActionBar(menu)->Items()->Add()->SetAction(action);
  menu->RecreateControls();
  ASSERT_EQ(menu->ActionControlCount(), 1);
  EXPECT_FALSE(menu->ActionControls(0)->HasGlyph());
}

TEST_F(BarSettingsTest, MenuItemsMakeRoomForLargeGlyphs) {
  auto* menu = MakeBar<TActionMainMenuBar>(form, manager);
  TActionClientItem* top = manager->FindActionBar(menu)->Items()->Add();
  top->SetCaption("Файл");
  top->Items()->Add()->SetAction(action);
  images->SetSize(32, 32);
  AddGlyph(images, 32);
  menu->RecreateControls();
  form->SetBounds(40, 40, 400, 300);
  form->Show();
  app->ProcessMessages();
  ClickAt(menu->ActionControls(0)->ClientToScreen(sys::POINT{4, 4}));
  auto* item = dynamic_cast<TCustomMenuItem*>(top->Items()->Items(0)->Control());
  ASSERT_NE(item, nullptr) << "the menu did not open";
  EXPECT_GE(item->Height(), 32 + 6);
  EXPECT_GE(item->GutterWidth(), 32 + 8);
  const sys::POINT glyph = item->GlyphPos();
  EXPECT_GE(glyph.y, 0);
  EXPECT_LE(glyph.y + 32, item->Height());
}

TEST_F(BarSettingsTest, TheMenuLoopGivesTheKeyboardBackWhenItEnds) {
  form->SetBounds(40, 40, 400, 300);
  auto* list = new TListBox(form);
  list->SetParent(form);
  list->SetBounds(10, 80, 120, 100);
  auto* menu = new TActionMainMenuBar(form);
  menu->SetParent(form);
  menu->SetAlign(alTop);
  menu->SetActionManager(manager);
  TActionClientItem* top = manager->FindActionBar(menu)->Items()->Add();
  top->SetCaption("&Файл");
  top->Items()->Add()->SetAction(action);
  menu->RecreateControls();
  form->Show();
  list->SetFocus();
  app->ProcessMessages();
  ASSERT_TRUE(list->Focused());

  // By mouse: the menu takes the keys while open, the command gives them back.
  const sys::POINT p = menu->ActionControls(0)->ClientToScreen(sys::POINT{4, 4});
  screen->Click(p.x, p.y);
  EXPECT_TRUE(menu->Focused());
  TCustomActionControl* item = top->Items()->Items(0)->Control();
  ASSERT_NE(item, nullptr);
  clock.Advance(1000);
  const sys::POINT q = item->ClientToScreen(sys::POINT{8, 8});
  screen->Click(q.x, q.y);
  app->ProcessMessages();
  EXPECT_FALSE(menu->InMenuLoop());
  EXPECT_TRUE(list->Focused());

  // By keyboard: Alt enters the loop, Esc leaves it.
  screen->Key(sys::VK_MENU);
  EXPECT_TRUE(menu->InMenuLoop());
  screen->Key(sys::VK_ESCAPE);
  screen->Key(sys::VK_ESCAPE);
  EXPECT_FALSE(menu->InMenuLoop());
  EXPECT_TRUE(list->Focused());
}

} // namespace
} // namespace zel
