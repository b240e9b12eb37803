// The combo box by mouse and keys, the colour box's entries per style, its
// Selected with known and unknown colours, and the custom colour through
// the colour dialog.

#include <filesystem>
#include <set>

#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/ColorDialog.h"
#include "framework/stdctrls/ColorDialogParts.h"
#include "tests/framework/stdctrls/StdCtrlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class ComboBoxTest : public StdCtrlsTest {
protected:
  void SetUp() override {
    StdCtrlsTest::SetUp();
    combo = Put<TComboBox>(20, 20, 150, 21);
    combo->SetStyle(csDropDownList);
    for (const char* s : {"Один", "Два", "Три", "Четыре", "Пять", "Шесть", "Семь", "Восемь",
                          "Девять", "Десять", "Одиннадцать", "Двенадцать"})
      combo->Items()->Add(s);
    combo->SetDropDownCount(5);
    combo->OnChange = [this](TObject*) { ++changes; };
  }
  TComboBox* combo = nullptr;
  int changes = 0;
};

TEST_F(ComboBoxTest, ClickOpensTheListAndAClickOnAnItemChoosesIt) {
  Click(combo, 10, 10);
  ASSERT_TRUE(combo->DroppedDown());
  auto* list = combo->ListWindow();
  EXPECT_EQ(list->Rows(), 5);
  EXPECT_TRUE(list->HasScrollBar());
  const RECT r = list->ItemRect(2);
  Click(list, r.left + 10, r.top + 3);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->ItemText(), "Три");
  EXPECT_EQ(changes, 1);
  // Choosing the same item again is no change.
  Click(combo, 10, 10);
  Click(list, r.left + 10, r.top + 3);
  EXPECT_EQ(changes, 1);
}

TEST_F(ComboBoxTest, APressElsewhereClosesWithoutChoosing) {
  combo->SetItemIndex(1);
  Click(combo, 10, 10);
  ASSERT_TRUE(combo->DroppedDown());
  Click(form, 400, 300);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(changes, 0);
}

TEST_F(ComboBoxTest, KeysChooseClosedAndMoveTheHighlightOpen) {
  combo->SetFocus();
  Pump();
  screen->Key(VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 0);
  screen->Key(VK_END);
  EXPECT_EQ(combo->ItemIndex(), 11);
  screen->Key(VK_HOME);
  screen->Type("ч");
  EXPECT_EQ(combo->ItemText(), "Четыре");
  EXPECT_EQ(changes, 4);
  screen->Key(VK_F4);
  ASSERT_TRUE(combo->DroppedDown());
  screen->Key(VK_DOWN);
  screen->Key(VK_DOWN);
  screen->Key(VK_DOWN);
  EXPECT_EQ(combo->ListWindow()->HotIndex(), 6);
  EXPECT_EQ(combo->ListWindow()->TopIndex(), 2); // scrolled to keep it in view
  EXPECT_EQ(combo->ItemIndex(), 3);              // nothing chosen yet
  screen->Key(VK_ESCAPE);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 3);
  screen->Key(VK_F4);
  screen->Key(VK_DOWN);
  screen->Key(VK_RETURN);
  EXPECT_EQ(combo->ItemIndex(), 4);
  EXPECT_EQ(changes, 5);
}

TEST_F(ComboBoxTest, TheListScrollsByItsBarAndTheWheel) {
  Click(combo, 10, 10);
  auto* list = combo->ListWindow();
  const RECT down = list->VertScrollBarRect();
  Click(list, (down.left + down.right) / 2, down.bottom - 3);
  EXPECT_EQ(list->TopIndex(), 1);
  EXPECT_TRUE(combo->DroppedDown()); // scrolling keeps it open
  const POINT p = At(list, 10, 10);
  screen->Wheel(p.x, p.y, -120);
  EXPECT_EQ(list->TopIndex(), 4);
  screen->Wheel(p.x, p.y, -120);
  EXPECT_EQ(list->TopIndex(), 7); // 12 items, 5 rows: no further
}

TEST_F(ComboBoxTest, OwnerDrawnItemsAreDrawnByTheHandler) {
  combo->SetStyle(csOwnerDrawFixed);
  std::set<int> drawn;
  bool sawEdit = false;
  combo->OnDrawItem = [&](TWinControl*, int index, const RECT&, TOwnerDrawState state) {
    if (state.Contains(odComboBoxEdit))
      sawEdit = true;
    else
      drawn.insert(index);
  };
  combo->SetItemIndex(0);
  combo->Repaint();
  Click(combo, 10, 10);
  combo->ListWindow()->Repaint();
  EXPECT_TRUE(sawEdit);
  EXPECT_EQ(drawn, (std::set<int>{0, 1, 2, 3, 4}));
}

class ColorBoxTest : public StdCtrlsTest {
protected:
  void TearDown() override {
    SetColorDialogHook(nullptr);
    StdCtrlsTest::TearDown();
  }
  TColorBox* Make(TColorBoxStyle style) {
    auto* box = Put<TColorBox>(20, 20, 160, 22);
    box->SetStyle(style);
    return box;
  }
};

