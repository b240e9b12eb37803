// The style as a person meets it: every menu opened by the mouse, a tool
// bar's drop-down, its hidden items behind the scroll button, and its
// customize pop-up with the add-or-remove entries and the item that opens
// the customize dialog.

#include <algorithm>
#include <cstdlib>

#include "framework/graphics/Colors.h"
#include "tests/actionbars/ZelTestSupport.h"

namespace zel {
namespace {

using namespace zeltest;

class UserLevelTest : public ZelBarsFixture {
protected:
  void SetUp() override {
    ZelBarsFixture::SetUp();
    InstallCustomizeDialog();
    TActionClientItem* files = AddItem(MenuItems(), Action("Файлы"));
    AddItem(files->Items(), Action("Новая форма", 0));
    files->Items()->AddSeparator();
    AddItem(files->Items(), Action("Выход", 1));
    TActionClientItem* window = AddItem(MenuItems(), Action("Окно"));
    AddItem(window->Items(), Action("Каскад", 2));
    AddItem(MenuItems(), Action("Помощь", 3));
    for (int i = 0; i < 4; ++i)
      tools.push_back(Action("Кнопка " + std::to_string(i), i));
    for (TAction* a : tools)
      AddItem(ToolItems(), a, false);
    TActionClientItem* drop = AddItem(ToolItems(), Action("Ещё", 2), false);
    AddItem(drop->Items(), Action("Первое", 0));
    AddItem(drop->Items(), Action("Второе", 1));
    toolBar->onShowCustomize = [this](TObject* sender) { shownWith = sender; };
    // Records each click with whether the bar had handled it already (a
    // sub-menu open).
    menuBar->onItemClicked = [this](TCustomActionControl* c) {
      clicked.push_back(c);
      handledBefore.push_back(menuBar->Popup() != nullptr);
    };
    Show();
  }
  void TearDown() override {
    TCustomizeActionBars::SetDialogRunner(nullptr);
    TCustomizeActionBars::SetDialogFactory(nullptr);
    ZelBarsFixture::TearDown();
  }
  // How far, in luminance steps of 255, the caption of c stands out from
  // the fill at the control's left edge in the same row, at best.
  int CaptionContrast(TControl* c) {
    auto luminance = [](TColor p) {
      return (299 * (p & 0xFF) + 587 * ((p >> 8) & 0xFF) + 114 * ((p >> 16) & 0xFF)) / 1000;
    };
    int best = 0;
    for (int y = 2; y < c->Height() - 2; ++y) {
      const int fill = luminance(Pixel(c, 2, y));
      for (int x = 4; x < c->Width() - 4; ++x)
        best = std::max(best, std::abs(luminance(Pixel(c, x, y)) - fill));
    }
    return best;
  }
  template <class T> static bool AllAre(TCustomActionBar* bar) {
    for (int i = 0; i < bar->ActionControlCount(); ++i)
      if (!bar->ActionControls(i)->Is<T>()) return false;
    return bar->ActionControlCount() > 0;
  }

  std::vector<TAction*> tools;
  TObject* shownWith = nullptr;
  std::vector<TCustomActionControl*> clicked;
  std::vector<bool> handledBefore;
};

TEST_F(UserLevelTest, EveryMenuOpensInTheStylesPopupWithItsItems) {
  ASSERT_TRUE(AllAre<TZelStyleMenuButton>(menuBar));
  const char* names[] = {"zel_user_menu_files", "zel_user_menu_window"};
  for (int i = 0; i < 2; ++i) {
    TCustomActionControl* button = menuBar->ActionControls(i);
    ClickOn(button);
    TCustomActionPopupMenu* popup = menuBar->Popup();
    ASSERT_NE(popup, nullptr) << i;
    EXPECT_TRUE(popup->Is<TZelStylePopupMenu>());
    EXPECT_EQ(popup->ColorMap(), menuBar->ColorMap());
    EXPECT_TRUE(AllAre<TZelStyleMenuItem>(popup));
    EXPECT_TRUE(popup->Visible());
    Picture(names[i]);
    // The button is drawn as the tab of its menu, not as a hot button.
    EXPECT_EQ(Pixel(button, button->Width() / 2, button->Height() - 1),
              ColorToRGB(menuBar->ColorMap()->BtnSelectedColor()));
    Key(sys::VK_ESCAPE);
  }
  // Every click of the menu tree's items comes through onItemClicked before
  // the bar handles it: the top-level buttons and a pop-up's items; a nil
  // control raises nothing and is not handled.
  ClickOn(menuBar->ActionControls(0));
  TCustomActionControl* item = menuBar->Popup()->ActionControls(0);
  ClickOn(item);
  EXPECT_EQ(clicked, (std::vector<TCustomActionControl*>{menuBar->ActionControls(0),
                                                         menuBar->ActionControls(1),
                                                         menuBar->ActionControls(0), item}));
  EXPECT_EQ(handledBefore, (std::vector<bool>{false, false, false, true}));
  EXPECT_FALSE(menuBar->ControlClicked(nullptr));
  EXPECT_EQ(clicked.size(), 4u);
}

TEST_F(UserLevelTest, ADropDownAndTheHiddenItemsOpenPlainStylePopups) {
  TCustomActionControl* drop = toolBar->ActionControls(4);
  ASSERT_TRUE(drop->Is<TZelStyleDropDownBtn>());
  ClickOn(drop);
  TCustomActionPopupMenu* popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->Is<TZelStylePopupMenu>());
  EXPECT_EQ(popup->ActionControlCount(), 2);
  Picture("zel_user_dropdown");
  Key(sys::VK_ESCAPE);

