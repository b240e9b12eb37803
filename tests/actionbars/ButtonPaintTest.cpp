// Tool-bar buttons and the bars' background on the screen: the gradient
// slice, the hot ring, checked fills, the colours off the gradient bars,
// the drop-down divider and the scroll button's chevron.

#include "framework/graphics/Colors.h"
#include "tests/actionbars/ZelTestSupport.h"

namespace zel {
namespace {

using namespace zeltest;

class ButtonPaintTest : public ZelBarsFixture {
protected:
  void SetUp() override {
    ZelBarsFixture::SetUp();
    for (int i = 0; i < 3; ++i)
      actions.push_back(Action("Кнопка " + std::to_string(i), i));
    for (TAction* a : actions)
      AddItem(ToolItems(), a, false);
    AddItem(MenuItems(), Action("Файлы"));
  }
  TCustomActionControl* Button(int i) { return toolBar->ActionControls(i); }
  void Hover(TControl* c) { MoveTo(Center(c)); }
  void Away() { MoveTo({5, 5}); }

  std::vector<TAction*> actions;
};

// The fill colours worked out by hand: a black-to-red gradient, selection
// 0x404040 and frame 0x808080, so that every mix is an exact half.
TEST_F(ButtonPaintTest, FillColoursBlendTheBarsGradientWithTheSelection) {
  controlBar->SetGradientStartColor(TColor(0x000000));
  controlBar->SetGradientEndColor(TColor(0x0000C0));
  controlBar->SetColor(TColor(0x102030));
  toolBar->ColorMap()->SetSelectedColor(TColor(0x404040));
  toolBar->ColorMap()->SetBtnFrameColor(TColor(0x808080));
  enum Bar { Horizontal, Vertical, Flat };
  const struct {
    Bar bar;
    bool hot, band, checked;
    TColor start, end;
  } cases[] = {
      {Horizontal, false, false, false, 0x000000, 0x0000C0}, // the bar's own background
      {Horizontal, true, false, false, 0x202020, 0x202080},  // mixed towards the selection
      {Horizontal, true, true, false, 0x808080, 0x808080},   // a solid band on a horizontal bar
      {Vertical, true, true, false, 0x404040, 0x2020B0},     // a mixed band on a vertical bar
      {Vertical, true, true, true, 0x4040A0, 0x4040A0}, // checked: the base as the band left it
      {Flat, false, false, false, 0x102030, 0x102030},  // a control bar without gradient
      {Flat, true, false, false, 0x404040, 0x404040},
  };
  int i = 0;
  for (const auto& c : cases) {
    controlBar->SetGradientDirection(c.bar == Vertical ? gdVertical : gdHorizontal);
    controlBar->SetDrawingStyle(c.bar == Flat ? TBandDrawingStyle::dsNormal : dsGradient);
    const TButtonFill f = ButtonFillColors(c.hot, c.band, c.checked, toolBar);
    EXPECT_EQ(f.Start, c.start) << "case " << i;
    EXPECT_EQ(f.End, c.end) << "case " << i;
    EXPECT_EQ(f.Direction, c.bar == Vertical ? gdVertical : gdHorizontal) << "case " << i;
    ++i;
  }
  // Embossed text: on a flat fill darker and lighter than it, on a
  // gradient around the gradient's middle.
  controlBar->SetDrawingStyle(TBandDrawingStyle::dsNormal);
  Show();
  TColor dark, light;
  TextShadowColors(Button(0), dark, light);
  EXPECT_EQ(dark, Darken(0x102030, -50));
  EXPECT_EQ(light, Lighten(0x102030, 60));
  controlBar->SetDrawingStyle(dsGradient);
  TextShadowColors(Button(0), dark, light);
  EXPECT_EQ(dark, Darken(0x000060, -70));
  EXPECT_EQ(light, Lighten(0x000060, 10));
}

TEST_F(ButtonPaintTest, APlainButtonShowsExactlyTheBarsGradientBehindIt) {
  Show();
  Picture("zel_toolbar_plain");
  TCustomActionControl* b = Button(1);
  ASSERT_GT(b->Top(), 0) << "the bar's own background shows above its buttons";
  // A horizontal gradient depends on x alone: every column of the button
  // has the colour of the bar's own row above it.
  for (int x = 0; x < b->Width(); ++x) {
    const TColor bar = Pixel(toolBar, b->Left() + x, 0);
    EXPECT_EQ(Pixel(b, x, 0), bar) << x;
    EXPECT_EQ(Pixel(b, x, b->Height() - 1), bar) << x;
  }
  // The bar's gradient runs from 11 pixels left of it: its first column is
  // already past the start colour, and it reaches towards the end colour.
  EXPECT_NE(Pixel(toolBar, 0, 0), ColorToRGB(kStart));
  EXPECT_NE(Pixel(toolBar, 0, 0), Pixel(toolBar, toolBar->Width() - 1, 0));
}

TEST_F(ButtonPaintTest, TheHotRingIsSolidOnAHorizontalGradientAndMixedOnAVerticalOne) {
  Show();
  TCustomActionControl* b = Button(0);
  Hover(b);
  Picture("zel_toolbar_hot");
  const TColor frame = ColorToRGB(kFrame);
  const int w = b->Width(), h = b->Height();
  EXPECT_EQ(Pixel(b, 0, h / 2), frame);
  EXPECT_EQ(Pixel(b, w / 2, 0), frame);
  EXPECT_EQ(Pixel(b, w - 1, h - 1), frame);
  // Inside, the gradient mixed towards the selection colour.
  const TColor inside = Pixel(b, 2, 2);
  EXPECT_NE(inside, frame);
  EXPECT_NE(inside, Pixel(toolBar, b->Left() + 2, 0));

  controlBar->SetGradientDirection(gdVertical);
  toolBar->Invalidate();
  b->Invalidate();
  const TColor top = Pixel(b, w / 2, 0), bottom = Pixel(b, w / 2, h - 1);
  EXPECT_NE(top, bottom);
  EXPECT_NE(top, frame);
  EXPECT_NE(bottom, frame);
}

TEST_F(ButtonPaintTest, CheckedAndHotFillsOnAndOffTheGradientBars) {
  // The same button kind on a plain tool bar of the same manager: no
  // gradient bar, so the style's own base colours and the button face.
  auto* plainBar = new TActionToolBar(form);
  plainBar->SetParent(form);
  plainBar->SetAlign(alBottom);
  plainBar->SetActionManager(manager);
  AddItem(manager->FindActionBar(plainBar)->Items(), actions[2], false);
  plainBar->RecreateControls();
  Show();
  TCustomActionControl* onGradient = Button(2);
  TCustomActionControl* offGradient = plainBar->ActionControls(0);
  ASSERT_TRUE(offGradient->Is<TZelStyleButton>());
  const TColor selected = ColorToRGB(kSelected);

  struct Probe {
    const char* what;
    TCustomActionControl* button;
    bool checked, hot;
    TColor inside;
  };
  const Probe probes[] = {
      {"checked", onGradient, true, false, Lighten(selected, 10)},
      {"checked and hot", onGradient, true, true, selected},
      {"plain off the bars", offGradient, false, false, ColorToRGB(clBtnFace)},
      {"hot off the bars", offGradient, false, true, TColor(0xEFD3C6)},
      {"checked off the bars", offGradient, true, false, Lighten(TColor(0xEFD3C6), 10)},
  };
  for (const Probe& p : probes) {
    actions[2]->SetChecked(p.checked);
    if (p.hot)
      Hover(p.button);
    else
      Away();
    p.button->Invalidate();
    EXPECT_EQ(Pixel(p.button, 2, 2), p.inside) << p.what;
  }
  Hover(offGradient);
  actions[2]->SetChecked(false);
  offGradient->Invalidate();
  EXPECT_EQ(Pixel(offGradient, 0, offGradient->Height() / 2), TColor(0xC66931)) << "band";
}

TEST_F(ButtonPaintTest, ADisabledButtonIsNeverHot) {
  Show();
  actions[0]->OnExecute = nullptr;
  actions[0]->SetEnabled(false);
  TCustomActionControl* b = Button(0);
  Hover(b);
  b->Invalidate();
  EXPECT_EQ(Pixel(b, 0, b->Height() / 2), Pixel(toolBar, b->Left(), 0));
}

TEST_F(ButtonPaintTest, TheDropDownDividerIsTenPixelsFromTheRight) {
  TActionClientItem* drop = AddItem(ToolItems(), Action("Ещё", 3), false);
  AddItem(drop->Items(), actions[0]);
  Show();
  TCustomActionControl* b = Button(3);
  ASSERT_TRUE(b->Is<TZelStyleDropDownBtn>());
  Hover(b);
  Picture("zel_toolbar_dropdown_hot");
  const TColor frame = ColorToRGB(kFrame);
  const int w = b->Width(), y = 3;
  EXPECT_EQ(Pixel(b, w - 10, y), frame);
  EXPECT_NE(Pixel(b, w - 11, y), frame);
  EXPECT_NE(Pixel(b, w - 9, y), frame);
}

TEST_F(ButtonPaintTest, BarsOffAGradientControlBarOrInAnotherStylePaintTheirBase) {
  Show();
  const TColor gradient = Pixel(toolBar, 0, 0);
  const TColor base = ColorToRGB(toolBar->ColorMap()->Color());
  ASSERT_NE(gradient, base);
  controlBar->SetDrawingStyle(TBandDrawingStyle::dsNormal);
  toolBar->Invalidate();
  menuBar->Invalidate();
  EXPECT_EQ(Pixel(toolBar, 0, 0), base);
  EXPECT_EQ(Pixel(menuBar, 0, 0), ColorToRGB(menuBar->ColorMap()->Color()));
  controlBar->SetDrawingStyle(dsGradient);
  manager->SetStyleName("XP Style");
  app->ProcessMessages();
  EXPECT_EQ(Pixel(toolBar, 0, 0), ColorToRGB(toolBar->ColorMap()->Color()));
  manager->SetStyleName("Zel Style");
  app->ProcessMessages();
  EXPECT_EQ(Pixel(toolBar, 0, 0), gradient);
}

TEST_F(ButtonPaintTest, TheScrollButtonShowsTheChevronWhileItemsAreHidden) {
  Show();
  manager->FindActionBar(toolBar)->SetAutoSize(false);
  toolBar->SetWidth(Button(0)->Width() + 20);
  app->ProcessMessages();
  ASSERT_GT(toolBar->HiddenCount(), 0);
  TCustomActionControl* scroll = toolBar->ScrollButton();
  ASSERT_NE(scroll, nullptr);
  ASSERT_TRUE(scroll->Is<TZelToolScrollBtn>());
  Picture("zel_toolbar_scroll");
  TColor dark, light;
  TextShadowColors(scroll, dark, light);
  // The chevron's strokes start at (width / 2 - 3, 3); the arrow of size 2
  // stands 8 pixels above the bottom.
  auto darkPixels = [&](int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < scroll->Width(); ++x)
        n += Pixel(scroll, x, y) == ColorToRGB(dark);
    return n;
  };
  EXPECT_GT(darkPixels(3, 12), 4) << "chevron";
  EXPECT_GT(darkPixels(scroll->Height() - 8, scroll->Height() - 5), 1) << "arrow";
  // Nothing hidden: the tool bar puts the button away; shown all the same,
  // it has its arrow but no chevron.
  toolBar->SetWidth(400);
  app->ProcessMessages();
  ASSERT_EQ(toolBar->HiddenCount(), 0);
  EXPECT_FALSE(scroll->Visible());
  scroll->SetVisible(true);
  scroll->Invalidate();
  EXPECT_EQ(darkPixels(3, 12), 0) << "chevron";
  EXPECT_GT(darkPixels(scroll->Height() - 8, scroll->Height() - 5), 1) << "arrow";
}

} // namespace
} // namespace zel
