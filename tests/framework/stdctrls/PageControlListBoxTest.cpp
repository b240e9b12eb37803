// The page control (tabs by mouse and keys, the changing veto, sheets that
// join, move and leave) and the list box (choice by mouse and keys,
// scrolling, check boxes).

#include "framework/graphics/Colors.h"
#include "framework/stdctrls/ListBox.h"
#include "framework/stdctrls/PageControl.h"
#include "tests/framework/stdctrls/StdCtrlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class PageControlTest : public StdCtrlsTest {
protected:
  void SetUp() override {
    StdCtrlsTest::SetUp();
    pages = Put<TPageControl>(20, 20, 300, 200);
    for (const char* caption : {"Первая", "Вторая", "Третья"}) {
      auto* sheet = new TTabSheet(form);
      sheet->SetCaption(caption);
      sheet->SetPageControl(pages);
      sheets.push_back(sheet);
    }
    pages->OnChange = [this](TObject*) { ++changes; };
    Pump();
  }
  void ClickTab(int index) {
    const RECT r = pages->TabRect(index);
    Click(pages, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump();
  }
  TPageControl* pages = nullptr;
  std::vector<TTabSheet*> sheets;
  int changes = 0;
};

TEST_F(PageControlTest, TheFirstSheetIsActiveAndFillsThePageArea) {
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_TRUE(sheets[0]->Visible());
  EXPECT_FALSE(sheets[1]->Visible());
  EXPECT_EQ(sheets[0]->BoundsRect(), pages->DisplayRect());
  // Tabs sit side by side; the active one stands out over its neighbours.
  const RECT a = pages->TabRect(0), b = pages->TabRect(1);
  EXPECT_LT(a.top, b.top);
  EXPECT_GT(a.right, b.left);
  EXPECT_LT(b.bottom, pages->DisplayRect().top);
}

TEST_F(PageControlTest, AClickOnATabShowsItsSheetAndTheChangingVetoHolds) {
  ClickTab(2);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_TRUE(sheets[2]->Visible());
  EXPECT_FALSE(sheets[0]->Visible());
  EXPECT_EQ(changes, 1);
  // A click on the active tab, or outside the tabs, changes nothing.
  ClickTab(2);
  Click(pages, 150, 150);
  Pump();
  EXPECT_EQ(changes, 1);
  pages->OnChanging = [](TObject*, bool& allow) { allow = false; };
  ClickTab(0);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(changes, 1);
}

TEST_F(PageControlTest, ArrowKeysAndCtrlTabWalkTheVisibleTabsRound) {
  sheets[1]->SetTabVisible(false);
  EXPECT_TRUE(IsRectEmpty(pages->TabRect(1)));
  ClickTab(0);
  screen->Key(VK_RIGHT);
  Pump();
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  screen->Key(VK_RIGHT);
  Pump();
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  screen->KeyDown(VK_CONTROL);
  screen->KeyDown(VK_SHIFT);
  screen->Key(VK_TAB);
  screen->KeyUp(VK_SHIFT);
  screen->KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(changes, 3);
}

TEST_F(PageControlTest, SheetsMoveAndLeaveAndTheActiveOnePassesOn) {
  sheets[2]->SetPageIndex(0);
  EXPECT_EQ(pages->Pages(0), sheets[2]);
  EXPECT_EQ(sheets[0]->PageIndex(), 1);
  pages->SetActivePage(sheets[0]);
  // Hiding the active sheet's tab activates the next one.
  sheets[0]->SetTabVisible(false);
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
  delete sheets[1];
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  sheets[2]->SetPageControl(nullptr);
  EXPECT_EQ(pages->ActivePage(), nullptr);
  EXPECT_EQ(sheets[2]->PageControl(), nullptr);
  // Deleting the control with a sheet left on it frees the sheet cleanly.
  delete pages;
  Pump();
}