  manager->FindActionBar(toolBar)->SetAutoSize(false);
  toolBar->SetWidth(toolBar->ActionControls(0)->Width() * 2 + 16);
  app->ProcessMessages();
  ASSERT_GT(toolBar->HiddenCount(), 0);
  ClickOn(toolBar->ScrollButton());
  popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->Is<TZelStylePopupMenu>());
  EXPECT_EQ(popup->ActionControlCount(), toolBar->HiddenCount());
  Picture("zel_user_hidden_items");
}

TEST_F(UserLevelTest, TheCustomizePopupEndsWithTheItemThatOpensTheDialog) {
  ClickAt(toolBar->ClientToScreen({toolBar->Width() - 4, toolBar->Height() / 2}),
          sys::MouseButton::Right);
  auto* popup = dynamic_cast<TZelStyleCustomizePopup*>(toolBar->ActivePopup());
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->ColorMap(), toolBar->ColorMap());
  TActionClientItem* additional = popup->AdditionalItem();
  ASSERT_NE(additional, nullptr);
  EXPECT_EQ(additional->Index(), additional->Collection()->Count() - 1);
  EXPECT_EQ(additional->Caption(), "Дополнительные настройки");
  EXPECT_EQ(additional->UsageCount(), -1);
  const int count = additional->Collection()->Count();
  popup->SetActionClient(popup->ActionClient());
  EXPECT_EQ(additional->Collection()->Count(), count) << "added once per client";
  TCustomActionControl* last = popup->ActionControls(popup->ActionControlCount() - 1);
  ASSERT_EQ(last->ActionClient(), additional);
  EXPECT_TRUE(last->IsEnabled());

  // The add-or-remove entries: one check box per button, checked while the
  // button shows.
  ToolItems()->Items(1)->SetVisible(false);
  HoverOn(popup->ActionControls(0));
  Picture("zel_user_customize_popup");
  TCustomActionPopupMenu* entries = popup->Popup();
  ASSERT_NE(entries, nullptr);
  ASSERT_TRUE(AllAre<TZelStyleAddRemoveItem>(entries));
  const TColor font = ColorToRGB(entries->ColorMap()->FontColor());
  for (int i = 0; i < 2; ++i) {
    TCustomActionControl* entry = entries->ActionControls(i);
    const int y = (entry->Height() - 11) / 2;
    EXPECT_EQ(Pixel(entry, 3, y + 5), ColorToRGB(toolBar->ColorMap()->BtnFrameColor())) << i;
    // The mark's long stroke passes (8, y + 6).
    EXPECT_EQ(Pixel(entry, 8, y + 6) == font, i == 0) << i;
  }

  ClickOn(last);
  auto* action = InternalCustomizeAction();
  ASSERT_NE(action, nullptr);
  TCustomizeDlg* dlg = action->Dialog();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->Showing());
  EXPECT_TRUE(dlg->StayOnTop());
  EXPECT_EQ(dlg->ActionManager(), manager);
  EXPECT_EQ(dlg->Form()->Caption(), "Дополнительные настройки");
  EXPECT_EQ(shownWith, dlg->Form());
  EXPECT_TRUE(toolBar->DesignMode());
  Picture("zel_user_customize_dialog");
  dlg->Close();
  app->ProcessMessages();
  EXPECT_FALSE(toolBar->DesignMode());
}

