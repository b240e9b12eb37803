// A form holding one of each standard control, written as a picture to
// look at, with probes of what must show.

#include <filesystem>

#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/Grids.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/ScrollBar.h"
#include "framework/stdctrls/Splitter.h"
#include "framework/stdctrls/TrackBar.h"
#include "framework/stdctrls/ValueListEditor.h"
#include "tests/framework/stdctrls/StdCtrlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class FormPictureTest : public StdCtrlsTest {
protected:
  template <class T> T* Make(TWinControl* parent, int x, int y, int w, int h) {
    auto* c = new T(form);
    c->SetBounds(x, y, w, h);
    c->SetParent(parent);
    return c;
  }
  TLabel* Text(TWinControl* parent, int x, int y, const char* caption) {
    auto* l = new TLabel(form);
    l->SetLeft(x);
    l->SetTop(y);
    l->SetCaption(caption);
    l->SetParent(parent);
    return l;
  }
};

TEST_F(FormPictureTest, OneOfEach) {
  form->SetCaption("Стандартные элементы");
  form->SetColor(clBtnFace);
  form->SetClientSize(620, 400);

  auto* side = Make<TPanel>(form, 0, 0, 210, 400);
  side->SetAlign(alLeft);
  side->SetPanelBevelOuter(bvNone);
  auto* splitter = new TSplitter(form);
  splitter->SetLeft(300);
  splitter->SetParent(form);

  Text(side, 10, 10, "Размер картинок:");
  auto* size = Text(side, 170, 10, "24");
  (void)size;
  auto* track = Make<TTrackBar>(side, 4, 28, 200, 36);
  track->SetParams(24, 10, 32);
  track->SetTickMarks(tmTopLeft);
  track->SetThumbLength(14);
  track->SetPageSize(4);

  auto* box = Make<TGroupBox>(side, 6, 72, 198, 124);
  box->SetCaption("Градиентная заливка");
  auto* startLabel = Text(box, 10, 22, "&Начальный цвет");
  auto* start = Make<TColorBox>(box, 10, 38, 178, 22);
  start->SetStyle(TColorBoxStyle{cbStandardColors, cbExtendedColors, cbSystemColors, cbIncludeNone,
                                 cbIncludeDefault, cbCustomColor, cbPrettyNames});
  start->SetSelected(clSkyBlue);
  startLabel->SetFocusControl(start);
  Text(box, 10, 68, "Конечный цвет");
  auto* end = Make<TColorBox>(box, 10, 84, 178, 22);
  end->SetStyle(start->Style());
  end->SetSelected(clNavy);

  Text(side, 10, 206, "Стиль:");
  auto* combo = Make<TComboBox>(side, 10, 222, 194, 21);
  combo->SetStyle(csDropDownList);
  for (const char* s : {"Zel Style", "XP Style", "Standard"})
    combo->Items()->Add(s);
  combo->SetItemIndex(1);

  auto* note = Make<TPanel>(side, 10, 254, 194, 60);
  note->SetPanelBevelOuter(bvLowered);
  note->SetCaption("Панель с рамкой");
  auto* bar = Make<TScrollBar>(side, 10, 324, 194, 17);
  bar->SetParams(30, 0, 100);
  bar->SetPageSize(20);

  auto* status = Make<TPanel>(form, 0, 0, 100, 24);
  status->SetAlign(alBottom);
  status->SetAlignment(taLeftJustify);
  status->SetCaption(" Готово");

  auto* grid = Make<TValueListEditor>(form, 0, 0, 100, 100);
  grid->SetAlign(alClient);
  grid->TitleCaptions()->Clear();
  grid->TitleCaptions()->Add("Элемент");
  grid->TitleCaptions()->Add("Цвет");
  grid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                goDrawFocusSelected, goColSizing, goThumbTracking});
  const std::pair<const char*, TColor> colours[] = {{"ShadowColor", clGray},
                                                    {"Color", clBtnFace},
                                                    {"DisabledColor", clSilver},
                                                    {"FontColor", clBlack},
                                                    {"HighlightColor", clWhite},
                                                    {"HotColor", clSkyBlue},
                                                    {"HotFontColor", clNavy},
                                                    {"MenuColor", clWindow},
                                                    {"BtnFrameColor", clMaroon},
                                                    {"SelectedColor", clCream},
                                                    {"UnusedColor", clMoneyGreen},
                                                    {"FrameTopLeftInner", clTeal},
                                                    {"FrameTopLeftOuter", clOlive},
                                                    {"SelectedFontColor", clPurple},
                                                    {"FrameBottomRightInner", clGreen},
                                                    {"FrameBottomRightOuter", clYellow},
                                                    {"DisabledFontColor", clGrayText},
                                                    {"DisabledFontShadow", clBtnHighlight},
                                                    {"BtnSelectedColor", clBtnFace},
                                                    {"BtnSelectedFont", clWindowText},
                                                    {"MenuBarColor", clMenuBar},
                                                    {"HotLightColor", clHotLight},
                                                    {"AquaColor", clAqua},
                                                    {"LimeColor", clLime}};
  for (auto& [name, c] : colours)
    grid->Strings()->AddData(std::string(name) + "=" + TCustomColorBox::PrettyName(c), intptr_t(c));
  grid->OnDrawCell = [grid](TObject*, int col, int row, const RECT& rect, TGridDrawState) {
    if (row == 0 || col != 1) return;
    TCanvas* cv = grid->Canvas();
    cv->FillRect(rect);
    const TColor c = TColor(grid->Strings()->GetData(row - 1));
    RECT swatch{rect.left + 3, rect.top + 3, rect.left + rect.Height() - 1, rect.bottom - 3};
    const TColor keep = cv->Brush()->Color();
    cv->Brush()->SetColor(c);
    cv->FillRect(swatch);
    cv->Brush()->SetColor(clBlack);
    cv->FrameRect(swatch);
    cv->Brush()->SetColor(keep);
    RECT text{swatch.right + 5, rect.top, rect.right, rect.bottom};
    DrawCellText(cv, text, grid->Strings()->ValueFromIndex(row - 1));
  };
  Pump();
  grid->SetColWidths(0, 150);
  grid->SetColWidths(1, grid->GridRect().Width() - 151);
  grid->SetRow(3);
  grid->SetCol(1);
  grid->SetFocus();
  Pump();
  form->Repaint();
  Pump();

  // What must show: the splitter beside the side panel, the grid filling
  // the rest above the status bar, the selected cell highlighted.
  EXPECT_EQ(splitter->Left(), 210);
  EXPECT_EQ(grid->Left(), 213);
  EXPECT_EQ(grid->Top() + grid->Height(), status->Top());
  const RECT cell = grid->CellRect(1, 3);
  const POINT in = At(grid, cell.right - 5, (cell.top + cell.bottom) / 2);
  EXPECT_EQ(screen->ScreenPixel(in.x, in.y), GetSysColor(COLOR_HIGHLIGHT));

  std::filesystem::create_directories(std::string(ZEL_BINARY_DIR) + "/pictures");
  EXPECT_TRUE(screen->SaveWindowShot(form->Handle(), PicturePath("stdctrls_form.png")));

  // And with the colour list open.
  start->SetFocus();
  Pump();
  start->SetDroppedDown(true);
  Pump();
  EXPECT_TRUE(screen->SaveScreenshot(PicturePath("stdctrls_colorbox_open.png")));
  start->SetDroppedDown(false);
}

} // namespace
} // namespace zel::test