TEST_F(PageControlTest, LooksLikeRaisedTabsOverAFramedPage) {
  ClickTab(1);
  ASSERT_TRUE(screen->SaveWindowShot(form->Handle(), PicturePath("pagecontrol.png")));
  const RECT active = pages->TabRect(1);
  const RECT page = pages->DisplayRect();
  // The page's top edge is light, except under the active tab, which runs
  // into the page in the face colour.
  const POINT edge = At(pages, page.right - 10, active.bottom - 1);
  const POINT under = At(pages, (active.left + active.right) / 2, active.bottom - 1);
  EXPECT_EQ(screen->ScreenPixel(edge.x, edge.y), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(screen->ScreenPixel(under.x, under.y), ColorToRGB(clBtnFace));
}

class ListBoxTest : public StdCtrlsTest {
protected:
  void SetUp() override {
    StdCtrlsTest::SetUp();
    list = Put<TListBox>(20, 20, 160, 100);
    for (int i = 0; i < 12; ++i)
      list->Items()->Add("Строка " + std::to_string(i + 1));
    list->OnClick = [this](TObject*) { ++clicks; };
    list->OnClickCheck = [this](TObject*) { ++checks; };
    Pump();
  }
  void ClickLine(int index, int x = 40) {
    const RECT r = list->ItemRect(index);
    Click(list, x, (r.top + r.bottom) / 2);
    Pump();
  }
  TListBox* list = nullptr;
  int clicks = 0, checks = 0;
};

TEST_F(ListBoxTest, AClickChoosesALineAndKeysMoveTheChoiceIntoView) {
  EXPECT_TRUE(list->HasScrollBar());
  ClickLine(2);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  ClickLine(2);
  EXPECT_EQ(clicks, 1);
  screen->Key(VK_END);
  Pump();
  EXPECT_EQ(list->ItemIndex(), 11);
  EXPECT_EQ(list->TopIndex(), 12 - list->VisibleRows());
  screen->Key(VK_HOME);
  screen->Key(VK_DOWN);
  Pump();
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_EQ(clicks, 4);
  // Setting the choice from code raises nothing; a bad index clears it.
  list->SetItemIndex(40);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(clicks, 4);
}

// The list with the keyboard shows it whatever it holds: on the chosen
// line, else on the first line in view, else where the first line would be.
TEST_F(ListBoxTest, TheFocusShowsWithAndWithoutAChoice) {
  auto other = Put<TListBox>(200, 20, 100, 60);
  const struct {
    const char* name;
    int lines;
    int chosen;
  } cases[] = {{"chosen", 12, 3}, {"nothing chosen", 12, -1}, {"empty", 0, -1}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    list->Items()->Clear();
    for (int i = 0; i < k.lines; ++i)
      list->Items()->Add("Строка " + std::to_string(i + 1));
    list->SetItemIndex(k.chosen);
    const RECT line = k.lines > 0 ? list->ItemRect(std::max(k.chosen, 0))
                                  : RECT{2, 2, list->Width() - 2, 2 + list->ItemHeight()};
    // The line's left edge, where the dotted rectangle runs.
    auto edge = [&] {
      std::vector<COLORREF> column;
      const POINT top = At(list, line.left, line.top);
      for (int y = 0; y < line.Height(); ++y)
        column.push_back(screen->ScreenPixel(top.x, top.y + y));
      return column;
    };
    other->SetFocus();
    Pump();
    const std::vector<COLORREF> without = edge();
    list->SetFocus();
    Pump();
    EXPECT_NE(edge(), without);
  }
}

TEST_F(ListBoxTest, TheWheelAndTheScrollBarScrollWithinTheLines) {
  const POINT p = At(list, 40, 40);
  screen->Wheel(p.x, p.y, -120);
  Pump();
  EXPECT_EQ(list->TopIndex(), 3);
  for (int i = 0; i < 5; ++i)
    screen->Wheel(p.x, p.y, -120);
  Pump();
  EXPECT_EQ(list->TopIndex(), 12 - list->VisibleRows());
  // The scroll bar's up arrow takes a line back.
  Click(list, list->Width() - 8, 6);
  Pump();
  EXPECT_EQ(list->TopIndex(), 12 - list->VisibleRows() - 1);
  // Lines removed below the view pull it back.
  while (list->Count() > 3)
    list->Items()->Delete(list->Count() - 1);
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_FALSE(list->HasScrollBar());
}

TEST_F(ListBoxTest, CheckBoxesToggleByTheirBoxAndBySpace) {
  list->SetCheckBoxes(true);
  const RECT box = list->CheckBoxRect(1);
  Click(list, box.left + 4, box.top + 4);
  Pump();
  EXPECT_TRUE(list->Checked(1));
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(checks, 1);
  // The caption chooses but does not toggle.
  ClickLine(0, box.right + 30);
  EXPECT_FALSE(list->Checked(0));
  screen->Key(VK_SPACE);
  Pump();
  EXPECT_TRUE(list->Checked(0));
  EXPECT_EQ(checks, 2);
  list->SetChecked(0, false);
  EXPECT_FALSE(list->Checked(0));
  EXPECT_EQ(checks, 2);
  // A check of a line that does not exist is ignored.
  list->SetChecked(99, true);
  EXPECT_FALSE(list->Checked(99));
  ASSERT_TRUE(screen->SaveWindowShot(form->Handle(), PicturePath("listbox_checks.png")));
}

} // namespace
} // namespace zel::test
