// Splitters resizing their neighbours, labels fitting their text and
// handing on their accelerator, and the containers' client areas.

#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/Splitter.h"
#include "tests/framework/stdctrls/StdCtrlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class SplitterTest : public StdCtrlsTest {
protected:
  // A panel on the given side, the splitter beside it and a client panel.
  void Build(TAlign side) {
    side_ = side;
    panel = new TPanel(form);
    panel->SetBounds(0, 0, 120, 120);
    panel->SetAlign(side);
    panel->SetParent(form);
    splitter = new TSplitter(form);
    splitter->SetAlign(side);
    splitter->SetParent(form);
    // Placed beyond the panel so that alignment puts it beside the panel.
    if (side == alLeft) splitter->SetLeft(200);
    if (side == alRight) splitter->SetLeft(0);
    if (side == alTop) splitter->SetTop(200);
    client = new TPanel(form);
    client->SetAlign(alClient);
    client->SetParent(form);
    Pump();
  }
  // The middle of the splitter.
  POINT Middle() { return POINT{splitter->Width() / 2, splitter->Height() / 2}; }
  void DragBy(int dx, int dy) {
    const POINT m = Middle();
    Drag(splitter, m.x, m.y, m.x + dx, m.y + dy);
  }
  TAlign side_ = alLeft;
  TPanel* panel = nullptr;
  TSplitter* splitter = nullptr;
  TPanel* client = nullptr;
};

TEST_F(SplitterTest, SitsBesideItsControlAndResizesItLive) {
  Build(alLeft);
  EXPECT_EQ(splitter->Left(), 120);
  EXPECT_EQ(splitter->FindControl(), panel);
  int moves = 0;
  std::vector<int> widths;
  splitter->OnMoved = [&](TObject*) { ++moves; };
  panel->OnResize = [&](TObject*) { widths.push_back(panel->Width()); };
  DragBy(60, 0);
  EXPECT_EQ(panel->Width(), 180);
  EXPECT_EQ(splitter->Left(), 180);
  EXPECT_EQ(client->Left(), 183);
  EXPECT_GT(widths.size(), 1u); // it followed the pointer, not only at the end
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(splitter->Cursor(), crHSplit);
}

TEST_F(SplitterTest, KeepsTheControlAndTheFreeSpaceAtLeastMinSize) {
  Build(alLeft);
  splitter->SetMinSize(40);
  DragBy(-500, 0);
  EXPECT_EQ(panel->Width(), 40);
  DragBy(1000, 0);
  // The client panel keeps MinSize of the form's client width.
  EXPECT_EQ(client->Width(), 40);
  EXPECT_EQ(panel->Width() + splitter->Width() + client->Width(), form->ClientWidth());
}

TEST_F(SplitterTest, RightAlignedSplitterOnePixelOffStillFindsItsControl) {
  Build(alRight);
  EXPECT_EQ(splitter->Left() + splitter->Width(), panel->Left());
  // Its owner may place it one pixel off the control's edge.
  splitter->SetLeft(panel->Left() - splitter->Width() - 1);
  EXPECT_EQ(splitter->FindControl(), panel);
  const int before = panel->Width();
  DragBy(-30, 0);
  EXPECT_EQ(panel->Width(), before + 30);
}

TEST_F(SplitterTest, TopSplitterUsesTheVerticalCursorAndHeights) {
  Build(alTop);
  EXPECT_EQ(splitter->Cursor(), crVSplit);
  DragBy(0, 25);
  EXPECT_EQ(panel->Height(), 145);
}

TEST_F(SplitterTest, LineStyleResizesOnlyAtTheRelease) {
  Build(alLeft);
  splitter->SetResizeStyle(rsLine);
  int resizes = 0;
  panel->OnResize = [&](TObject*) { ++resizes; };
  DragBy(30, 0);
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(panel->Width(), 150);
}

TEST_F(SplitterTest, PatternStyleShowsABarWhileDraggingAndTakesItAway) {
  Build(alLeft);
  splitter->SetResizeStyle(rsPattern);
  form->Repaint();
  const POINT m = Middle();
  const POINT a = At(splitter, m.x, m.y);
  const POINT probe = At(form, 150, 50);
  const COLORREF before = screen->ScreenPixel(probe.x, probe.y);
  screen->Press(a.x, a.y);
  screen->MoveTo(a.x + 30, a.y);
  // The hatched bar shows over the client panel.
  EXPECT_NE(screen->ScreenPixel(probe.x + 1, probe.y), screen->ScreenPixel(probe.x + 2, probe.y));
  EXPECT_EQ(panel->Width(), 120);
  screen->Release(a.x + 30, a.y);
  Pump();
  EXPECT_EQ(panel->Width(), 150);
  EXPECT_EQ(screen->ScreenPixel(probe.x + 10, probe.y), before); // and goes
}

