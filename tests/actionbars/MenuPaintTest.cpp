// Menu items on the screen: the gutter and selection box, unused and
// disabled items, the check mark and radio dot of items without a glyph,
// and the menu button's tab joined to its open menu.

#include "framework/graphics/Colors.h"
#include "tests/actionbars/ZelTestSupport.h"

namespace zel {
namespace {

using namespace zeltest;

class MenuPaintTest : public ZelBarsFixture {
protected:
  void SetUp() override {
    ZelBarsFixture::SetUp();
    files = AddItem(MenuItems(), Action("Файлы"));
    AddItem(files->Items(), Action("Новая", 0));
    check = Action("Флажок");
    check->SetChecked(true);
    AddItem(files->Items(), check);
    radio = Action("Кнопка");
    radio->SetGroupIndex(1);
    radio->SetChecked(true);
    AddItem(files->Items(), radio);
    files->Items()->AddSeparator();
    disabled = Action("Недоступно");
    disabled->OnExecute = nullptr;
    disabled->SetEnabled(false);
    AddItem(files->Items(), disabled);
    unused = AddItem(files->Items(), Action("Давно не нужна"));
    // Used long ago: past the schedule's sessions for no uses.
    manager->ActionBars()->SetSessionCount(20);
    for (int i = 0; i < files->Items()->Count(); ++i)
      files->Items()->Items(i)->SetLastSession(20);
    unused->SetLastSession(0);
    Show();
    ClickOn(menuBar->ActionControls(0));
    popup = menuBar->Popup();
  }
  TCustomActionControl* Item(int i) { return popup->ActionControls(i); }
  TColor MapColor(TColor c) { return ColorToRGB(c); }