TEST_F(ColorBoxTest, StyleChoosesTheEntries) {
  TColorBox* box = Make(TColorBoxStyle{cbStandardColors});
  EXPECT_EQ(box->Items()->Count(), 16);
  EXPECT_EQ(box->Colors(0), clBlack);
  EXPECT_EQ(box->ColorNames(0), "clBlack");
  EXPECT_EQ(box->Colors(15), clWhite);
  box->SetStyle(TColorBoxStyle{cbStandardColors, cbExtendedColors, cbPrettyNames});
  EXPECT_EQ(box->Items()->Count(), 20);
  EXPECT_EQ(box->ColorNames(9), "Красный");
  EXPECT_EQ(box->Colors(19), clMedGray);
  box->SetStyle(TColorBoxStyle{cbSystemColors, cbIncludeNone, cbIncludeDefault, cbCustomColor});
  EXPECT_EQ(box->ColorNames(0), "Другой...");
  EXPECT_EQ(box->Colors(box->Items()->Count() - 2), clNone);
  EXPECT_EQ(box->Colors(box->Items()->Count() - 1), clDefault);
  int systemColors = 0;
  for (int i = 1; i < box->Items()->Count(); ++i)
    if (IsSysColor(box->Colors(i))) ++systemColors;
  EXPECT_EQ(systemColors, box->Items()->Count() - 3);
}

TEST_F(ColorBoxTest, TheProgramAddsItsOwnColours) {
  auto* box = Put<TColorBox>(20, 20, 160, 22);
  box->OnGetColors = [](TObject*, TStrings* items) {
    items->AddData("Фирменный", intptr_t(0x336699));
  };
  box->SetStyle(TColorBoxStyle{cbStandardColors, cbCustomColors});
  EXPECT_EQ(box->Items()->Count(), 17);
  EXPECT_EQ(box->Colors(16), 0x336699);
}

// With every style the frame's boxes use, every colour has one entry after
// the custom one, so a search from index 1 finds each name exactly once.
TEST_F(ColorBoxTest, PrettyNamesAreUniqueAndFoundFromIndexOne) {
  TColorBox* box =
      Make(TColorBoxStyle{cbStandardColors, cbExtendedColors, cbSystemColors, cbIncludeNone,
                          cbIncludeDefault, cbCustomColor, cbPrettyNames, cbCustomColors});
  std::set<std::string> names;
  std::set<TColor> colors;
  for (int i = 1; i < box->Items()->Count(); ++i) {
    EXPECT_TRUE(names.insert(box->ColorNames(i)).second) << box->ColorNames(i);
    EXPECT_TRUE(colors.insert(box->Colors(i)).second) << i;
  }
  EXPECT_EQ(colors.count(TColor(0xC66931)), 0u); // not a named colour
  EXPECT_EQ(TCustomColorBox::PrettyName(clNavy), "Тёмно-синий");
  EXPECT_EQ(TCustomColorBox::PrettyName(TColor(0xC66931)), "");
}

TEST_F(ColorBoxTest, SelectedFindsKnownColoursAndTakesUnknownOnes) {
  TColorBox* box =
      Make(TColorBoxStyle{cbStandardColors, cbSystemColors, cbCustomColor, cbPrettyNames});
  int changes = 0;
  box->OnChange = [&](TObject*) { ++changes; };
  box->SetSelected(clRed);
  EXPECT_EQ(box->Selected(), clRed);
  EXPECT_EQ(box->ItemText(), "Красный");
  box->SetSelected(clBtnFace);
  EXPECT_EQ(box->Selected(), clBtnFace);
  // Unknown: the custom entry holds it.
  box->SetSelected(TColor(0xC66931));
  EXPECT_EQ(box->ItemIndex(), 0);
  EXPECT_EQ(box->Selected(), TColor(0xC66931));
  EXPECT_EQ(changes, 0); // code does not raise OnChange
  // Without a custom entry an entry is made for it, named by its value.
  TColorBox* plain = Make(TColorBoxStyle{cbStandardColors});
  plain->SetSelected(TColor(0x123456));
  EXPECT_EQ(plain->Items()->Count(), 17);
  EXPECT_EQ(plain->ItemText(), "$00123456");
  EXPECT_EQ(plain->Selected(), TColor(0x123456));
  plain->SetSelected(TColor(0x123456)); // found now, not added again
  EXPECT_EQ(plain->Items()->Count(), 17);
}