TEST_F(SplitterTest, HiddenSplitterOrOneWithoutNeighbourDoesNothing) {
  Build(alLeft);
  panel->SetVisible(false);
  Pump();
  EXPECT_EQ(splitter->FindControl(), nullptr);
  const int before = client->Width();
  DragBy(30, 0);
  EXPECT_EQ(client->Width(), before);
}

class LabelTest : public StdCtrlsTest {};

TEST_F(LabelTest, AutoSizeFitsTheTextAndAmpersandsDoNotCount) {
  auto* label = Put<TLabel>(10, 10, 10, 10);
  label->SetCaption("Размер");
  const int w1 = label->Width();
  EXPECT_GT(w1, 20);
  EXPECT_GT(label->Height(), 8);
  label->SetCaption("&Размер");
  EXPECT_EQ(label->Width(), w1); // the prefix takes no room
  label->SetCaption("Размер картинок");
  EXPECT_GT(label->Width(), w1);
  label->SetAutoSize(false);
  label->SetCaption("x");
  EXPECT_GT(label->Width(), w1);
  label->SetAutoSize(true);
  label->SetCaption("");
  EXPECT_GT(label->Height(), 8); // an empty label keeps one line's height
}

TEST_F(LabelTest, RightAlignedAutoSizeKeepsTheRightEdge) {
  auto* label = Put<TLabel>(10, 10, 100, 10);
  label->SetAutoSize(false);
  label->SetAlignment(taRightJustify);
  label->SetAutoSize(true);
  const int right = label->Left() + label->Width();
  label->SetCaption("много текста");
  EXPECT_EQ(label->Left() + label->Width(), right);
}

TEST_F(LabelTest, WordWrapKeepsTheWidthAndGrowsDown) {
  auto* label = Put<TLabel>(10, 10, 60, 10);
  label->SetWordWrap(true);
  label->SetWidth(60);
  label->SetCaption("one two three four five six");
  EXPECT_EQ(label->Width(), 60);
  EXPECT_GT(label->Height(), 30);
}

TEST_F(LabelTest, AcceleratorFocusesItsControl) {
  auto* panel = Put<TPanel>(10, 60, 100, 40);
  panel->SetTabStop(true);
  auto* label = Put<TLabel>(10, 10, 10, 10);
  label->SetCaption("&Цвет");
  label->SetFocusControl(panel);
  EXPECT_EQ(label->AccelChar(), U'ц');
  EXPECT_FALSE(DispatchDialogChar(form, U'x'));
  EXPECT_TRUE(DispatchDialogChar(form, U'Ц'));
  Pump();
  EXPECT_TRUE(panel->Focused());
  label->SetCaption("A && B");
  EXPECT_EQ(label->AccelChar(), 0u);
  label->SetCaption("&Цвет");
  label->SetShowAccelChar(false);
  EXPECT_EQ(label->AccelChar(), 0u);
  // A freed focus control is forgotten.
  label->SetShowAccelChar(true);
  delete panel;
  EXPECT_EQ(label->FocusControl(), nullptr);
  EXPECT_FALSE(DispatchDialogChar(form, U'ц'));
}

TEST_F(LabelTest, PaintsItsTextInTheFontColour) {
  auto* label = Put<TLabel>(10, 10, 10, 10);
  label->SetCaption("ЖЖЖ");
  label->Font()->SetColor(clRed);
  label->Font()->SetHeight(-20);
  form->Repaint();
  Pump();
  int red = 0;
  for (int y = 0; y < label->Height(); ++y)
    for (int x = 0; x < label->Width(); ++x) {
      const POINT p = At(label, x, y);
      if (screen->ScreenPixel(p.x, p.y) == 0x0000FF) ++red;
    }
  EXPECT_GT(red, 20);
}

class PanelTest : public StdCtrlsTest {};

TEST_F(PanelTest, BevelsAndGroupCaptionNarrowTheClientArea) {
  auto* panel = Put<TPanel>(10, 10, 200, 100);
  auto* inner = new TPanel(form);
  inner->SetAlign(alClient);
  inner->SetParent(panel);
  panel->SetPanelBevelInner(bvLowered);
  Pump();
  EXPECT_EQ(inner->BoundsRect(), (RECT{2, 2, 198, 98}));
  auto* box = Put<TGroupBox>(10, 120, 200, 100);
  box->SetCaption("Градиент");
  auto* child = new TPanel(form);
  child->SetAlign(alClient);
  child->SetParent(box);
  Pump();
  EXPECT_GT(child->Top(), 8); // below the caption
  EXPECT_LT(child->Top(), 25);
  EXPECT_EQ(child->Left(), 2);
}

} // namespace
} // namespace zel::test
