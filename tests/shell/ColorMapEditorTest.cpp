// The colour-map editor docked in the main window, used as a person uses
// it: the glyph size dragged on its track bar, the colour maps and styles
// switched with its buttons and menu, a colour edited in its grid.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/UnitFrameColorMap.h"
#include "docking/UnitFrameSite.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/PopupActnBar.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/ControlBar.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/TrackBar.h"
#include "imagelist/ImageListZel.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/WindowSystem.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"
#include "speedbutton/SpeedButtonZel.h"
#include "tests/shell/MainWindowFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class ColorMapEditorTest : public MainWindowFixture {
protected:
  void SetUp() override {
    // Tall enough for the whole editor with a few rows of its grid.
    StartMainWindow([this] { form->SetBounds(10, 10, 820, 760); });
    editor = form->ColorMapFrame();
  }
  // Drags the track bar's thumb to the pixel of a position.
  void DragThumbTo(int position) {
    TTrackBar* bar = editor->TrackBar1;
    const RECT thumb = bar->ThumbRect();
    const POINT from =
        bar->ClientToScreen(POINT{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2});
    const POINT to =
        bar->ClientToScreen(POINT{bar->PositionToPixel(position), (thumb.top + thumb.bottom) / 2});
    AdvanceTime(1000);
    screen->Drag(from.x, from.y, to.x, to.y);
    Settle();
  }
  TFrameColorMap* editor = nullptr;
};

// The thumb dragged to the right end and back to the left: the glyphs
// follow, the label shows the size and the bars are rebuilt with the row
// size rule.
TEST_F(ColorMapEditorTest, DraggingTheTrackBarRebuildsTheBars) {
  EXPECT_EQ(editor->Name(), "FrameColorMap1");
  EXPECT_EQ(editor->HostDockSite(), form->FrameSite1);
  EXPECT_EQ(editor->ActionManager(), form->ActionManager1);
  for (int size : {32, 10}) {
    SCOPED_TRACE(size);
    DragThumbTo(size);
    EXPECT_EQ(form->ImageListZel1->Width(), size);
    EXPECT_EQ(form->ImageListZel1->Height(), size);
    EXPECT_EQ(editor->lSize->Caption(), std::to_string(size));
    TCustomActionMainMenuBar* menu = form->GradientActionMainMenuBar1;
    ASSERT_GT(menu->ActionControlCount(), 0);
    const int row = menu->ActionControls(0)->Height() + 6;
    EXPECT_EQ(form->ControlBar1->RowSize(), row);
    EXPECT_EQ(form->GradientActionToolBar1->Height(), row - 5);
    EXPECT_GE(form->GradientActionToolBar1->ActionControls(0)->Height(), size);
    if (size == 32) Picture("shell_editor_glyphs_32");
  }
}

// All three maps from their buttons, a style from the style menu, and a
// colour chosen in the grid's drop-down box.
TEST_F(ColorMapEditorTest, MapsStylesAndColoursChangeTheBars) {
  for (TSpeedButtonZel* b :
       {editor->SpeedButtonZel1, editor->SpeedButtonZel3, editor->SpeedButtonZel2}) {
    ClickOn(b);
    EXPECT_EQ(form->GradientActionMainMenuBar1->ColorMap(), editor->CurrentColorMap());
    EXPECT_EQ(form->GradientActionToolBar1->ColorMap(), editor->CurrentColorMap());
    if (b == editor->SpeedButtonZel3) Picture("shell_editor_twilight");
  }
  EXPECT_EQ(editor->CurrentColorMap(), editor->XPColorMap1);

  ClickOn(editor->sbStyle);
  TCustomActionPopupMenu* popup = editor->StyleMenu()->PopupBar();
  ASSERT_NE(popup, nullptr);
  ASSERT_GT(popup->ActionControlCount(), 0);
  ClickOn(popup->ActionControls(0));
  Settle();
  const std::string first = editor->StyleMenu()->Items()->Items(0)->Caption();
  EXPECT_EQ(editor->StyleName(), first);
  EXPECT_EQ(form->ActionManager1->StyleName(), first);

  TValueListEditor* grid = editor->ValueListEditor1;
  int row = -1;
  ASSERT_TRUE(grid->FindRow("Color", row));
  const RECT cell = grid->CellRect(1, row);
  ClickAt(grid, cell.left + 10, (cell.top + cell.bottom) / 2);
  TColorBox* box = editor->ColorEditor();
  ASSERT_TRUE(box && box->Visible());
  ClickOn(box);
  TComboListWindow* list = box->ListWindow();
  ASSERT_TRUE(list && box->DroppedDown());
  const int cream = box->Items()->IndexOf("Кремовый");
  list->SetHotIndex(cream);
  const RECT item = list->ItemRect(cream);
  ClickAt(list, item.left + 20, (item.top + item.bottom) / 2);
  Settle();
  EXPECT_EQ(form->ControlBar1->Color(), clCream);
  EXPECT_EQ(grid->Cells(1, row), "Кремовый");
  EXPECT_TRUE(box->Visible());
  Picture("shell_editor_grid_edit");
}

} // namespace
} // namespace zel::test