TEST_F(ColorBoxTest, ChoosingTheCustomEntryAsksTheDialog) {
  TColorBox* box = Make(TColorBoxStyle{cbStandardColors, cbCustomColor, cbPrettyNames});
  box->SetSelected(clGreen);
  int changes = 0, asked = 0;
  box->OnChange = [&](TObject*) { ++changes; };
  TColor answer = TColor(0x4080C0);
  bool confirm = true;
  SetColorDialogHook([&](TColor& c) {
    ++asked;
    c = answer;
    return confirm;
  });
  box->SetFocus();
  Pump();
  screen->Key(VK_HOME); // the custom entry
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(box->ItemIndex(), 0);
  EXPECT_EQ(box->Selected(), TColor(0x4080C0));
  EXPECT_EQ(changes, 1);
  // Cancelled: the previous choice comes back, nothing changed.
  screen->Key(VK_END);
  EXPECT_EQ(changes, 2);
  confirm = false;
  screen->Key(VK_HOME);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(box->Selected(), clWhite);
  EXPECT_EQ(changes, 2);
}

TEST_F(ColorBoxTest, NoBevelsMeansNoBorder) {
  TColorBox* box = Make(TColorBoxStyle{cbStandardColors});
  const int framed = box->Height();
  box->SetBevelInner(bvNone);
  box->SetBevelOuter(bvNone);
  box->SetItemHeight(16);
  EXPECT_EQ(box->Height(), framed - 4);
  EXPECT_EQ(box->ButtonRect().right, box->ClientWidth());
}

class ColorDialogTest : public StdCtrlsTest {};

TEST_F(ColorDialogTest, PartsAgreeOnTheColour) {
  TColorDialogForm dialog(nullptr);
  dialog.Show();
  Pump();
  dialog.SetColor(TColor(0x0000FF)); // red
  EXPECT_EQ(dialog.RedEdit()->Value(), 255);
  EXPECT_EQ(dialog.GreenEdit()->Value(), 0);
  EXPECT_EQ(dialog.Hue(), 0);
  EXPECT_EQ(dialog.Luminance(), 120);
  EXPECT_EQ(dialog.Saturation(), 240);
  // A luminance of 240 is white whatever the hue.
  dialog.SetHLS(80, 240, 240);
  EXPECT_EQ(dialog.Color(), clWhite);
  // Typing into the blue field.
  dialog.BlueEdit()->SetFocus();
  Pump();
  screen->Type("128");
  EXPECT_EQ(dialog.BlueEdit()->Value(), 128);
  EXPECT_EQ((dialog.Color() >> 16) & 0xFF, 128);
  // A click on a basic colour takes it.
  auto* basic = dialog.BasicColors();
  const RECT cell = basic->CellRect(3);
  Click(basic, cell.left + 3, cell.top + 3);
  EXPECT_EQ(dialog.Color(), basic->Colors(3));
  // And the field sets hue and saturation.
  const POINT p = dialog.Field()->PointOf(160, 240);
  Click(dialog.Field(), p.x, p.y);
  EXPECT_NEAR(dialog.Hue(), 160, 2);
  EXPECT_NEAR(dialog.Saturation(), 240, 2);
  dialog.AddCustomColor();
  EXPECT_EQ(dialog.CustomColorsPalette()->Colors(0), dialog.Color());
  std::filesystem::create_directories(std::string(ZEL_BINARY_DIR) + "/pictures");
  dialog.Repaint();
  Pump();
  EXPECT_TRUE(screen->SaveWindowShot(dialog.Handle(), PicturePath("stdctrls_color_dialog.png")));
}

TEST_F(ColorDialogTest, ExecuteAnswersThroughTheHookOrTheForm) {
  TColorDialog dialog(nullptr);
  dialog.SetColor(clRed);
  SetColorDialogHook([](TColor& c) {
    EXPECT_EQ(c, clRed);
    c = clBlue;
    return true;
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), clBlue);
  SetColorDialogHook([](TColor& c) {
    c = clGreen;
    return false;
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), clBlue);
  SetColorDialogHook(nullptr);
}

} // namespace
} // namespace zel::test

#include "framework/forms/Screen.h"
#include "framework/stdctrls/Timer.h"

namespace zel::test {
namespace {

class ColorDialogModalTest : public StdCtrlsTest {};

// The dialog runs its own message loop; a timer plays the person, who types
// a blue value and confirms with Enter, or leaves with Escape.
TEST_F(ColorDialogModalTest, EnterConfirmsTheEditedColourAndEscapeKeepsTheOldOne) {
  TColorDialog dialog(nullptr);
  dialog.SetColor(TColor(0x000080));
  TTimer person(nullptr);
  person.SetInterval(50);
  int step = 0;
  person.SetOnTimer([&](TObject*) {
    person.SetEnabled(false);
    auto* form = dynamic_cast<TColorDialogForm*>(Screen->ActiveForm());
    ASSERT_NE(form, nullptr);
    if (step++ == 0) {
      EXPECT_EQ(form->RedEdit()->Value(), 128);
      form->BlueEdit()->SetFocus();
      screen->Type("200");
      screen->Key(VK_RETURN);
    } else {
      screen->Key(VK_ESCAPE);
    }
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), TColor(0xC80080));
  EXPECT_EQ(dialog.CustomColors()->Count(), 16);
  person.SetEnabled(true);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), TColor(0xC80080));
}

} // namespace
} // namespace zel::test