  TActionClientItem* files = nullptr;
  TActionClientItem* unused = nullptr;
  TAction *check = nullptr, *radio = nullptr, *disabled = nullptr;
  TCustomActionPopupMenu* popup = nullptr;
};

TEST_F(MenuPaintTest, TheSelectedItemHasAFramedBoxAndTheOthersTheirItemColours) {
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(Item(0)->Is<TZelStyleMenuItem>());
  TCustomActionBarColorMap* m = popup->ColorMap();
  MoveTo(Center(Item(0)));
  Picture("zel_menu_selected");
  TCustomActionControl* sel = Item(0);
  const int y = sel->Height() / 2;
  EXPECT_EQ(Pixel(sel, 0, y), MapColor(m->BtnFrameColor())) << "hollow frame";
  EXPECT_EQ(Pixel(sel, 1, y), MixColors(MapColor(m->SelectedColor()), MapColor(m->Color())))
      << "gutter starts mixed";
  EXPECT_EQ(Pixel(sel, sel->Width() - 3, y), MapColor(m->SelectedColor())) << "text area";

  // Unselected: the gutter starts in the item colour, the text area is the
  // menu colour; an unused item starts in the unused colour.
  TCustomActionControl* unusedItem = Item(popup->ActionControlCount() - 1);
  ASSERT_EQ(unusedItem->ActionClient(), unused);
  ASSERT_NE(m->UnusedColor(), m->Color());
  const TCustomActionControl* separator = Item(3);
  ASSERT_TRUE(separator->IsSeparator());
  const struct {
    const char* what;
    TCustomActionControl* item;
    TColor gutter;
  } cases[] = {{"checked", Item(1), m->Color()},
               {"unused", unusedItem, m->UnusedColor()},
               {"disabled", Item(4), m->Color()}};
  for (const auto& c : cases) {
    EXPECT_EQ(Pixel(c.item, 0, c.item->Height() / 2), MapColor(c.gutter)) << c.what;
    EXPECT_EQ(Pixel(c.item, c.item->Width() - 3, c.item->Height() / 2), MapColor(m->MenuColor()))
        << c.what;
  }

  // A disabled item under the mouse paints as unselected.
  MoveTo(Center(Item(4)));
  EXPECT_EQ(Pixel(Item(4), 0, Item(4)->Height() / 2), MapColor(m->Color()));
}

TEST_F(MenuPaintTest, CheckedItemsWithoutAGlyphGetAMarkOrADotSizedByTheirHeight) {
  ASSERT_NE(popup, nullptr);
  TCustomActionBarColorMap* m = popup->ColorMap();
  Picture("zel_menu_checks");
  // The mark takes the map's text colour; where that is the colour of the
  // box behind it (white on white in the black-and-white map), the selected
  // text colour instead.
  const TColor font = m->FontColor();
  const TColor selectedFont = TColor(0x30A020);
  m->SetSelectedFontColor(selectedFont);
  const struct {
    const char* map;
    TColor selected;
    TColor mark;
  } maps[] = {{"own colours", kSelected, font}, {"text in the box colour", font, selectedFont}};
  for (const auto& c : maps) {
    m->SetSelectedColor(c.selected);
    popup->Invalidate();
    // At 22 pixels: a = 2, size 5, y = 8.  The mark's long stroke passes
    // (x + 5, 9); the dot's centre is (x + 2, 10), which the mark misses.
    for (TCustomActionControl* item : {Item(1), Item(2)}) {
      ASSERT_EQ(item->Height(), 22);
      const int x = item->GlyphPos().x + 4;
      const bool dot = item == Item(2);
      const TColor mark = MapColor(c.mark);
      EXPECT_EQ(Pixel(item, x + 2, 10) == mark, dot) << c.map << (dot ? " dot" : " mark");
      EXPECT_EQ(Pixel(item, x + 5, 9) == mark, !dot) << c.map << (dot ? " dot" : " mark");
      // The solid selection-coloured box of a checked item behind it, framed.
      EXPECT_EQ(Pixel(item, x - 1, 5), MapColor(c.selected)) << c.map;
      EXPECT_EQ(Pixel(item, x - 1, 3), MapColor(m->BtnFrameColor())) << c.map;
    }
  }
}

TEST_F(MenuPaintTest, TheExpandButtonHasTheUnusedGutterAndABoxUnderTheMouse) {
  Key(sys::VK_ESCAPE);
  files->Items()->SetHideUnused(true);
  ClickOn(menuBar->ActionControls(0));
  popup = menuBar->Popup();
  ASSERT_NE(popup, nullptr);
  TCustomActionControl* expand = Item(popup->ActionControlCount() - 1);
  ASSERT_TRUE(expand->Is<TZelStyleExpandBtn>());
  TCustomActionBarColorMap* m = popup->ColorMap();
  const int y = expand->Height() / 2;
  EXPECT_EQ(Pixel(expand, 0, y), MapColor(m->UnusedColor()));
  EXPECT_EQ(expand->TextBounds().left, 24);
  MoveTo(Center(expand));
  Picture("zel_menu_expand");
  // The box: R shrunk by 2 across and 3 down, framed, filled with the
  // selection colour.
  EXPECT_EQ(Pixel(expand, 2, y), MapColor(m->BtnFrameColor()));
  EXPECT_EQ(Pixel(expand, 4, 4), MapColor(m->SelectedColor()));
  EXPECT_EQ(Pixel(expand, 0, y), MapColor(m->UnusedColor())) << "no frame around the whole button";
}

TEST_F(MenuPaintTest, TheOpenMenusButtonIsATabInTheSelectedButtonColour) {
  ASSERT_NE(popup, nullptr);
  TCustomActionControl* button = menuBar->ActionControls(0);
  Picture("zel_menu_tab");
  TCustomActionBarColorMap* m = menuBar->ColorMap();
  // The menu opens downwards: the tab's top corners are cut, its bottom is open.
  EXPECT_EQ(Pixel(button, button->Width() / 2, button->Height() - 1),
            MapColor(m->BtnSelectedColor()));
  EXPECT_EQ(Pixel(button, button->Width() / 2, 0), MapColor(m->FrameTopLeftOuter()));
  EXPECT_EQ(Pixel(button, 0, button->Height() / 2), MapColor(m->FrameTopLeftOuter()));
  EXPECT_NE(Pixel(button, 0, 0), MapColor(m->FrameTopLeftOuter())) << "cut corner";
  // Closed by Esc, the button stays selected without its tab; a second Esc
  // leaves the menu and the button is a plain one again.
  MoveTo(Center(popup->ActionControls(0)));
  Key(sys::VK_ESCAPE);
  ASSERT_FALSE(popup->Visible());
  const auto bottom = [&] { return Pixel(button, button->Width() / 2, button->Height() - 1); };
  const auto bar = [&] { return Pixel(menuBar, button->Left() + button->Width() / 2, 0); };
  EXPECT_NE(bottom(), MapColor(m->BtnSelectedColor()));
  EXPECT_NE(bottom(), bar());
  Key(sys::VK_ESCAPE);
  EXPECT_EQ(bottom(), bar());
}

} // namespace
} // namespace zel