// The menus, the tool bar and the customize pop-up in each of the three
// colour maps, for a person to look at; the selection frame and the hot
// ring follow the map.  What the map draws stands out from what lies
// behind it: menu separators, the add-or-remove entries' marks (shown once,
// in their box), and the menu bar's captions on the program's gradient
// (window to button face), on the map's colour with the gradient off, on
// a floating bar, and on the tab of an open menu.
TEST_F(UserLevelTest, TheBarsAndTheirPopupsFollowEachColourMap) {
  const struct {
    const char* name;
    TCustomActionBarColorMap* map;
  } maps[] = {{"standard", new TStandardColorMap(form)},
              {"xp", new TXPColorMap(form)},
              {"twilight", new TTwilightColorMap(form)}};
  for (const auto& m : maps) {
    menuBar->SetColorMap(m.map);
    toolBar->SetColorMap(m.map);
    ClickOn(menuBar->ActionControls(0));
    TCustomActionPopupMenu* popup = menuBar->Popup();
    ASSERT_NE(popup, nullptr) << m.name;
    TCustomActionControl* first = popup->ActionControls(0);
    MoveTo(Center(first));
    Picture(std::string("zel_map_") + m.name + "_menu");
    EXPECT_EQ(Pixel(first, 0, first->Height() / 2), ColorToRGB(m.map->BtnFrameColor())) << m.name;
    TCustomActionControl* separator = popup->ActionControls(1);
    ASSERT_TRUE(separator->IsSeparator());
    const int rule = separator->Height() / 2;
    EXPECT_NE(Pixel(separator, separator->Width() - 8, rule),
              Pixel(separator, separator->Width() - 8, rule - 2))
        << m.name << " separator";
    Key(sys::VK_ESCAPE);
    TCustomActionControl* button = toolBar->ActionControls(0);
    MoveTo(Center(button));
    EXPECT_EQ(Pixel(button, 0, button->Height() / 2), ColorToRGB(m.map->BtnFrameColor())) << m.name;
    ToolItems()->Items(1)->SetVisible(false);
    ClickAt(toolBar->ClientToScreen({toolBar->Width() - 4, toolBar->Height() / 2}),
            sys::MouseButton::Right);
    ASSERT_NE(toolBar->ActivePopup(), nullptr) << m.name;
    EXPECT_EQ(toolBar->ActivePopup()->ColorMap(), m.map) << m.name;
    HoverOn(toolBar->ActivePopup()->ActionControls(0));
    Picture(std::string("zel_map_") + m.name + "_customize");
    TCustomActionPopupMenu* entries = toolBar->ActivePopup()->Popup();
    ASSERT_NE(entries, nullptr) << m.name;
    TCustomActionControl* shown = entries->ActionControls(0);
    TCustomActionControl* hidden = entries->ActionControls(1);
    const int y = (shown->Height() - 11) / 2;
    EXPECT_NE(Pixel(shown, 8, y + 6), Pixel(shown, 12, y + 8)) << m.name << " mark";
    EXPECT_EQ(Pixel(hidden, 8, y + 6), Pixel(hidden, 12, y + 8)) << m.name << " no mark";
    // Right of the box the two entries look alike but for their glyphs.
    const sys::POINT g = shown->GlyphPos();
    const int glyph = images->Width();
    for (int x = 16; x < shown->TextBounds().left; ++x)
      for (int row = 1; row < shown->Height() - 1; ++row)
        if (x < g.x - 1 || x > g.x + glyph || row < g.y - 1 || row > g.y + glyph) {
          ASSERT_EQ(Pixel(shown, x, row), Pixel(hidden, x, row))
              << m.name << " " << x << "," << row;
        }
    Key(sys::VK_ESCAPE);
    Key(sys::VK_ESCAPE);
    ToolItems()->Items(1)->SetVisible(true);
  }
  for (const auto& m : maps) {
    menuBar->SetColorMap(m.map);
    // The captions, and the open menu's caption, wherever the bar is.
    controlBar->SetGradientStartColor(clWindow);
    controlBar->SetGradientEndColor(clBtnFace);
    controlBar->SetGradientDirection(gdVertical);
    for (const char* where : {"gradient", "plain", "floating", "xp style"}) {
      SCOPED_TRACE(std::string(m.name) + " " + where);
      if (std::string(where) == "plain") {
        controlBar->SetDrawingStyle(TBandDrawingStyle::dsNormal);
        controlBar->SetColor(m.map->Color()); // as the editor sets it
      }
      if (std::string(where) == "floating") {
        ASSERT_TRUE(menuBar->ManualFloat({300, 200, 500, 240}));
      }
      if (std::string(where) == "xp style") {
        menuBar->SetParent(controlBar);
        manager->SetStyleName("XP Style");
        menuBar->SetColorMap(m.map);
      }
      app->ProcessMessages();
      TCustomActionControl* files = menuBar->ActionControls(0);
      EXPECT_GE(CaptionContrast(files), kCaptionContrast);
      ClickOn(files);
      ASSERT_NE(menuBar->Popup(), nullptr);
      EXPECT_GE(CaptionContrast(files), kCaptionContrast) << "open";
      Picture(std::string("zel_map_") + m.name + "_" + where);
      Key(sys::VK_ESCAPE);
      Key(sys::VK_ESCAPE);
    }
    manager->SetStyleName("Zel Style");
    controlBar->SetDrawingStyle(dsGradient);
  }
}

} // namespace
} // namespace zel
